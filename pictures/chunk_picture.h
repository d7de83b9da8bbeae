#pragma once

#include "archive/chunk_table.h"
#include "pictures/pixel_grid.h"

#include <cstdint>
#include <optional>

namespace pagelark {

class ByteFile;

// The picture of the wall or sprite chunk at offset, a sprite without
// background: the one way from a chunk to its grid outside the picture view.
// A wall always has one (cut short by the end of the file, it repeats its
// last byte); a sprite whose header or column offsets are out of range has
// none. Commands or pixels beyond the end of the file raise the file's error.
std::optional<PixelGrid> chunkPicture(ByteFile& file, std::int32_t offset, ItemKind kind);

// The picture whose colours a replacement keeps where the new picture has
// them: none for a chunk that does not decode, its bytes cut short by the
// end of the file included, so that a damaged chunk is replaced as any other.
std::optional<PixelGrid> pictureToKeepColoursOf(ByteFile& file, std::int32_t offset, ItemKind kind);

}  // namespace pagelark
