#include "archive/descriptions.h"

#include "archive/leading_number.h"
#include "archive/list_line.h"
#include "archive/text_file.h"

#include <algorithm>
#include <string>

namespace pagelark {

namespace {

// The sprite ranges end at the weapons line; the player's 20 weapon pictures
// follow it, and whatever comes after them has no description.
constexpr std::int64_t WeaponSprites = 20;
constexpr std::int64_t FirstSpriteLines = 54;
// The eight door chunks (four pairs) sit right below the first sprite.
constexpr std::int64_t DoorChunks = 8;
constexpr std::size_t RangeNumberFirst = 33;
constexpr std::size_t RangeNumberLast = 37;

bool startsWith(std::string_view line, std::string_view prefix) { return line.substr(0, prefix.size()) == prefix; }

bool inTable(std::int64_t slot) { return slot >= 0 && slot < ChunkSlots; }

// Slots are computed in 64 bits so that no header value can overflow them;
// a slot outside the table is skipped, never stored.
void store(DescriptionTable& table, std::int64_t slot, const std::string& text)
{
    if (inTable(slot))
        table[static_cast<std::size_t>(slot)] = text;
}

// Every slot from first up to last, both included, clipped to the table.
void storeRange(DescriptionTable& table, std::int64_t first, std::int64_t last, const std::string& text)
{
    first = std::max<std::int64_t>(first, 0);
    last = std::min<std::int64_t>(last, ChunkSlots - 1);
    for (std::int64_t slot = first; slot <= last; ++slot)
        table[static_cast<std::size_t>(slot)] = text;
}

void readWalls(TextFile& file, std::int64_t spriteStart, DescriptionTable& table)
{
    std::int64_t doorLines = 0;
    for (std::int64_t position = 0; !file.eof(); ++position) {
        const std::string line = file.readLine();
        if (line.find("Door") != std::string::npos) {
            ++doorLines;
            const std::int64_t first = spriteStart - DoorChunks - 2 + 2 * doorLines;
            store(table, first, line);
            store(table, first + 1, line);
        } else {
            store(table, 2 * position, line);
            store(table, 2 * position + 1, line);
        }
        if (startsWith(line, "Locked"))
            return;
    }
}

void readFirstSprites(TextFile& file, std::int64_t spriteStart, DescriptionTable& table)
{
    for (std::int64_t sprite = 0; sprite < FirstSpriteLines && !file.eof(); ++sprite)
        store(table, spriteStart + sprite, file.readLine());
}

void readSpriteRanges(TextFile& file, std::int64_t spriteStart, std::int64_t soundStart, DescriptionTable& table)
{
    while (!file.eof()) {
        const std::string line = file.readLine();
        const std::int64_t sprite = readNumberAt(line, RangeNumberFirst, RangeNumberLast);
        storeRange(table, spriteStart + sprite, soundStart - 1, line);
        if (startsWith(line, "Weapons")) {
            storeRange(table, spriteStart + sprite + WeaponSprites, soundStart - 1, std::string());
            return;
        }
    }
}

void readSounds(TextFile& file, std::int64_t soundStart, DescriptionTable& table)
{
    // Lines past the table are still read, so that a fault later in the file
    // is reported as it would be for any other line.
    for (std::int64_t sound = 0; !file.eof(); ++sound)
        store(table, soundStart + sound, file.readLine());
}

}  // namespace

const char* descriptionFileName(GameVersion version)
{
    switch (version) {
    case GameVersion::Wolf10Shareware:
        return "wolf10swpics.txt";
    case GameVersion::Wolf13:
        return "wolfpics.txt";
    case GameVersion::SpearOfDestiny:
        return "spearpics.txt";
    }
    return "";
}

void readDescriptions(TextFile& file, std::int32_t spriteStart, std::int32_t soundStart, DescriptionTable& table)
{
    table.fill(std::string());
    readWalls(file, spriteStart, table);
    readFirstSprites(file, spriteStart, table);
    readSpriteRanges(file, spriteStart, soundStart, table);
    readSounds(file, soundStart, table);
}

std::string describedLine(std::string_view line, std::int32_t soundStart, const DescriptionTable& table)
{
    const std::int64_t index = chunkIndexOfLine(line);
    const std::int64_t slot = index >= soundStart ? std::int64_t{soundStart} + itemNumberOfLine(line) : index;
    std::string described(line.substr(0, ListLineWidth));
    described += "  ";
    if (inTable(slot))
        described += table[static_cast<std::size_t>(slot)];
    return described;
}

}  // namespace pagelark
