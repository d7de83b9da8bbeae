// The picture view of the main window: the tables built at start-up, the
// palette button, walls and sprites in both view modes, the sound plot, the
// ceiling spin edit, the read-out under the pointer and the bitmap writer's
// redraw.
#include "app/widgets/spin_edit.h"
#include "tests/gui/display_fixture.h"
#include "tests/support/game_ceilings.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>

#include <array>
#include <filesystem>
#include <sstream>

namespace pagelark::testing {
namespace {

// Rows of the list: a patterned wall, a wall of index 7, a sprite bar of
// index 4 in column 20 (rows 10..20), a sprite chunk without a sprite, and
// a 50-byte sound whose every sample is 100.
enum Row { PatternWallRow, PlainWallRow, BarSpriteRow, EmptySpriteRow, SoundRow };
constexpr std::uint8_t SoundSample = 100;

std::vector<std::uint8_t> pictureVswap()
{
    return tools::VswapWriter()
        .wall(patternWall())
        .wall(chunkOf(4096, 7))
        .sprite(spriteBar(20, 4))
        .sprite(spriteWithoutColumns())
        .soundPage(chunkOf(50, SoundSample))
        .sound(0, 50)
        .build();
}

std::uint8_t barSpriteCell(int x, int y, bool background, std::uint8_t ceiling)
{
    if (x == 20 && y >= 10 && y <= 20)
        return 4;
    if (!background)
        return 255;
    return y < 32 ? ceiling : 25;
}

// A palette file: three header lines, then "R G B" for each colour.
std::string paletteText(const std::vector<std::array<int, 3>>& colors)
{
    std::ostringstream text;
    text << "JASC-PAL\n0100\n256\n";
    for (const auto& color : colors)
        text << color[0] << ' ' << color[1] << ' ' << color[2] << '\n';
    return text.str();
}

// Every colour of this palette differs from every game colour (7 is no
// multiple of 4) and from every other colour of its own.
PackedColor otherColor(int index)
{
    return packColor(static_cast<std::uint32_t>(index), static_cast<std::uint32_t>(255 - index), 7);
}

std::string otherPaletteText()
{
    std::vector<std::array<int, 3>> colors;
    for (int i = 0; i < 256; ++i)
        colors.push_back({i, 255 - i, 7});
    return paletteText(colors);
}

class PictureViewTest : public DisplayTest {
protected:
    void openPictures() { openFile(userFile("VSWAP.WL6", pictureVswap())); }

    ::testing::AssertionResult showsPatternWall(bool background, PackedColor ceiling)
    {
        const Palette palette = form().state().palette;
        return viewMatches(
            view(), [&](int x, int y) { return expectedWallPixel(x, y, background, ceiling, palette, patternCell); });
    }

    ::testing::AssertionResult showsBarSprite(bool background, std::uint8_t ceiling)
    {
        const Palette palette = form().state().palette;
        return viewMatches(view(),
                           [&](int x, int y) { return palette[barSpriteCell(x / 5, y / 5, background, ceiling)]; });
    }

    // Types into the ceiling field as the user does, replacing its text.
    void typeCeiling(const QString& text)
    {
        QLineEdit* field = form().spe1->lineEdit();
        field->selectAll();
        QTest::keyClicks(field, text);
    }

    void leaveCeilingField()
    {
        QFocusEvent leaving(QEvent::FocusOut);
        QApplication::sendEvent(form().spe1->lineEdit(), &leaving);
    }

