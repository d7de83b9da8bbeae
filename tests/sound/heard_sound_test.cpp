// What the program's sounds sound like: played on the test run's own sound
// server and recorded from it, then compared with the samples in the file.
#include "sounds/sound_output_qt.h"
#include "sounds/wav_writer.h"
#include "tests/sound/monitor_recorder.h"
#include "tests/sound/private_sound_server.h"
#include "tests/sound/sound_match.h"
#include "tests/sound/sound_window.h"
#include "tests/support/command_run.h"
#include "tests/support/temp_dir.h"

#include <QElapsedTimer>
#include <QTest>

#include <gtest/gtest.h>

#include <string>

namespace pagelark::testing {
namespace {

// How far what is heard may be off the expected times: the server's and the
// recorder's latencies, which vary from run to run (by some 40 ms here). A
// sound played out rather than cut would be heard a quarter second longer.
constexpr double Slack = 0.1;
// How far from where it seems to start a sound's best alignment is looked for.
constexpr std::size_t SearchSamples = RecordingRate / 5;
// A sound heard as played: far above a sound mixed with another (about 0.7).
constexpr double Recognised = 0.9;

double secondsOf(const Samples& sound) { return static_cast<double>(sound.size()) / RecordingRate; }

int millisecondsOf(const Samples& sound) { return static_cast<int>(secondsOf(sound) * 1000); }

double secondsSince(const QElapsedTimer& timer) { return static_cast<double>(timer.elapsed()) / 1000.0; }

class HeardSoundTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        problem_ = soundServerProblem();
        if (!problem_.empty())
            return;
        recorder_ = new MonitorRecorder;
        problem_ = recorder_->start();
    }

    static void TearDownTestSuite()
    {
        delete recorder_;
        recorder_ = nullptr;
    }

    void SetUp() override
    {
        if (!problem_.empty())
            GTEST_SKIP() << "sounds cannot be heard here, so they are not tested: " << problem_;
        // The end of the sound before, still on its way through the recorder, stays out of this test.
        QTest::qWait(100);
        mark_ = recorder_->mark();
    }

    Samples heard() { return recorder_->since(mark_); }

    // The sound streams the server plays right now, one line each.
    static std::string serverStreams() { return runCommand("pactl", {"list", "short", "sink-inputs"}).out; }

    static MonitorRecorder* recorder_;
    static std::string problem_;
    std::size_t mark_ = 0;
};

MonitorRecorder* HeardSoundTest::recorder_ = nullptr;
std::string HeardSoundTest::problem_;

TEST_F(HeardSoundTest, PlaySoundIsHeardWholeAndThenLetsTheDeviceGo)
{
    const Samples tone = glidingTone(0.8, 250, 420, 1.7);
    SoundWindow window;
    window.openSounds({tone});
    window.selectSound(0);

    window.pressPlay();
    // The program rewrites its preview file while the sound plays; what is heard stays the same.
    writeFileBytes(window.previewFile(), wavFileBytes(Samples(tone.size(), 128)));
    QTest::qWait(millisecondsOf(tone) + 400);

    const Samples recording = heard();
    const LoudSpan span = loudSpan(recording);
    ASSERT_TRUE(span.heard()) << "nothing was heard";
    EXPECT_NEAR(span.seconds(), secondsOf(tone), Slack);
    EXPECT_GT(bestMatch(recording, tone, span.begin, SearchSamples).correlation, Recognised);
    EXPECT_EQ(serverStreams(), "") << "the sound has played, but the output still holds the device";
    EXPECT_TRUE(window.platform.errors.empty());
}

TEST_F(HeardSoundTest, MuteCutsTheSoundShort)
{
    const Samples tone = glidingTone(3.0, 250, 420, 1.7);
    SoundWindow window;
    window.openSounds({tone});
    window.selectSound(0);

    QElapsedTimer playing;
    window.pressPlay();
    playing.start();
    QTest::qWait(500);
    window.pressMute();
    const double playedFor = secondsSince(playing);
    QTest::qWait(400);

    const Samples recording = heard();
    const LoudSpan span = loudSpan(recording);
    ASSERT_TRUE(span.heard()) << "nothing was heard";
    // What the server still held when Mute was pressed is dropped, not played out.
    EXPECT_NEAR(span.seconds(), playedFor, Slack);
    EXPECT_GT(bestMatch(recording, firstSeconds(tone, span.seconds()), span.begin, SearchSamples).correlation,
              Recognised);
    EXPECT_EQ(serverStreams(), "");
}

