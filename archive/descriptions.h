#pragma once

#include "archive/chunk_table.h"

#include <array>
#include <string>
#include <string_view>

namespace pagelark {

class TextFile;

// One description per possible chunk index; a sound's text sits at
// soundStart + its sound number.
using DescriptionTable = std::array<std::string, ChunkSlots>;

// The description file of each game version, by the version's item index.
enum class GameVersion { Wolf10Shareware = 0, Wolf13 = 1, SpearOfDestiny = 2 };
const char* descriptionFileName(GameVersion version);

// Empties the table and reads the four blocks of a description file into it:
// walls (door lines to the door slots, ending with the "Locked" line), the 54
// first sprites, the sprite ranges (ending with the "Weapons" line), then one
// line per sound. The end of the file ends whatever block is being read. Lines
// that would fall outside the table are skipped. Slots filled before an error
// keep their new texts.
void readDescriptions(TextFile& file, std::int32_t spriteStart, std::int32_t soundStart, DescriptionTable& table);

// A list line with the description of its chunk: its first 16 characters,
// two spaces, and the text of its slot (a sound's own slot for sound chunks).
std::string describedLine(std::string_view line, std::int32_t soundStart, const DescriptionTable& table);

}  // namespace pagelark
