#pragma once

#include "sounds/sound_output.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>

class QAudioSink;

namespace pagelark {

struct WavSound;

// The desktop's sound output: plays WAV files through the default audio
// device, one sound at a time. Each request reads its file whole, so the
// file may change or go while its sound plays. Whatever cannot be played
// (no device, no file, a format the device does not take) is not heard,
// and nothing is said about it.
class QtSoundOutput : public QObject, public SoundOutput {
    Q_OBJECT

public:
    explicit QtSoundOutput(QObject* parent = nullptr);
    ~QtSoundOutput() override;

    void playSound(const SoundRequest& request) override;

signals:
    // The sound that was playing has ended: played through, stopped or replaced.
    void soundEnded();

private:
    bool playing() const { return sink_ != nullptr; }
    bool start(const WavSound& sound, bool loop);
    // Ends the sound at once, dropping whatever the device still holds, and frees the device.
    void stop();
    void release();
    void waitUntilEnded();
    void checkProgress();

    std::unique_ptr<QAudioSink> sink_;
    bool looping_ = false;
    qint64 soundUSecs_ = 0;
    QElapsedTimer sinceStart_;
    QTimer progressCheck_;
};

}  // namespace pagelark