    PackedColor ceilingShown() { return view().pixel(0, 0); }
};

TEST_F(PictureViewTest, StartUpLoadsTheGamePaletteMatchesTheCeilingColoursAndLeavesNoTemporaryFile)
{
    const ProgramState& state = form().state();
    EXPECT_TRUE(platform.errors.empty());
    EXPECT_EQ(state.palette[0], packColor(0, 0, 0));
    EXPECT_EQ(state.palette[25], 7368816u);  // (112, 112, 112), the floor
    EXPECT_EQ(state.palette[29], packColor(56, 56, 56));
    EXPECT_EQ(state.palette[255], packColor(152, 0, 136));
    EXPECT_EQ(state.palette[7], state.palette[21]);
    EXPECT_EQ(state.ceilingColors, GameCeilingIndices);

    // The bitmap head: "BM", 5174 bytes, pixels at 1078, the game palette as colour table.
    const BmpHeaderTemplate& header = state.bmpHeader;
    EXPECT_EQ(header[0], 'B');
    EXPECT_EQ(header[1], 'M');
    EXPECT_EQ(header[2] + 256 * header[3], 5174);
    EXPECT_EQ(header[10] + 256 * header[11], 1078);
    EXPECT_EQ(header[28], 8);
    for (std::size_t component = 0; component < 3; ++component)
        EXPECT_EQ(header[54 + 4 * 25 + component], 112);

    EXPECT_FALSE(std::filesystem::exists(platform.dir.file("temp.bmp")));
}

TEST_F(PictureViewTest, MissingDefaultPaletteIsReportedAndTheWindowStillWorks)
{
    std::filesystem::remove(platform.dir.file("wolfenstein.pal"));
    platform.tickStep = 7;
    TForm1& window = form();

    EXPECT_EQ(platform.errors, std::vector<std::string>{"File not found"});
    EXPECT_EQ(window.state().speedProbe, 0);
    EXPECT_EQ(window.state().palette, Palette{});
    EXPECT_EQ(window.state().bmpHeader, referenceBitmapHeader());

    openPictures();
    EXPECT_EQ(window.ListBox1->count(), 5);
    EXPECT_TRUE(shown(window.cb1));
    EXPECT_EQ(view().pixel(0, 0), 0u);  // every colour is black

    // The ceiling table still holds colours, not indices: every use of it
    // must stay inside the palette.
    clickPicture();
    clickRow(BarSpriteRow);
    for (int value = 10; value <= 69; ++value)
        window.spe1->setValue(value);
    window.cb1->setCurrentIndex(2);
    for (int value = 70; value <= 90; ++value)
        window.spe1->setValue(value);
    EXPECT_EQ(platform.errors.size(), 1u);
    EXPECT_EQ(view().pixel(0, 0), 0u);
}

TEST_F(PictureViewTest, NewPaletteAsksForAPaletteFileAndCancellingChangesNothing)
{
    openPictures();
    TForm1& window = form();
    const Palette before = window.state().palette;
    markView();
    platform.cancelOpen();
    window.SpeedButton2->click();

    ASSERT_EQ(platform.openRequests.size(), 2u);
    const OpenDialogRequest& request = platform.openRequests.back();
    EXPECT_EQ(request.title, "");
    EXPECT_EQ(filterPairs(request.filters), (FilterPairs{{"Palette file", "*.pal"}}));
    EXPECT_EQ(request.startDirectory, "");

    EXPECT_EQ(window.state().palette, before);
    EXPECT_TRUE(viewMatches(view(), [](int, int) { return Marker; }));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(PictureViewTest, NewPaletteColoursTheNextDrawingButNeitherThePictureShownNorSavedBitmaps)
{
    openPictures();
    TForm1& window = form();
    const std::vector<PackedColor> shownBefore = viewPixels();
    const BmpHeaderTemplate headerBefore = window.state().bmpHeader;
    const CeilingColorTable ceilingBefore = window.state().ceilingColors;

    writeFileText(userDir.file("other.pal"), otherPaletteText());
    platform.answerOpen(userDir.file("other.pal"));
    window.SpeedButton2->click();

    EXPECT_TRUE(platform.errors.empty());
    for (int i = 0; i < 256; ++i)
        EXPECT_EQ(color(i), otherColor(i)) << "entry " << i;
    EXPECT_EQ(viewPixels(), shownBefore);
    EXPECT_EQ(window.state().ceilingColors, ceilingBefore);
    EXPECT_EQ(window.state().bmpHeader, headerBefore);

    // The next drawing is in the new colours; the ceiling is the new colour
    // at the index found at start-up.
    clickPicture();
    EXPECT_TRUE(showsPatternWall(true, otherColor(29)));
    window.spe1->setValue(19);
    EXPECT_TRUE(showsPatternWall(true, otherColor(191)));

    // A bitmap written now still carries the game palette.
    const std::string saved = userDir.file("wall.bmp");
    window.WriteBitmapFile(saved);
    const std::vector<std::uint8_t> bytes = readFileBytes(saved);
    ASSERT_EQ(bytes.size(), 5174u);
    EXPECT_TRUE(std::equal(headerBefore.begin(), headerBefore.end(), bytes.begin()));
    EXPECT_EQ(bytes[54 + 4 * 25], 112);
}

TEST_F(PictureViewTest, BadPaletteLineIsReportedAndKeepsTheColoursReadBeforeIt)
{
    TForm1& window = form();
    const Palette before = window.state().palette;
    writeFileText(userDir.file("bad.pal"), "JASC-PAL\n0100\n256\n1 2 3\n4 5 6\nseven 8 9\n10 11 12\n");
    platform.answerOpen(userDir.file("bad.pal"));
    window.SpeedButton2->click();

    EXPECT_EQ(platform.errors, std::vector<std::string>{"Invalid numeric input"});
    EXPECT_EQ(color(0), packColor(1, 2, 3));
    EXPECT_EQ(color(1), packColor(4, 5, 6));
    for (int i = 2; i < 256; ++i)
        EXPECT_EQ(color(i), before[static_cast<std::size_t>(i)]) << "entry " << i;
}

TEST_F(PictureViewTest, WallIsDrawnInBlocksOfFiveAndAClickShowsItAgainstCeilingAndFloor)
{
    openPictures();
    TForm1& window = form();
    EXPECT_FALSE(window.state().viewMode);
    EXPECT_TRUE(showsPatternWall(false, 0));

    clickPicture();
    EXPECT_TRUE(window.state().viewMode);
    EXPECT_TRUE(showsPatternWall(true, color(29)));
    EXPECT_TRUE(platform.errors.empty());

    // The mode stays for the next selection and the next file.
    clickRow(PlainWallRow);
    EXPECT_TRUE(window.state().viewMode);
    const auto allSeven = [](int, int) -> std::uint8_t { return 7; };
    EXPECT_TRUE(viewMatches(view(), [&](int x, int y) {
        return expectedWallPixel(x, y, true, color(29), window.state().palette, allSeven);
    }));
    openFile(userFile("VSWAP.SOD", twoWallVswap()));
    EXPECT_TRUE(window.state().viewMode);
    EXPECT_EQ(view().pixel(319, 0), color(29));
    EXPECT_EQ(view().pixel(0, 319), color(25));

    clickPicture();
    EXPECT_FALSE(window.state().viewMode);
    EXPECT_EQ(view().pixel(0, 0), color(9));
}

TEST_F(PictureViewTest, SpriteIsDrawnFiveTimesOverIndex255OrOverCeilingAndFloor)
{
    openPictures();
    clickRow(BarSpriteRow);
    EXPECT_TRUE(showsBarSprite(false, 29));
    clickPicture();
    EXPECT_TRUE(form().state().viewMode);
    EXPECT_TRUE(showsBarSprite(true, 29));
    clickPicture();
    EXPECT_TRUE(showsBarSprite(false, 29));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(PictureViewTest, SpriteChunkWithoutASpriteLeavesTheViewClearedWhileItsFactsAreShown)
{
    openPictures();
    TForm1& window = form();
    clickRow(EmptySpriteRow);
    const PackedColor face = windowColor();
    EXPECT_TRUE(viewMatches(view(), [&](int, int) { return face; }));
    EXPECT_EQ(window.Label1->text(), "1");
    EXPECT_EQ(window.Edit1->text(), "8");
    EXPECT_EQ(window.Edit2->text(), QString::number(window.state().chunks.offset[EmptySpriteRow]));
    EXPECT_TRUE(shown(window.Panel2));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(PictureViewTest, SoundIsPlottedAndAClickRedrawsItWithoutChangingTheViewMode)
{
    openPictures();
    TForm1& window = form();
    clickRow(SoundRow);

    // Every sample is 100: the points lie on row 187 of the black band.
    const PackedColor face = windowColor();
    const auto plotted = [&](int x, int y) {
        if (y < 32 || y >= 288)
            return view().pixel(x, y) == face;
        const PackedColor pixel = view().pixel(x, y);
        return pixel == packColor(0, 0, 0) || (y == 287 - SoundSample && pixel == packColor(255, 255, 255));
    };
    const auto plotShown = [&] {
        int points = 0;
        for (int y = 0; y < 320; ++y)
            for (int x = 0; x < 320; ++x) {
                if (!plotted(x, y))
                    return false;
                points += view().pixel(x, y) == packColor(255, 255, 255) ? 1 : 0;
            }
        return points > 0;
    };
    EXPECT_TRUE(plotShown());

    markView();
    clickPicture();
    EXPECT_FALSE(window.state().viewMode);
    EXPECT_TRUE(plotShown());

    window.state().viewMode = true;
    clickPicture();
    EXPECT_TRUE(window.state().viewMode);
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(PictureViewTest, CeilingSpinEditRedrawsInTheChosenCeilingColourAndNamesTheLevel)
{
    openPictures();
    TForm1& window = form();
    clickPicture();

    const std::vector<std::pair<int, QString>> wolfLevels{{19, "1:10"}, {69, "6:10"}, {36, "3:7"}, {10, "1:1"}};
    for (const auto& [value, level] : wolfLevels) {
        window.spe1->setValue(value);
        EXPECT_EQ(window.Label8->text(), level);
        EXPECT_TRUE(showsPatternWall(true, color(GameCeilingIndices[static_cast<std::size_t>(value - 10)])))
            << "ceiling value " << value;
    }
    // The user's own step with the arrow key.
    QTest::keyClick(window.spe1->lineEdit(), Qt::Key_Up);
    EXPECT_EQ(window.Label8->text(), "1:2");

    window.cb1->setCurrentIndex(2);
    EXPECT_EQ(window.Label8->text(), "1");
    EXPECT_EQ(ceilingShown(), color(111));
    window.spe1->setValue(90);
    EXPECT_EQ(window.Label8->text(), "21");
    EXPECT_EQ(ceilingShown(), color(220));

    // A sprite over its background takes the ceiling colour too.
    clickRow(BarSpriteRow);
    EXPECT_TRUE(showsBarSprite(true, 220));
    window.spe1->setValue(75);
    EXPECT_EQ(window.Label8->text(), "6");
    EXPECT_TRUE(showsBarSprite(true, 46));
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(PictureViewTest, TypedCeilingValueOutsideTheRangeTakesTheNearestEndUntilTheFieldIsLeft)
{
    openPictures();
    TForm1& window = form();
    clickPicture();

    typeCeiling("95");
    EXPECT_EQ(window.spe1->text(), "95");
    EXPECT_EQ(window.Label8->text(), "9:6");
    EXPECT_EQ(ceilingShown(), color(221));  // as 69
    typeCeiling("3");
    EXPECT_EQ(ceilingShown(), color(29));  // as 10
    typeCeiling("-2147483648");
    EXPECT_EQ(ceilingShown(), color(29));
    typeCeiling("95");
    leaveCeilingField();
    EXPECT_EQ(window.spe1->text(), "69");
    EXPECT_EQ(window.Label8->text(), "6:10");
    EXPECT_EQ(ceilingShown(), color(221));

    window.cb1->setCurrentIndex(2);
    clickRow(BarSpriteRow);
    typeCeiling("5");
    EXPECT_TRUE(showsBarSprite(true, 111));  // as 70
    typeCeiling("2147483647");
    EXPECT_TRUE(showsBarSprite(true, 220));  // as 90
    leaveCeilingField();
    EXPECT_EQ(window.spe1->text(), "90");
    EXPECT_EQ(window.Label8->text(), "21");
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(PictureViewTest, PointerReadOutNamesTheCellAndTheHighestPaletteIndexOfItsColour)
{
    tools::VswapWriter::Chunk wall = chunkOf(4096, 25);
    wall.bytes[63 * 64 + 63] = 7;  // shares its colour with index 21
    openFile(userFile("VSWAP.WL6", tools::VswapWriter().wall(wall).soundPage(chunkOf(50, 1)).sound(0, 50).build()));
    TForm1& window = form();
    emit window.Image2->mouseMoved(319, 319);
    EXPECT_EQ(window.Edit3->text(), "63,63");
    EXPECT_EQ(window.Edit5->text(), "21");
    emit window.Image2->mouseMoved(0, 4);
    EXPECT_EQ(window.Edit3->text(), "0,0");
    EXPECT_EQ(window.Edit5->text(), "25");

    // Against the background the same formula holds; the colours are the frame's.
    clickPicture();
    emit window.Image2->mouseMoved(319, 319);
    EXPECT_EQ(window.Edit3->text(), "63,63");
    EXPECT_EQ(window.Edit5->text(), "25");
    emit window.Image2->mouseMoved(100, 10);
    EXPECT_EQ(window.Edit3->text(), "20,2");
    EXPECT_EQ(window.Edit5->text(), "29");

    // A real pointer over the view.
    QTest::mouseMove(window.Image2, QPoint(12, 317));
    EXPECT_EQ(window.Edit3->text(), "2,63");

    // Over a sound plot: position along the sound and level.
    clickRow(1);
    emit window.Image2->mouseMoved(319, 31);
    EXPECT_EQ(window.Edit3->text(), "99,99");
    emit window.Image2->mouseMoved(0, 288);
    EXPECT_EQ(window.Edit3->text(), "0,0");
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(PictureViewTest, WrittenBitmapIsRedrawnAsAWallPictureOnAFastDisplayOnly)
{
    openPictures();
    TForm1& window = form();
    clickPicture();
    clickRow(BarSpriteRow);
    ASSERT_TRUE(showsBarSprite(true, 29));
    const std::string saved = userDir.file("sprite.bmp");

    window.state().speedProbe = 20;
    const std::vector<PackedColor> before = viewPixels();
    window.WriteBitmapFile(saved);
    EXPECT_EQ(readFileBytes(saved).size(), 5174u);
    EXPECT_EQ(viewPixels(), before);

    window.state().speedProbe = 19;
    window.WriteBitmapFile(saved);
    EXPECT_EQ(readFileBytes(saved).size(), 5174u);
    const Palette palette = window.state().palette;
    EXPECT_TRUE(viewMatches(view(), [&](int x, int y) {
        return expectedWallPixel(x, y, true, palette[29], palette,
                                 [](int cx, int cy) { return barSpriteCell(cx, cy, true, 29); });
    }));
    EXPECT_TRUE(platform.errors.empty());
}

}  // namespace
}  // namespace pagelark::testing
