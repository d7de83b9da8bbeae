// The heartbeat timer and the sprite animation: the preview files written on
// the third tick after a click, the blinking circle, and sprite sequences
// played by the timer or stepped by hand.
#include "app/widgets/circle_shape.h"
#include "tests/gui/display_fixture.h"

#include <QLabel>
#include <QRadioButton>
#include <QToolButton>

#include <filesystem>

namespace pagelark::testing {
namespace {

constexpr int Sprites = 40;
constexpr int SoundRow = Sprites + 1;

// A wall, 40 sprites (sprite s a bar in column s + 10 of index s + 1) and a
// sound: the first sound is chunk 41, so a guard sequence (four frames eight
// chunks apart) fits from sprite 8 at the latest.
std::vector<std::uint8_t> spriteRowVswap()
{
    tools::VswapWriter writer;
    writer.wall(chunkOf(4096, 9));
    for (int s = 0; s < Sprites; ++s)
        writer.sprite(spriteBar(s + 10, static_cast<std::int16_t>(s + 1)));
    return writer.soundPage(chunkOf(300, 0x80)).sound(0, 300).build();
}

int rowOfSprite(int sprite) { return sprite + 1; }

class HeartbeatTest : public DisplayTest {
protected:
    void SetUp() override
    {
        openFile(userFile("VSWAP.WL6", spriteRowVswap()));
        stopHeartbeat();
        showWindow();
    }

    void ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            form().Timer1Timer();
    }

    std::string preview(const char* name) { return platform.dir.file(name); }

    // The sprite whose bar the view shows, -1 for none.
    int spriteShown()
    {
        const int row = 5 * 15 + 2;
        for (int x = 10; x < 10 + Sprites; ++x)
            if (view().pixel(5 * x + 2, row) == color(x - 10 + 1))
                return x - 10;
        return -1;
    }

