#pragma once

#include "archive/chunk_table.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pagelark {

// The four digits of a saved item's file name: the item number with leading
// zeros, taken as characters 2 to 5 of the decimal text of number + 10000. A
// number above 9999 keeps all its digits.
std::string itemDigits(std::int32_t itemNumber);

// base + kind word + digits + extension: "wall0012.bmp", "sprite0024.bmp",
// "sound0005.wav"; pictures may take another extension (".png").
std::string savedItemFileName(const std::string& base, ItemKind kind, std::int32_t itemNumber,
                              const std::string& pictureExtension = ".bmp");

// The text every saved file name begins with, from the path chosen in the
// save dialog: the folder alone when the name part is exactly "-" (the
// preset name), otherwise the whole path, whose name part becomes a prefix.
std::string saveBase(const std::string& chosenPath);

// What a file name in a saved folder tells of the chunk it holds.
struct ChunkFileName {
    enum class Kind { Chunk, Other, Unusable };
    Kind what = Kind::Other;
    ItemKind kind = ItemKind::Wall;
    std::int32_t number = 0;
};

// A name as save writes it (a kind word, the number in four digits or all
// of a larger one's, an extension) is a chunk's; a name that starts with a
// kind word and a digit but is not written so is unusable ("wall123456.bmp",
// "wall01234.png", "wall12.bmp"); anything else is another file.
ChunkFileName chunkFileName(std::string_view name);

}  // namespace pagelark
