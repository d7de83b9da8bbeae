#pragma once

#include "archive/file_descriptor.h"
#include "archive/file_identity.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace pagelark {

// A file of bytes read with the run-time's semantics: every operation either
// does what it says or raises a RunError with the run-time's code and text.
// Reads go through a cache of blocks, so one byte is not one system call,
// but what callers observe is exactly byte-by-byte access: a read past the
// end fails at the first missing byte, with the bytes before it delivered.
class ByteFile {
public:
    // Opens an existing regular file for reading; anything else (a folder, a
    // device, a pipe) is refused at once, without waiting on it. An open file
    // is closed first.
    void openRead(const std::string& path);
    // Moves to an absolute byte position; a negative one is an I/O error.
    void seek(std::int64_t position);
    std::uint8_t readByte();
    // Reads count bytes into out; at the end of the file the bytes before it
    // are delivered and the position moved past them before the error.
    void readBytes(std::uint8_t* out, std::size_t count);
    bool eof();
    std::int64_t position() const;
    std::int64_t size();
    void close();
    bool isOpen() const { return fd_.valid(); }
    // The identity of the open file, so that nothing is written into it under another name.
    FileIdentity identity() const;

private:
    // Reading keeps the last blocks it read, each in the slot its block
    // number picks, so going back and forth within a region of the file (a
    // sprite's commands and the pixels they point at) reads nothing twice.
    static constexpr std::size_t BlockSize = 8 * 1024;
    static constexpr std::size_t BlockSlots = 16;
    struct Block {
        std::int64_t number = -1;
        std::unique_ptr<std::uint8_t[]> bytes;  // read into without being cleared first
        std::size_t size = 0;                   // less than a block at the end of the file
    };

    void requireOpen() const;
    // The cached block that holds position_, read when it is not held; an
    // error when position_ is at or past the end of the file.
    const Block& blockAtPosition();
    void forgetBlocks();

    FileDescriptor fd_;
    std::int64_t position_ = 0;
    std::int64_t size_ = 0;
    FileIdentity identity_{};
    std::array<Block, BlockSlots> blocks_;
};

}  // namespace pagelark
