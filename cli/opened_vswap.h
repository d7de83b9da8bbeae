#pragma once

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/run_error.h"
#include "pictures/palette.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace pagelark::cli {

// What the commands raise: the file concerned and the text to show for it,
// the same text the window's error box shows.
struct Failure {
    std::string file;
    std::string text;
};

// Runs step, turning the program's errors into a failure of the given file.
template <typename Step>
auto onFile(const std::string& file, Step&& step)
{
    try {
        return step();
    } catch (const RunError& error) {
        throw Failure{file, error.text()};
    }
}

// A page file opened for reading, with its header and chunk table read.
struct OpenedVswap {
    std::string path;
    ByteFile file;
    VswapHeader header;
    ChunkTable table;
};

std::unique_ptr<OpenedVswap> openVswap(const std::string& path);

// The chunks in the list, in list order.
std::vector<std::int32_t> listedChunks(const OpenedVswap& vswap);

// A palette file read whole; one that does not hold 256 colours is refused, naming the file.
Palette paletteFrom(const std::string& path);

}  // namespace pagelark::cli
