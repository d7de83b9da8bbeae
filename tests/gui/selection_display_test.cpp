// Showing the current list entry: its start and size, the labels and the
// controls of its kind, the display mode of the start and size fields, and
// what an error while showing leaves behind.
#include "app/widgets/spin_edit.h"
#include "tests/gui/display_fixture.h"
#include "tools/demo_vswap.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolButton>

namespace pagelark::testing {
namespace {

// Two walls: 4072 bytes at 512 (the header of three chunks rounded up to a
// multiple of 512), then 255 bytes at 4608.
std::vector<std::uint8_t> hexVswap()
{
    return tools::VswapWriter().wall(chunkOf(4072, 1)).wall(chunkOf(255, 2)).build();
}

// A wall, a sprite whose commands lie beyond the end of the file, a good
// sprite, and a sound of 10000 bytes (more than the file holds).
constexpr int SoundOfTenThousandRow = 3;
constexpr int UnreadableSpriteRow = 1;

std::vector<std::uint8_t> unreadableSpriteVswap()
{
    return tools::VswapWriter()
        .wall(chunkOf(64, 1))
        .sprite(spriteReadingBeyondTheFile())
        .sprite(spriteBar(20, 4))
        .soundPage(chunkOf(50, 100))
        .sound(0, 10000)
        .build();
}

QString seconds(const QString& whole, const QString& tenths)
{
    return whole + QLocale::system().decimalPoint() + tenths + QStringLiteral(" sec");
}

class SelectionDisplayTest : public DisplayTest {
protected:
    QString start() { return form().Edit2->text(); }
    QString size() { return form().Edit1->text(); }
};

TEST_F(SelectionDisplayTest, OpenShowsTheFirstEntryAtOnceWithNothingSelected)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    TForm1& window = form();
    EXPECT_EQ(size(), "10");
    EXPECT_EQ(start(), "512");  // the header of nine chunks rounded up to a multiple of 512
    EXPECT_EQ(window.state().current.kind, ItemKind::Wall);
    EXPECT_EQ(window.state().current.index, 0);
    EXPECT_EQ(view().pixel(0, 0), color(1));
    EXPECT_EQ(window.ListBox1->currentRow(), 0);
    EXPECT_TRUE(window.ListBox1->selectedItems().isEmpty());
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(SelectionDisplayTest, EachKindShowsItsOwnLabelsAndControls)
{
    openFile(userFile("VSWAP.WL6", unreadableSpriteVswap()));
    TForm1& window = form();
    const auto expectControls = [&](const char* kind, bool ceiling, bool sprite, bool sound) {
        SCOPED_TRACE(kind);
        EXPECT_EQ(shown(window.spe1), ceiling);
        EXPECT_EQ(shown(window.Label8), ceiling);
        EXPECT_EQ(shown(window.Panel2), sprite);
        EXPECT_EQ(shown(window.Panel1), sound);
    };

    expectControls("wall", true, false, false);
    EXPECT_EQ(window.Label1->text(), "");
    EXPECT_EQ(window.Label7->text(), "0 sec");

    clickRow(SoundOfTenThousandRow);
    expectControls("sound", false, false, true);
    EXPECT_EQ(window.Label1->text(), "");
    EXPECT_EQ(window.Label7->text(), seconds("1", "4"));
    EXPECT_EQ(size(), "10000");

    clickRow(2);
    expectControls("sprite", true, true, false);
    EXPECT_EQ(window.Label1->text(), "1");
    EXPECT_EQ(window.Label7->text(), "0 sec");
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(SelectionDisplayTest, HexadecimalStartAndSizeStayInForceAcrossSelectionsAndFiles)
{
    openFile(userFile("VSWAP.WL6", hexVswap()));
    TForm1& window = form();
    EXPECT_EQ(window.Edit4->text(), "DEC");
    EXPECT_EQ(size(), "4072");
    EXPECT_EQ(start(), "512");

    // The toggle changes the two fields at once and does not draw the entry again.
    markView();
    clickDecHex();
    EXPECT_EQ(window.Edit4->text(), "HEX");
    EXPECT_EQ(size(), "0FE8");
    EXPECT_EQ(start(), "000200");
    EXPECT_EQ(view().pixel(160, 160), Marker);

    clickRow(1);
    EXPECT_EQ(size(), "00FF");
    EXPECT_EQ(start(), "001200");

    openFile(userFile("VSWAP.SOD", twoWallVswap()));
    EXPECT_EQ(window.Edit4->text(), "HEX");
    EXPECT_EQ(size(), "0040");
    EXPECT_EQ(start(), "000200");

    clickDecHex();
    EXPECT_EQ(window.Edit4->text(), "DEC");
    EXPECT_EQ(size(), "64");
    EXPECT_EQ(start(), "512");
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(SelectionDisplayTest, ShowingWithAnEmptyListReportsTheListIndexAndChangesNothingElse)
{
    TForm1& window = form();
    platform.cancelOpen();
    window.SpeedButton1->click();
    const std::vector<PackedColor> before = viewPixels();

    clickPicture();
    EXPECT_EQ(platform.errors, std::vector<std::string>{"List index out of bounds (-1)"});
    // The click itself still switched the mode: nothing was shown yet.
    EXPECT_TRUE(window.state().viewMode);
    EXPECT_EQ(window.state().current.kind, std::nullopt);
    EXPECT_EQ(size(), "");
    EXPECT_EQ(start(), "");
    EXPECT_EQ(window.Label1->text(), " ");
    EXPECT_EQ(window.Label7->text(), "Label7");
    EXPECT_FALSE(shown(window.spe1));
    EXPECT_FALSE(shown(window.Panel1));
    EXPECT_FALSE(shown(window.Panel2));
    EXPECT_EQ(viewPixels(), before);
}

TEST_F(SelectionDisplayTest, KeyboardMovesShowTheNewEntryAndRestartTheHeartbeat)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    TForm1& window = form();
    showWindow();
    window.ListBox1->setFocus();

    window.state().heartbeatTicks = 5;
    QTest::keyClick(window.ListBox1, Qt::Key_Down);
    EXPECT_EQ(window.state().current.index, 3);
    EXPECT_EQ(size(), "20");
    EXPECT_EQ(view().pixel(0, 0), color(3));
    EXPECT_EQ(window.state().heartbeatTicks, 0);

    window.state().heartbeatTicks = 5;
    QTest::keyClick(window.ListBox1, Qt::Key_Down);
    EXPECT_EQ(window.state().current.kind, ItemKind::Sprite);
    EXPECT_EQ(window.Label1->text(), "0");
    EXPECT_TRUE(shown(window.Panel2));
    EXPECT_EQ(window.state().heartbeatTicks, 0);

    QTest::keyClick(window.ListBox1, Qt::Key_End);
    EXPECT_EQ(window.state().current.kind, ItemKind::Sound);
    EXPECT_TRUE(shown(window.Panel1));
    EXPECT_EQ(size(), "110");
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(SelectionDisplayTest, ReadErrorWhileShowingLeavesStartAndSizeOfThePreviousEntry)
{
    openFile(userFile("VSWAP.WL6", unreadableSpriteVswap()));
    TForm1& window = form();
    clickRow(SoundOfTenThousandRow);
    const QString soundStart = start();
    ASSERT_EQ(window.Label7->text(), seconds("1", "4"));

    clickRow(UnreadableSpriteRow);
    EXPECT_EQ(platform.errors, std::vector<std::string>{"Read beyond end of file"});
    // Labels and controls already show the sprite ...
    EXPECT_EQ(window.Label1->text(), "0");
    EXPECT_EQ(window.Label7->text(), "0 sec");
    EXPECT_TRUE(shown(window.Panel2));
    EXPECT_FALSE(shown(window.Panel1));
    EXPECT_EQ(window.state().current.index, 1);
    // ... while start and size are still the sound's.
    EXPECT_EQ(size(), "10000");
    EXPECT_EQ(start(), soundStart);

    // The next entry shows as usual.
    clickRow(2);
    EXPECT_EQ(platform.errors.size(), 1u);
    EXPECT_EQ(window.Label1->text(), "1");
    EXPECT_NE(start(), soundStart);
}

TEST_F(SelectionDisplayTest, EveryClickInTheListShowsTheEntryOnce)
{
    // Each showing of the unreadable sprite leaves one error box behind, so
    // the boxes count the showings.
    openFile(userFile("VSWAP.WL6", unreadableSpriteVswap()));
    TForm1& window = form();
    clickRow(UnreadableSpriteRow);
    EXPECT_EQ(platform.errors.size(), 1u);

    // A click on the entry that is already the only one selected changes no
    // selection, but is a click all the same: the entry is shown again and
    // the heartbeat count starts again.
    window.state().heartbeatTicks = 5;
    clickRow(UnreadableSpriteRow);
    EXPECT_EQ(platform.errors.size(), 2u);
    EXPECT_EQ(window.state().heartbeatTicks, 0);

    // A click that adds an entry to the selection shows the clicked one, once.
    QListWidget* list = window.ListBox1;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(window.state().current.index, 0);
    EXPECT_EQ(list->selectedItems().size(), 2);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(UnreadableSpriteRow)).center());
    EXPECT_EQ(platform.errors.size(), 3u);
}

TEST_F(SelectionDisplayTest, EntryShownIsAlwaysTheFocusedOne)
{
    openFile(userFile("VSWAP.WL6", sampleVswap()));
    TForm1& window = form();
    showWindow();
    QListWidget* list = window.ListBox1;
    const auto at = [&](int row) { return list->visualItemRect(list->item(row)).center(); };

    // Dragging over the list: the list selects before it moves the focus.
    QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at(0));
    for (int row : {1, 2}) {
        QMouseEvent move(QEvent::MouseMove, at(row), list->viewport()->mapToGlobal(at(row)), Qt::NoButton,
                         Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(list->viewport(), &move);
        EXPECT_EQ(window.state().current.index, list->item(row)->text().left(4).trimmed().toInt()) << row;
    }
    QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at(2));
    EXPECT_EQ(window.state().lastListIndex, 2);
    EXPECT_EQ(list->selectedItems().size(), 3);

