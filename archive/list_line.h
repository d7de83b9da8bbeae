#pragma once

#include "archive/chunk_table.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

// A line of the chunk list: the chunk index in characters 1-4, a space, the
// kind word in 6-12 and the item number in 13-16. Descriptions are appended
// behind the first 16 characters.
constexpr std::size_t ListLineWidth = 16;

// A number right-aligned in four characters; a longer number keeps its last
// digits, as many as fit in the nine characters the field is cut from.
std::string listNumberField(std::int32_t number);

std::string formatListLine(std::int32_t index, ItemKind kind, std::int32_t itemNumber);

// One line for every listed chunk, in chunk index order.
std::vector<std::string> listLines(const VswapHeader& header, const ChunkTable& table);

// The chunk index a list line starts with.
std::int32_t chunkIndexOfLine(std::string_view line);
// The item number in characters 12-16 of a list line.
std::int32_t itemNumberOfLine(std::string_view line);

}  // namespace pagelark
