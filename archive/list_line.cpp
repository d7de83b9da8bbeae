#include "archive/list_line.h"

#include "archive/leading_number.h"
#include "archive/lookup_table.h"

#include <algorithm>

namespace pagelark {

namespace {

// The kind's word as a list line's column holds it, seven characters wide.
constexpr LookupRow<ItemKind, const char*> KindColumns[]
    = {{ItemKind::Wall, "wall   "}, {ItemKind::Sprite, "sprite "}, {ItemKind::Sound, "sound  "}};

const char* kindWord(ItemKind kind) { return lookUp(KindColumns, kind, "       "); }

}  // namespace

std::string listNumberField(std::int32_t number)
{
    // Three spaces in front of the digits, then 9 - L characters from
    // character L on: four characters, right-aligned, for up to four digits.
    const std::string digits = std::to_string(number);
    const std::string padded = "   " + digits;
    const std::size_t length = digits.size();
    if (length >= 9)
        return {};
    return padded.substr(length - 1, 9 - length);
}

std::string formatListLine(std::int32_t index, ItemKind kind, std::int32_t itemNumber)
{
    // Numbers of up to four digits, the ones any file has, are put in place
    // directly: an open writes a line for every chunk.
    const auto fitsField = [](std::int32_t number) { return number >= 0 && number <= 9999; };
    if (!fitsField(index) || !fitsField(itemNumber))
        return listNumberField(index) + " " + kindWord(kind) + listNumberField(itemNumber);
    std::string line(ListLineWidth, ' ');
    const auto putRightAligned = [&line](std::size_t end, std::int32_t number) {
        do {
            line[--end] = static_cast<char>('0' + number % 10);
            number /= 10;
        } while (number > 0);
    };
    putRightAligned(4, index);
    line.replace(5, 7, kindWord(kind));
    putRightAligned(ListLineWidth, itemNumber);
    return line;
}

std::vector<std::string> listLines(const VswapHeader& header, const ChunkTable& table)
{
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(std::max(header.chunkCount, 0)));
    for (std::int32_t i = 0; i < header.chunkCount; ++i) {
        if (table.isListed(i))
            lines.push_back(formatListLine(i, kindOfChunk(header, i), table.itemNumber[i]));
    }
    return lines;
}

std::int32_t chunkIndexOfLine(std::string_view line) { return readLeadingNumber(line); }

std::int32_t itemNumberOfLine(std::string_view line) { return readNumberAt(line, 12, 16); }

}  // namespace pagelark
