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

bool startsWith(std::string_view line, std::string_view prefix) { return line.substr(0, prefix.size()) == prefix; }

bool inTable(std::int64_t slot) { return slot >= 0 && slot < ChunkSlots; }

// Slots are computed in 64 bits so that no header value can overflow them;
// a slot outside the table is skipped, never stored.
void store(DescriptionTable& table, std::int64_t slot, std::string text)
{
    if (inTable(slot))
        table.set(slot, table.addText(std::move(text)));
}

void storePair(DescriptionTable& table, std::int64_t first, std::string text)
{
    if (!inTable(first) && !inTable(first + 1))
        return;
    const std::uint32_t kept = table.addText(std::move(text));
    table.set(first, kept);
    table.set(first + 1, kept);
}

void readWalls(TextFile& file, std::int64_t spriteStart, DescriptionTable& table)
{
    std::int64_t doorLines = 0;
    for (std::int64_t position = 0; !file.eof(); ++position) {
        std::string line = file.readLine();
        const bool locked = startsWith(line, "Locked");
        if (line.find("Door") != std::string::npos) {
            ++doorLines;
            storePair(table, spriteStart - DoorChunks - 2 + 2 * doorLines, std::move(line));
        } else {
            storePair(table, 2 * position, std::move(line));
        }
        if (locked)
            return;
    }
}

void readFirstSprites(TextFile& file, std::int64_t spriteStart, DescriptionTable& table)
{
    for (std::int64_t sprite = 0; sprite < FirstSpriteLines && !file.eof(); ++sprite)
        store(table, spriteStart + sprite, file.readLine());
}

// Each range line describes the sprites from its own number up to the first
// sound, over the lines before it: a slot ends with the last line that
// reaches it. So the lines are laid down from the last one back, each only
// up to where a later one begins, and every slot is filled once.
class SpriteRanges {
public:
    SpriteRanges(std::int64_t soundStart, DescriptionTable& table) : end_(soundStart), table_(table) {}

    void add(std::int64_t firstSlot, std::uint32_t text) { ranges_.push_back({firstSlot, text}); }

    void layDown()
    {
        std::int64_t coveredFrom = std::min<std::int64_t>(end_, ChunkSlots);
        for (auto range = ranges_.rbegin(); range != ranges_.rend(); ++range) {
            for (std::int64_t slot = std::max<std::int64_t>(range->firstSlot, 0); slot < coveredFrom; ++slot)
                table_.set(slot, range->text);
            coveredFrom = std::min(coveredFrom, range->firstSlot);
        }
        ranges_.clear();
    }

private:
    struct Range {
        std::int64_t firstSlot;
        std::uint32_t text;
    };
    std::int64_t end_;
    DescriptionTable& table_;
    std::vector<Range> ranges_;
};

void readSpriteRanges(TextFile& file, std::int64_t spriteStart, std::int64_t soundStart, DescriptionTable& table)
{
    // A range line's first sprite number stands in its columns 33 to 37.
    constexpr std::size_t NumberFirst = 33;
    constexpr std::size_t NumberLast = 37;
    SpriteRanges ranges(soundStart, table);
    try {
        while (!file.eof()) {
            std::string line = file.readLine();
            const std::int64_t sprite = readNumberAt(line, NumberFirst, NumberLast);
            const bool weapons = startsWith(line, "Weapons");
            // A line that reaches no slot of the table need not be kept.
            if (spriteStart + sprite < std::min<std::int64_t>(soundStart, ChunkSlots))
                ranges.add(spriteStart + sprite, table.addText(std::move(line)));
            if (weapons) {
                ranges.add(spriteStart + sprite + WeaponSprites, DescriptionTable::Empty);
                break;
            }
        }
    } catch (...) {
        // The lines read before an error keep their slots.
        ranges.layDown();
        throw;
    }
    ranges.layDown();
}

void readSounds(TextFile& file, std::int64_t soundStart, DescriptionTable& table)
{
    // Lines past the table are still read, so that a fault later in the file
    // is reported as it would be for any other line.
    for (std::int64_t sound = 0; !file.eof(); ++sound)
        store(table, soundStart + sound, file.readLine());
}

}  // namespace

namespace {

// Each game version's name and description file.
struct VersionWords {
    GameVersion version;
    const char* name;
    const char* descriptionFile;
};
constexpr VersionWords GameVersionWords[] = {{GameVersion::Wolf10Shareware, "wolf10", "wolf10swpics.txt"},
                                             {GameVersion::Wolf13, "wolf13", "wolfpics.txt"},
                                             {GameVersion::SpearOfDestiny, "spear", "spearpics.txt"}};

const VersionWords* wordsOf(GameVersion version)
{
    for (const VersionWords& words : GameVersionWords)
        if (words.version == version)
            return &words;
    return nullptr;
}

}  // namespace

const char* descriptionFileName(GameVersion version)
{
    const VersionWords* words = wordsOf(version);
    return words != nullptr ? words->descriptionFile : "";
}

const char* gameVersionName(GameVersion version)
{
    const VersionWords* words = wordsOf(version);
    return words != nullptr ? words->name : "";
}

void DescriptionTable::clear()
{
    texts_.assign(1, std::string());
    slotTexts_.fill(Empty);
}

std::uint32_t DescriptionTable::addText(std::string text)
{
    texts_.push_back(std::move(text));
    return static_cast<std::uint32_t>(texts_.size() - 1);
}

void DescriptionTable::set(std::int64_t slot, std::uint32_t text)
{
    if (inTable(slot))
        slotTexts_[static_cast<std::size_t>(slot)] = text;
}

void readDescriptions(TextFile& file, std::int32_t spriteStart, std::int32_t soundStart, DescriptionTable& table)
{
    table.clear();
    readWalls(file, spriteStart, table);
    readFirstSprites(file, spriteStart, table);
    readSpriteRanges(file, spriteStart, soundStart, table);
    readSounds(file, soundStart, table);
}

std::string describedLine(std::string_view line, std::int32_t soundStart, const DescriptionTable& table)
{
    const std::int64_t index = chunkIndexOfLine(line);
    const std::int64_t slot = index >= soundStart ? std::int64_t{soundStart} + itemNumberOfLine(line) : index;
    const std::string_view text = inTable(slot)
        ? std::string_view(table[static_cast<std::size_t>(slot)]).substr(0, LongestListedDescription)
        : std::string_view();
    const std::string_view head = line.substr(0, ListLineWidth);
    std::string described;
    described.reserve(head.size() + 2 + text.size());
    described.append(head).append("  ").append(text);
    return described;
}

}  // namespace pagelark