    // Moving the focus alone is a click too.
    window.state().heartbeatTicks = 5;
    QTest::keyClick(list, Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(list->currentRow(), 3);
    EXPECT_EQ(window.state().current.index, 5);
    EXPECT_EQ(window.state().lastListIndex, 3);
    EXPECT_EQ(window.state().heartbeatTicks, 0);
    EXPECT_EQ(list->selectedItems().size(), 3);

    // A right click only asks for the menu: selection and entry stay.
    window.state().heartbeatTicks = 5;
    QTest::mouseClick(list->viewport(), Qt::RightButton, {}, at(4));
    EXPECT_EQ(list->selectedItems().size(), 3);
    EXPECT_EQ(list->currentRow(), 3);
    EXPECT_EQ(window.state().heartbeatTicks, 5);
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(SelectionDisplayTest, DoubleClicksCountAsOneClick)
{
    openFile(userFile("VSWAP.WL6", unreadableSpriteVswap()));
    TForm1& window = form();
    showWindow();
    // Through the window, as the desktop delivers them: press, release,
    // press, release, the second press arriving as a double click.
    const auto doubleClick = [&](QWidget* control, QPoint at) {
        QTest::mouseDClick(window.windowHandle(), Qt::LeftButton, {}, control->mapTo(&window, at));
    };
    // On the picture: the view mode flips once, not twice.
    doubleClick(window.Image2, QPoint(100, 100));
    EXPECT_TRUE(window.state().viewMode);
    // On the start and size mode: one change from DEC.
    doubleClick(window.Edit4, QPoint(10, 10));
    EXPECT_EQ(window.Edit4->text(), "HEX");
    // A later single click is a click again.
    QTest::mouseClick(window.Image2, Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_FALSE(window.state().viewMode);
}

TEST_F(SelectionDisplayTest, DemoFileListsAndShowsEveryEntry)
{
    openFile(userFile("VSWAP.DMO", tools::buildDemoVswap()));
    TForm1& window = form();
    ASSERT_EQ(window.ListBox1->count(), tools::demo::WallCount + tools::demo::SpriteCount + 2);
    EXPECT_TRUE(listLines().front().startsWith("   0 wall      0  "));

    const PackedColor empty = color(255);
    showWindow();
    window.ListBox1->setFocus();
    for (int row = 0; row < window.ListBox1->count(); ++row) {
        if (row > 0)
            QTest::keyClick(window.ListBox1, Qt::Key_Down);
        ASSERT_EQ(window.state().current.index, window.ListBox1->item(row)->text().left(4).trimmed().toInt());
        if (window.state().current.kind != ItemKind::Sprite)
            continue;
        // Every sprite decodes and draws something over its empty background.
        bool drawn = false;
        for (int y = 0; y < 320 && !drawn; y += 5)
            for (int x = 0; x < 320 && !drawn; x += 5)
                drawn = view().pixel(x, y) != empty;
        EXPECT_TRUE(drawn) << "sprite " << window.Label1->text().toStdString();
    }
    EXPECT_TRUE(platform.errors.empty());
}

}  // namespace
}  // namespace pagelark::testing
