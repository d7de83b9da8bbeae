#pragma once

#include "archive/chunk_table.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

class TextFile;

// One description per possible chunk index; a sound's text sits at
// soundStart + its sound number. Each text is kept once, however many slots
// it describes: a sprite range line may describe hundreds of sprites.
class DescriptionTable {
public:
    DescriptionTable() { clear(); }

    // The text of a slot of the table; "" for an empty one.
    const std::string& operator[](std::size_t slot) const { return texts_[slotTexts_[slot]]; }

    // Every slot empty, no text kept.
    void clear();
    // Keeps a text for the slots to come; its number for set().
    std::uint32_t addText(std::string text);
    // Gives a slot a kept text (0 empties it); slots outside the table are left out.
    void set(std::int64_t slot, std::uint32_t text);

    static constexpr std::uint32_t Empty = 0;

private:
    std::vector<std::string> texts_;
    std::array<std::uint32_t, ChunkSlots> slotTexts_{};
};

// The description file of each game version, by the version's item index.
enum class GameVersion { Wolf10Shareware = 0, Wolf13 = 1, SpearOfDestiny = 2 };
const char* descriptionFileName(GameVersion version);
// The names the command line and the JSON list give the game versions: wolf10, wolf13, spear.
const char* gameVersionName(GameVersion version);

// Empties the table and reads the four blocks of a description file into it:
// walls (door lines to the door slots, ending with the "Locked" line), the 54
// first sprites, the sprite ranges (ending with the "Weapons" line), then one
// line per sound. The end of the file ends whatever block is being read. Lines
// that would fall outside the table are skipped. Slots filled before an error
// keep their new texts.
void readDescriptions(TextFile& file, std::int32_t spriteStart, std::int32_t soundStart, DescriptionTable& table);

// A description longer than this is cut there in the list: no real one comes
// near it, and a damaged file's megabyte-long line, describing hundreds of
// sprites, would otherwise fill the memory with copies of itself.
constexpr std::size_t LongestListedDescription = 1024;

// A list line with the description of its chunk: its first 16 characters,
// two spaces, and the text of its slot (a sound's own slot for sound chunks).
std::string describedLine(std::string_view line, std::int32_t soundStart, const DescriptionTable& table);

}  // namespace pagelark
