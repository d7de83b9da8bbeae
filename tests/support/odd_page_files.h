#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pagelark::testing {

// Page files shaped like those found in the wild, made by the tests'
// builder, each with the features that once kept it from coming back byte
// for byte.
struct OddPageFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// Like the shareware and demo games' files: an absent wall, sounds whose
// pages are absent (one of them of no length in the table), and bytes after
// the last chunk, where the reader finds the end of the sound entries.
std::vector<std::uint8_t> sharewareShapedVswap();

// Like files made by other tools: chunks one after another without the
// games' alignment, a sprite of 15 bytes, 212 bytes after the last chunk.
std::vector<std::uint8_t> otherToolsVswap();

// Every odd shape the round trip must keep, the two above among them: also
// a file without sprites, one with bytes in the gaps the games leave zero,
// and one whose sound table is longer than its entries.
std::vector<OddPageFile> oddPageFiles();

}  // namespace pagelark::testing
