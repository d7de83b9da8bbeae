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
