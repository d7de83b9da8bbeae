// A desktop without any sound device: the program plays into the void,
// quietly. The test program runs itself once more, without its sound
// server, to have such a desktop.
#include "sounds/sound_output_qt.h"
#include "sounds/wav_writer.h"
#include "tests/sound/sound_match.h"
#include "tests/sound/sound_window.h"
#include "tests/sound/without_server.h"
#include "tests/support/command_run.h"
#include "tests/support/temp_dir.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMediaDevices>

#include <gtest/gtest.h>

#include <cstdlib>

namespace pagelark::testing {
namespace {

TEST(WithoutSoundDevice, PlayingIsSilentReportsNothingAndNeverWaits)
{
    if (!runsWithoutServer()) {
        ::setenv(WithoutServerVariable, "1", 1);
        const CommandResult run = runCommand(QCoreApplication::applicationFilePath().toStdString(),
                                             {"--gtest_filter=WithoutSoundDevice.*"});
        ::unsetenv(WithoutServerVariable);
        EXPECT_EQ(run.status, 0) << run.out << run.err;
        EXPECT_NE(run.out.find("[  PASSED  ] 1 test."), std::string::npos) << run.out << run.err;
        return;
    }

    ASSERT_TRUE(QMediaDevices::defaultAudioOutput().isNull()) << "a sound device was found without a sound server";
    SoundWindow window;
    window.openSounds({glidingTone(2.0, 250, 420, 1.7)});
    window.selectSound(0);
    window.pressPlay();
    window.pressMute();
    window.pressPlay();
    EXPECT_EQ(window.platform.sounds.requests.size(), 3U);
    EXPECT_TRUE(window.platform.errors.empty());
    EXPECT_TRUE(window.platform.messages.empty());

    // Not even a request that waits for its sound waits here, nor does a loop
    // hold anything; files that are no sound (none at all, not a WAV file,
    // one that never ends) are given up quickly too.
    TempDir dir;
    const std::string notWav = dir.file("not.wav");
    writeFileText(notWav, "RIFF");
    QElapsedTimer waited;
    waited.start();
    for (const std::string& name : {window.previewFile(), dir.file("missing.wav"), notWav, std::string("/dev/zero")})
        window.output.playSound({name, sound_flag::FileName});
    window.output.playSound({window.previewFile(), sound_flag::Async | sound_flag::Loop | sound_flag::FileName});
    window.output.playSound({});
    EXPECT_LT(waited.elapsed(), 2000);
}

}  // namespace
}  // namespace pagelark::testing
