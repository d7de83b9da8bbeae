// "Play sound" and "Mute sound": the preview file and the requests the
// window's player hands to the sound output.
#include "sounds/sound_output.h"
#include "tests/gui/display_fixture.h"

#include <QToolButton>

#include <filesystem>

namespace pagelark::testing {
namespace {

constexpr int SoundRow = 1;
constexpr unsigned PlayFlags = sound_flag::Async | sound_flag::NoDefault | sound_flag::NoWait | sound_flag::FileName;

class SoundButtonsTest : public DisplayTest {
protected:
    void SetUp() override
    {
        const auto bytes
            = tools::VswapWriter().wall(chunkOf(4096, 1)).soundPage(chunkOf(70, 0x90)).sound(0, 70).build();
        openFile(userFile("VSWAP.WL6", bytes));
        stopHeartbeat();
        clickRow(SoundRow);
    }

    const std::vector<SoundRequest>& requests() { return platform.sounds.requests; }
    std::string preview() { return platform.dir.file("pl.wav"); }
};

TEST_F(SoundButtonsTest, PlayWritesThePreviewAndHandsItOverMuteStopsIt)
{
    TForm1& window = form();
    window.Sb2->click();
    const auto bytes = readFileBytes(preview());
    ASSERT_EQ(bytes.size(), 114u);
    EXPECT_EQ(bytes[44], 0x90);
    ASSERT_EQ(requests().size(), 1u);
    EXPECT_EQ(requests()[0].name, preview());
    EXPECT_EQ(requests()[0].flags, PlayFlags);

    // Neither another selection nor the heartbeat's rewrite touches the sound.
    clickRow(0);
    for (int tick = 0; tick < 3; ++tick)
        window.Timer1Timer();
    EXPECT_EQ(requests().size(), 1u);

    window.Sb4->click();
    ASSERT_EQ(requests().size(), 2u);
    EXPECT_FALSE(requests()[1].name.has_value());
    EXPECT_EQ(requests()[1].flags, 0u);
}

TEST_F(SoundButtonsTest, PreviewThatCannotBeWrittenPlaysNothing)
{
    std::filesystem::create_directory(preview());
    form().Sb2->click();
    EXPECT_EQ(platform.errors, std::vector<std::string>{"File access denied"});
    EXPECT_TRUE(requests().empty());
}

TEST_F(SoundButtonsTest, ClosingTheProgramEndsTheSound)
{
    form().Sb2->click();
    destroyForm();
    ASSERT_EQ(requests().size(), 2u);
    EXPECT_FALSE(requests()[1].name.has_value());
}

}  // namespace
}  // namespace pagelark::testing
