#pragma once

#include <QIODevice>

#include <cstdint>
#include <vector>

namespace pagelark {

// The samples of one sound, read by the audio output as it needs them: once
// through, or over and over from the beginning until the output stops.
class SampleStream : public QIODevice {
public:
    SampleStream(std::vector<std::uint8_t> samples, bool loop, QObject* parent);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    // The whole sound once through; a looped one has no end and so no size.
    qint64 size() const override;

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 maxSize) override;

private:
    std::vector<std::uint8_t> samples_;
    std::size_t position_ = 0;
    bool loop_;
};

}  // namespace pagelark
