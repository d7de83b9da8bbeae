#pragma once

#include "pictures/decoded_picture.h"

#include <cstdint>
#include <span>

namespace pagelark {

// Decodes the bytes of a whole BMP file: uncompressed 1-, 4- or 8-bit indexed
// pixels (any colour count up to 256) or 24- or 32-bit colours, rows stored
// bottom-up or top-down. Any other kind of BMP, and a damaged one, raises a RunError
// saying what was found ("not a BMP file Pagelark can read: 4-bit pixels").
// The colour table of an indexed bitmap is opaque, as BMP files have no
// transparency in it; 32-bit pixels have an alpha channel only where bit
// fields name one.
DecodedPicture decodeBmp(std::span<const std::uint8_t> file);

}  // namespace pagelark
