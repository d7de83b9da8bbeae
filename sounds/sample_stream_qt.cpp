#include "sounds/sample_stream_qt.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace pagelark {

SampleStream::SampleStream(std::vector<std::uint8_t> samples, bool loop, QObject* parent)
    : QIODevice(parent), samples_(std::move(samples)), loop_(loop && !samples_.empty())
{
    // Unbuffered: the output asks for small pieces, and a read-ahead copy would only double the work.
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 SampleStream::bytesAvailable() const
{
    if (loop_)
        return std::numeric_limits<qint64>::max();
    return static_cast<qint64>(samples_.size() - position_) + QIODevice::bytesAvailable();
}

qint64 SampleStream::size() const
{
    // The output lowers its start threshold to a sound shorter than it, so
    // that a short sound starts at all; it must see the whole sound for that.
    return loop_ ? 0 : static_cast<qint64>(samples_.size());
}

qint64 SampleStream::readData(char* data, qint64 maxSize)
{
    qint64 copied = 0;
    while (copied < maxSize) {
        if (position_ == samples_.size()) {
            if (!loop_)
                break;
            position_ = 0;
        }
        const std::size_t count = std::min(samples_.size() - position_, static_cast<std::size_t>(maxSize - copied));
        std::memcpy(data + copied, samples_.data() + position_, count);
        position_ += count;
        copied += static_cast<qint64>(count);
    }
    return copied;
}

qint64 SampleStream::writeData(const char* /*data*/, qint64 /*maxSize*/) { return -1; }

}  // namespace pagelark
