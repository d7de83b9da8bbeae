#pragma once

// Numbers as page files, bitmaps and WAV files store them: unsigned,
// little-endian, read from and written into bytes held in memory. Callers
// check lengths before they read.

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace pagelark::little_endian {

inline std::uint16_t word(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

inline std::uint32_t longWord(std::span<const std::uint8_t> bytes, std::size_t at)
{
    return std::uint32_t{word(bytes, at)} | (std::uint32_t{word(bytes, at + 2)} << 16);
}

inline void putWord(std::span<std::uint8_t> bytes, std::size_t at, std::uint64_t value)
{
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

inline void putLong(std::span<std::uint8_t> bytes, std::size_t at, std::uint64_t value)
{
    putWord(bytes, at, value & 0xFFFF);
    putWord(bytes, at + 2, (value >> 16) & 0xFFFF);
}

inline void appendWord(std::vector<std::uint8_t>& bytes, std::uint64_t value)
{
    bytes.push_back(static_cast<std::uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

inline void appendLong(std::vector<std::uint8_t>& bytes, std::uint64_t value)
{
    appendWord(bytes, value & 0xFFFF);
    appendWord(bytes, (value >> 16) & 0xFFFF);
}

}  // namespace pagelark::little_endian
