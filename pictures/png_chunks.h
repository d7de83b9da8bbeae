#pragma once

#include <cstdint>
#include <span>

namespace pagelark {

// The CRC-32 of PNG chunks (and zip files): polynomial 0xEDB88320, the
// register starting at all ones and inverted at the end.
std::uint32_t pngCrc(std::span<const std::uint8_t> bytes);

// Checks a PNG file's chunks up to IEND before its pixels are decoded, since
// the decoder passes over a damaged chunk that is not a critical one (a
// damaged tRNS would lose a sprite's transparency) and says so only in a
// warning. Raises a RunError for a chunk whose check sum is wrong and for a
// file that ends before the last of its pixel data; a file cut after its
// pixel data (in the chunks that follow it) is left to the decoder, which
// has all it needs. Does nothing for a file that is no PNG.
void checkPngChunks(std::span<const std::uint8_t> file);

}  // namespace pagelark
