#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pagelark {

// A file of bytes with the run-time's semantics: every operation either does
// what it says or raises a RunError with the run-time's code and text.
// Reads and writes go through a buffer, so one byte is not one system call,
// but what callers observe is exactly byte-by-byte access: a read past the
// end fails at the first missing byte, with the bytes before it delivered.
class ByteFile {
public:
    ByteFile() = default;
    ~ByteFile();
    ByteFile(const ByteFile&) = delete;
    ByteFile& operator=(const ByteFile&) = delete;

    // Opens an existing file for reading. An open file is closed first.
    void openRead(const std::string& path);
    // Creates a file for writing, replacing any file of that name.
    void create(const std::string& path);
    // Moves to an absolute byte position; a negative one is an I/O error.
    void seek(std::int64_t position);
    std::uint8_t readByte();
    void writeByte(std::uint8_t value);
    void writeBytes(const std::uint8_t* data, std::size_t count);
    bool eof();
    std::int64_t position() const;
    std::int64_t size();
    void close();
    bool isOpen() const { return fd_ >= 0; }

private:
    enum class Mode { Read, Write };

    void requireOpen() const;
    void fillReadBuffer();
    void flushWriteBuffer();
    void closeQuietly() noexcept;

    int fd_ = -1;
    Mode mode_ = Mode::Read;
    std::int64_t position_ = 0;
    std::int64_t size_ = 0;         // file size, including bytes still in the write buffer
    std::int64_t bufferStart_ = 0;  // file position of buffer_[0]
    std::vector<std::uint8_t> buffer_;
};

}  // namespace pagelark