TEST_F(HeardSoundTest, PlayingAnotherSoundEndsTheOneBefore)
{
    const Samples first = glidingTone(3.0, 250, 420, 1.7);
    const Samples second = glidingTone(0.5, 500, 650, 2.9);
    SoundWindow window;
    window.openSounds({first, second});

    QElapsedTimer sinceFirst;
    window.selectSound(0);
    window.pressPlay();
    sinceFirst.start();
    QTest::qWait(400);
    window.selectSound(1);
    window.pressPlay();
    const double firstPlayedFor = secondsSince(sinceFirst);
    QTest::qWait(millisecondsOf(second) + 400);

    const Samples recording = heard();
    const LoudSpan span = loudSpan(recording);
    ASSERT_TRUE(span.heard()) << "nothing was heard";
    // Had the first sound gone on, the sounds would be heard for its three seconds.
    EXPECT_NEAR(span.seconds(), firstPlayedFor + secondsOf(second), Slack);
    EXPECT_GT(bestMatch(recording, firstSeconds(first, firstPlayedFor - Slack), span.begin, SearchSamples).correlation,
              Recognised);
    // Mixed with the first sound, the second would not be recognised.
    const std::size_t secondStart = span.end > second.size() ? span.end - second.size() : 0;
    EXPECT_GT(bestMatch(recording, second, secondStart, SearchSamples).correlation, Recognised);
}

// The requests the window does not make: waiting for the end, looping, and
// leaving a playing sound alone.
TEST_F(HeardSoundTest, OutputWaitsLoopsAndLeavesAPlayingSoundAloneAsAsked)
{
    using namespace sound_flag;
    TempDir dir;
    const Samples shortTone = glidingTone(0.3, 300, 380, 3.0);
    const Samples other = glidingTone(0.3, 600, 700, 3.0);
    const std::string shortFile = dir.file("short.wav");
    const std::string otherFile = dir.file("other.wav");
    writeFileBytes(shortFile, wavFileBytes(shortTone));
    writeFileBytes(otherFile, wavFileBytes(other));
    QtSoundOutput output;

    // Without Async the request returns when the sound has played, and the device is free again.
    QElapsedTimer waited;
    waited.start();
    output.playSound({shortFile, FileName});
    EXPECT_GE(secondsSince(waited), secondsOf(shortTone) - 0.05);
    EXPECT_LT(secondsSince(waited), secondsOf(shortTone) + 1.0);
    EXPECT_EQ(serverStreams(), "");
    QTest::qWait(200);
    Samples recording = heard();
    LoudSpan span = loudSpan(recording);
    ASSERT_TRUE(span.heard()) << "the waited-for sound was not heard";
    EXPECT_NEAR(span.seconds(), secondsOf(shortTone), Slack);
    EXPECT_GT(bestMatch(recording, shortTone, span.begin, SearchSamples).correlation, Recognised);

    // A looped sound repeats until stopped; a NoStop request meanwhile is dropped.
    mark_ = recorder_->mark();
    QElapsedTimer looping;
    output.playSound({shortFile, Async | Loop | FileName});
    looping.start();
    QTest::qWait(400);
    output.playSound({otherFile, Async | NoStop | FileName});
    QTest::qWait(400);
    output.playSound({});
    const double loopedFor = secondsSince(looping);
    QTest::qWait(400);

    recording = heard();
    span = loudSpan(recording);
    ASSERT_TRUE(span.heard()) << "the looped sound was not heard";
    EXPECT_NEAR(span.seconds(), loopedFor, Slack);
    Samples repeated;
    while (secondsOf(repeated) < loopedFor)
        repeated.insert(repeated.end(), shortTone.begin(), shortTone.end());
    EXPECT_GT(bestMatch(recording, firstSeconds(repeated, span.seconds()), span.begin, SearchSamples).correlation,
              Recognised);
    EXPECT_EQ(serverStreams(), "");
}

}  // namespace
}  // namespace pagelark::testing