    QString spriteNumber() { return form().Label1->text(); }
};

TEST_F(HeartbeatTest, ThirdTickAfterAClickWritesThePreviewOnce)
{
    TForm1& window = form();
    clickRow(rowOfSprite(5));
    clickPicture();  // background view
    ASSERT_TRUE(window.state().viewMode);
    clickRow(rowOfSprite(5));

    ticks(2);
    EXPECT_FALSE(std::filesystem::exists(preview("pl.bmp")));
    EXPECT_EQ(window.Label9->text(), "2");
    ticks(1);
    // The bitmap holds the sprite over index 255, whatever the view mode ...
    const auto bitmap = readFileBytes(preview("pl.bmp"));
    ASSERT_EQ(bitmap.size(), 5174u);
    EXPECT_EQ(bitmap[1078 + (63 - 15) * 64 + 15], 6);
    EXPECT_EQ(std::count(bitmap.begin() + 1078, bitmap.end(), 255), 4096 - 11);
    // ... while the view shows it against ceiling and floor again.
    EXPECT_EQ(spriteShown(), 5);
    EXPECT_EQ(view().pixel(0, 319), color(25));

    std::filesystem::remove(preview("pl.bmp"));
    ticks(5);
    EXPECT_FALSE(std::filesystem::exists(preview("pl.bmp")));
    EXPECT_FALSE(window.Label9->isVisible());

    // A click on the same entry starts the count again; a sound gives pl.wav.
    clickRow(rowOfSprite(5));
    ticks(3);
    EXPECT_TRUE(std::filesystem::exists(preview("pl.bmp")));
    clickRow(SoundRow);
    markView();
    ticks(3);
    const auto sound = readFileBytes(preview("pl.wav"));
    ASSERT_EQ(sound.size(), 344u);
    EXPECT_EQ(sound[44], 0x80);
    EXPECT_EQ(view().pixel(0, 0), Marker);
    EXPECT_TRUE(platform.errors.empty());
}

TEST_F(HeartbeatTest, CircleTurnsOrangeAndRedWithEveryTick)
{
    TForm1& window = form();
    const PackedColor red = packColor(255, 0, 0);
    const PackedColor orange = packColor(255, 192, 0);
    ASSERT_EQ(window.Shape1->brushColor(), red);
    ticks(1);
    EXPECT_EQ(window.Shape1->brushColor(), orange);
    ticks(1);
    EXPECT_EQ(window.Shape1->brushColor(), red);
}

TEST_F(HeartbeatTest, TimedAnimationShowsEachFrameAndItsSpriteNumber)
{
    TForm1& window = form();
    clickRow(rowOfSprite(3));
    QTest::mouseClick(window.anim, Qt::LeftButton);
    ASSERT_TRUE(window.state().animating);
    EXPECT_EQ(window.anim->palette().color(QPalette::ButtonText), QColor(Qt::red));
    EXPECT_FALSE(window.sbf->isEnabled());
    EXPECT_FALSE(window.sbb->isEnabled());

    // Guards: tick t shows frame t mod 4, each frame eight sprites on.
    for (int tick = 1; tick <= 8; ++tick) {
        ticks(1);
        EXPECT_EQ(spriteShown(), 3 + 8 * (tick % 4)) << tick;
        EXPECT_EQ(spriteNumber(), QString::number(3 + 8 * (tick % 4)));
    }
    // Another choice takes effect at once: pacmen alternate with the next sprite.
    QTest::mouseClick(window.rb1, Qt::LeftButton);
    ticks(1);
    EXPECT_EQ(spriteShown(), 4);
    ticks(1);
    EXPECT_EQ(spriteShown(), 3);
    EXPECT_EQ(window.state().current.index, rowOfSprite(3));

    // Any mouse button switches it off again.
    QTest::mouseClick(window.anim, Qt::RightButton);
    EXPECT_FALSE(window.state().animating);
    EXPECT_EQ(window.anim->palette().color(QPalette::ButtonText), QColor(Qt::black));
    EXPECT_TRUE(window.sbf->isEnabled());
    markView();
    ticks(4);
    EXPECT_EQ(view().pixel(0, 0), Marker);
}

TEST_F(HeartbeatTest, StepsByHandFollowTheChosenSequence)
{
    TForm1& window = form();
    clickRow(rowOfSprite(0));
    // Backwards from frame 0 of four is frame 3.
    QTest::mouseClick(window.sbb, Qt::LeftButton);
    EXPECT_EQ(spriteShown(), 24);
    EXPECT_EQ(spriteNumber(), "24");
    // After a change to pacmen, forwards from frame 3 is frame 0 of two.
    QTest::mouseClick(window.rb1, Qt::LeftButton);
    QTest::mouseClick(window.sbf, Qt::LeftButton);
    EXPECT_EQ(spriteShown(), 0);
    QTest::mouseClick(window.sbf, Qt::LeftButton);
    EXPECT_EQ(spriteShown(), 1);
    // Bosses: four neighbours.
    QTest::mouseClick(window.rb2, Qt::LeftButton);
    QTest::mouseClick(window.sbf, Qt::LeftButton);
    QTest::mouseClick(window.sbf, Qt::LeftButton);
    EXPECT_EQ(spriteShown(), 3);
    EXPECT_EQ(window.state().current.index, rowOfSprite(0));
}

TEST_F(HeartbeatTest, GuardsNeedTheirWholeBlockBeforeTheFirstSound)
{
    TForm1& window = form();
    // Sprite 8 is chunk 9: chunks 9 to 40 lie before the first sound.
    clickRow(rowOfSprite(8));
    QTest::mouseClick(window.sbb, Qt::LeftButton);
    EXPECT_EQ(spriteShown(), 32);
    // Sprite 9 has only 31 chunks before it, though its last frame would be 24 on.
    clickRow(rowOfSprite(9));
    markView();
    QTest::mouseClick(window.sbf, Qt::LeftButton);
    EXPECT_EQ(view().pixel(0, 0), Marker);
    EXPECT_EQ(spriteNumber(), "9");
    // Walls and sounds have no sequence.
    for (int row : {0, SoundRow}) {
        clickRow(row);
        markView();
        window.ShowFrame(1);
        EXPECT_EQ(view().pixel(0, 0), Marker) << row;
    }
    EXPECT_TRUE(platform.errors.empty());
}

}  // namespace
}  // namespace pagelark::testing
