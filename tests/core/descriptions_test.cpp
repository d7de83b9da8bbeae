#include "archive/descriptions.h"

#include "archive/leading_number.h"
#include "archive/list_line.h"
#include "archive/text_file.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace pagelark::testing {
namespace {

// Reads a description file with the given text into a table that was full
// of stale texts, so that every slot the reading leaves alone shows up.
DescriptionTable read(const std::string& text, std::int32_t spriteStart, std::int32_t soundStart)
{
    TempDir dir;
    const std::string path = dir.file("pics.txt");
    writeFileText(path, text);
    TextFile file;
    file.open(path);
    DescriptionTable table;
    const std::uint32_t stale = table.addText("stale");
    for (std::int64_t slot = 0; slot < ChunkSlots; ++slot)
        table.set(slot, stale);
    readDescriptions(file, spriteStart, soundStart, table);
    file.close();
    return table;
}

std::string lines(int count, const std::string& text)
{
    std::string out;
    for (int i = 0; i < count; ++i)
        out += text + std::to_string(i) + "\n";
    return out;
}

// A sprite-range line: the text padded to 32 characters, the number in 33-37.
std::string rangeLine(const std::string& text, int sprite)
{
    std::string number = std::to_string(sprite);
    return text + std::string(32 - text.size(), ' ') + std::string(5 - number.size(), ' ') + number + "\n";
}

constexpr std::int32_t SpriteStart = 40;
constexpr std::int32_t SoundStart = 140;

TEST(DescriptionWalls, OrdinaryLinesTakeTheirPairAndDoorLinesTheDoorSlots)
{
    const DescriptionTable table = read("A\nB Door\nC\nLocked\n", SpriteStart, SoundStart);
    EXPECT_EQ(table[0], "A");
    EXPECT_EQ(table[1], "A");
    EXPECT_EQ(table[2], "");  // the door line still used up position 1
    EXPECT_EQ(table[3], "");
    EXPECT_EQ(table[SpriteStart - 8], "B Door");
    EXPECT_EQ(table[SpriteStart - 7], "B Door");
    EXPECT_EQ(table[4], "C");
    EXPECT_EQ(table[5], "C");
    EXPECT_EQ(table[6], "Locked");
    EXPECT_EQ(table[7], "Locked");
    EXPECT_EQ(table[SpriteStart - 6], "");

    const DescriptionTable lockedDoor = read("A\nB Door\nC\nLocked Door\n", SpriteStart, SoundStart);
    EXPECT_EQ(lockedDoor[6], "");
    EXPECT_EQ(lockedDoor[SpriteStart - 6], "Locked Door");
    EXPECT_EQ(lockedDoor[SpriteStart - 5], "Locked Door");

    // Only "Door" with its capital makes a door line; "Locked" must start the line.
    const DescriptionTable lowerCase = read("back door\nNot Locked\nLocker\nLocked\n", SpriteStart, SoundStart);
    EXPECT_EQ(lowerCase[0], "back door");
    EXPECT_EQ(lowerCase[2], "Not Locked");
    EXPECT_EQ(lowerCase[4], "Locker");
    EXPECT_EQ(lowerCase[6], "Locked");
}

TEST(DescriptionWalls, AFifthDoorLineGoesToTheFirstSpritesUntilTheyAreRead)
{
    const std::string walls = "Door 1\nDoor 2\nDoor 3\nDoor 4\nDoor 5\nDoor 6\nLocked\n";
    const DescriptionTable wallsOnly = read(walls, SpriteStart, SoundStart);
    EXPECT_EQ(wallsOnly[SpriteStart - 2], "Door 4");
    EXPECT_EQ(wallsOnly[SpriteStart], "Door 5");
    EXPECT_EQ(wallsOnly[SpriteStart + 1], "Door 5");
    EXPECT_EQ(wallsOnly[SpriteStart + 2], "Door 6");
    EXPECT_EQ(wallsOnly[12], "Locked");

    const DescriptionTable withSprites = read(walls + lines(54, "S"), SpriteStart, SoundStart);
    EXPECT_EQ(withSprites[SpriteStart], "S0");
    EXPECT_EQ(withSprites[SpriteStart + 2], "S2");
    EXPECT_EQ(withSprites[SpriteStart + 53], "S53");
    EXPECT_EQ(withSprites[SpriteStart + 54], "");
}

TEST(DescriptionSprites, RangesRunToTheSoundsAndWeaponsCoverTwentySprites)
{
    const std::string blank = std::string(36, ' ') + "\n";  // no number: sprite 0
    const std::string text = "Locked\n" + lines(54, "S") + blank + rangeLine("Lower", 60) + rangeLine("Upper", 70)
        + rangeLine("Weapons", 75) + "Sound 0\nSound 1\n";
    const DescriptionTable table = read(text, SpriteStart, SoundStart);
    EXPECT_EQ(table[SpriteStart + 53], blank.substr(0, 36));  // ranges overwrite the first sprites
    EXPECT_EQ(table[SpriteStart + 59], blank.substr(0, 36));
    EXPECT_EQ(table[SpriteStart + 60], rangeLine("Lower", 60).substr(0, 37));
    EXPECT_EQ(table[SpriteStart + 69], rangeLine("Lower", 60).substr(0, 37));
    EXPECT_EQ(table[SpriteStart + 70], rangeLine("Upper", 70).substr(0, 37));
    EXPECT_EQ(table[SpriteStart + 75], rangeLine("Weapons", 75).substr(0, 37));
    EXPECT_EQ(table[SpriteStart + 94], rangeLine("Weapons", 75).substr(0, 37));
    EXPECT_EQ(table[SpriteStart + 95], "");
    EXPECT_EQ(table[SoundStart - 1], "");
    EXPECT_EQ(table[SoundStart], "Sound 0");
    EXPECT_EQ(table[SoundStart + 1], "Sound 1");
    EXPECT_EQ(table[SoundStart + 2], "");

    // A number beyond the sprites describes nothing.
    const DescriptionTable beyond
        = read("Locked\n" + lines(54, "S") + rangeLine("Far", 500) + rangeLine("Weapons", 90), SpriteStart, SoundStart);
    EXPECT_EQ(beyond[SpriteStart + 60], "");
    EXPECT_EQ(beyond[SoundStart], "");
}

TEST(DescriptionFile, EndingEarlyEndsTheBlockAndLeavesTheRestEmpty)
{
    const DescriptionTable noLocked = read("A\nB", SpriteStart, SoundStart);
    EXPECT_EQ(noLocked[0], "A");
    EXPECT_EQ(noLocked[2], "B");
    EXPECT_EQ(noLocked[4], "");
    EXPECT_EQ(noLocked[SpriteStart], "");

    const DescriptionTable fewSprites = read("Locked\nS0\nS1\n", SpriteStart, SoundStart);
    EXPECT_EQ(fewSprites[SpriteStart + 1], "S1");
    EXPECT_EQ(fewSprites[SpriteStart + 2], "");

    const DescriptionTable noWeapons
        = read("Locked\r\n" + lines(54, "S") + rangeLine("Range", 60), SpriteStart, SoundStart);
    EXPECT_EQ(noWeapons[0], "Locked");
    EXPECT_EQ(noWeapons[SoundStart - 1], rangeLine("Range", 60).substr(0, 37));
    EXPECT_EQ(noWeapons[SoundStart], "");

    const DescriptionTable empty = read("", SpriteStart, SoundStart);
    for (std::size_t slot = 0; slot < ChunkSlots; ++slot)
        ASSERT_EQ(empty[slot], "");
}

TEST(DescriptionFile, NothingIsStoredOutsideTheTable)
{
    // Door slots below slot 0: only the ones inside the table are kept.
    const DescriptionTable lowDoors = read("Door 1\nDoor 2\nDoor 3\nDoor 4\nLocked\n", 7, SoundStart);
    EXPECT_EQ(lowDoors[0], "Door 1");
    EXPECT_EQ(lowDoors[6], "Door 4");
    EXPECT_EQ(lowDoors[8], "Locked");
    const DescriptionTable noFile = read("Door 1\nLocked\n", 0, 0);
    EXPECT_EQ(noFile[0], "");
    EXPECT_EQ(noFile[2], "Locked");

    // 3100 wall lines: the pairs past slot 6143 are dropped.
    const DescriptionTable longWalls = read(lines(3100, "W") + "Locked\n", 6000, 6100);
    EXPECT_EQ(longWalls[6142], "W3071");
    EXPECT_EQ(longWalls[6143], "W3071");

    // Sounds near the end of the table, and ranges with a header beyond it.
    const DescriptionTable lateSounds
        = read("Locked\n" + lines(54, "S") + rangeLine("Weapons", 0) + lines(10, "Sound "), 6000, 6140);
    EXPECT_EQ(lateSounds[6143], "Sound 3");
    const DescriptionTable hugeHeader
        = read("Locked\n" + lines(54, "S") + rangeLine("Range", 0) + rangeLine("Weapons", 99999), 6100, 60000);
    EXPECT_EQ(hugeHeader[6143], rangeLine("Range", 0).substr(0, 37));
}

TEST(DescribedLine, ShowsTheSlotOfTheChunkOrOfItsSoundNumber)
{
    DescriptionTable table;
    table.set(3, table.addText("Wall three"));
    table.set(SpriteStart + 2, table.addText("Sprite two"));
    table.set(SoundStart + 5, table.addText("Sound five"));
    table.set(600, table.addText("Chunk 600"));

    EXPECT_EQ(describedLine(formatListLine(3, ItemKind::Wall, 3), SoundStart, table), "   3 wall      3  Wall three");
    EXPECT_EQ(describedLine(formatListLine(SpriteStart + 2, ItemKind::Sprite, 2), SoundStart, table),
              "  42 sprite    2  Sprite two");
    EXPECT_EQ(describedLine(formatListLine(600, ItemKind::Sound, 5), SoundStart, table),
              " 600 sound     5  Sound five");
    // A described line is described again, not extended.
    EXPECT_EQ(describedLine(" 600 sound     5  Old text", SoundStart, table), " 600 sound     5  Sound five");
    EXPECT_EQ(describedLine("3", SoundStart, table), "3  Wall three");
    // Slots outside the table have no text.
    EXPECT_EQ(describedLine("9999 sound  9999", 6000, table), "9999 sound  9999  ");
}

TEST(DescriptionFile, OneLongRangeLineIsKeptOnceAndListedCutShort)
{
    // A damaged file: a range line of a megabyte describes every sprite.
    std::string longLine = rangeLine("Range", 0);
    longLine.back() = 'x';
    longLine += std::string(1024 * 1024, 'x');
    const DescriptionTable table = read("Locked\n" + lines(54, "S") + longLine + "\n", SpriteStart, SoundStart);
    for (std::int32_t slot = SpriteStart; slot < SoundStart; ++slot)
        ASSERT_EQ(&table[static_cast<std::size_t>(slot)], &table[SpriteStart]) << slot;
    EXPECT_EQ(table[SpriteStart], longLine);
    EXPECT_EQ(describedLine(formatListLine(SpriteStart, ItemKind::Sprite, 0), SoundStart, table),
              formatListLine(SpriteStart, ItemKind::Sprite, 0) + "  " + longLine.substr(0, 1024));
}

// The shipped description files, read with the header of their game's file.
struct Layout {
    GameVersion version;
    std::int32_t spriteStart;
    std::int32_t soundStart;
    std::int32_t weapons;  // sprite number of the first weapon picture
    std::int32_t sounds;
};

DescriptionTable readFile(GameVersion version, std::int32_t spriteStart, std::int32_t soundStart)
{
    TextFile file;
    file.open(std::string(PAGELARK_DATA_DIR) + "/" + descriptionFileName(version));
    DescriptionTable table;
    readDescriptions(file, spriteStart, soundStart, table);
    return table;
}

class ShippedDescriptions : public ::testing::TestWithParam<Layout> {};

TEST_P(ShippedDescriptions, DescribeEveryChunkOfTheirLayout)
{
    const Layout layout = GetParam();
    const DescriptionTable table = readFile(layout.version, layout.spriteStart, layout.soundStart);
    const auto sprite = [&](int n) { return table[static_cast<std::size_t>(layout.spriteStart + n)]; };

    for (int slot = 0; slot < layout.soundStart + layout.sounds; ++slot) {
        const std::string& text = table[static_cast<std::size_t>(slot)];
        const bool afterWeapons = slot >= layout.spriteStart + layout.weapons + 20 && slot < layout.soundStart;
        EXPECT_EQ(text.empty(), afterWeapons) << "slot " << slot;
        EXPECT_EQ(text.find('\r'), std::string::npos) << "slot " << slot;
        EXPECT_LE(text.size(), 37u) << "slot " << slot;
    }
    EXPECT_EQ(table[static_cast<std::size_t>(layout.soundStart + layout.sounds)], "");

    EXPECT_EQ(table[0], "Grey stone 1");
    EXPECT_EQ(table[1], "Grey stone 1");
    EXPECT_EQ(table[static_cast<std::size_t>(layout.spriteStart - 8)], "Door");
    EXPECT_EQ(table[static_cast<std::size_t>(layout.spriteStart - 5)], "Door side (frame)");
    EXPECT_EQ(table[static_cast<std::size_t>(layout.spriteStart - 4)], "Elevator Door");
    EXPECT_EQ(table[static_cast<std::size_t>(layout.spriteStart - 1)], "Locked Door");
    EXPECT_EQ(sprite(0), "Demo");
    EXPECT_EQ(sprite(layout.weapons).substr(0, 7), "Weapons");
    EXPECT_EQ(sprite(layout.weapons + 19), sprite(layout.weapons));
    EXPECT_NE(table[static_cast<std::size_t>(layout.soundStart)].find("Halt!"), std::string::npos);

    // Every range line carries its own first sprite number.
    for (int n = 54; n < layout.weapons; ++n) {
        const std::int32_t first = readNumberAt(sprite(n), 33, 37);
        EXPECT_LE(first, n) << "sprite " << n;
        EXPECT_GE(first, 54) << "sprite " << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Games, ShippedDescriptions,
                         ::testing::Values(Layout{GameVersion::Wolf10Shareware, 106, 541, 415, 46},
                                           Layout{GameVersion::Wolf13, 106, 542, 416, 46},
                                           Layout{GameVersion::SpearOfDestiny, 134, 555, 401, 40}));

std::string spriteText(const DescriptionTable& table, std::int32_t spriteStart, int n)
{
    return table[static_cast<std::size_t>(spriteStart + n)].substr(0, 32);
}

TEST(ShippedDescriptionsSprites, NameTheRightPictures)
{
    const DescriptionTable wolf = readFile(GameVersion::Wolf13, 106, 542);
    EXPECT_EQ(spriteText(wolf, 106, 1), "DeathCam");
    EXPECT_EQ(spriteText(wolf, 106, 22), "Gold key");
    EXPECT_EQ(spriteText(wolf, 106, 23), "Silver key");
    EXPECT_EQ(spriteText(wolf, 106, 26), "Food");
    EXPECT_EQ(spriteText(wolf, 106, 27), "First-aid kit");
    EXPECT_EQ(spriteText(wolf, 106, 35), "Extra life");
    EXPECT_EQ(spriteText(wolf, 106, 42), "\"Call Apogee\" sign");
    EXPECT_EQ(spriteText(wolf, 106, 50), "Guard standing, front");
    EXPECT_EQ(spriteText(wolf, 106, 57).substr(0, 15), "Guard standing,");
    EXPECT_EQ(spriteText(wolf, 106, 58).substr(0, 21), "Guard walking frame 1");
    EXPECT_EQ(spriteText(wolf, 106, 65).substr(0, 21), "Guard walking frame 1");
    EXPECT_EQ(spriteText(wolf, 106, 66).substr(0, 21), "Guard walking frame 2");
    EXPECT_EQ(spriteText(wolf, 106, 95).substr(0, 10), "Guard dead");
    EXPECT_EQ(spriteText(wolf, 106, 98).substr(0, 14), "Guard shooting");
    EXPECT_EQ(spriteText(wolf, 106, 99).substr(0, 11), "Dog running");
    EXPECT_EQ(spriteText(wolf, 106, 138).substr(0, 11), "SS standing");
    EXPECT_EQ(spriteText(wolf, 106, 296).substr(0, 11), "Hans Grosse");
    EXPECT_EQ(spriteText(wolf, 106, 415).substr(0, 2), "BJ");

    // Without the DeathCam sign every later sprite comes one number earlier.
    const DescriptionTable shareware = readFile(GameVersion::Wolf10Shareware, 106, 541);
    EXPECT_EQ(spriteText(shareware, 106, 1), "Puddle of water");
    EXPECT_EQ(spriteText(shareware, 106, 21), "Gold key");
    EXPECT_EQ(spriteText(shareware, 106, 49), "Guard standing, front");
    EXPECT_EQ(spriteText(shareware, 106, 57).substr(0, 21), "Guard walking frame 1");
    EXPECT_EQ(spriteText(shareware, 106, 295).substr(0, 11), "Hans Grosse");

    const DescriptionTable spear = readFile(GameVersion::SpearOfDestiny, 134, 555);
    EXPECT_EQ(spriteText(spear, 134, 1), "DeathCam");
    EXPECT_EQ(spriteText(spear, 134, 53), "Spear of Destiny");
    EXPECT_EQ(spriteText(spear, 134, 54).substr(0, 21), "Guard standing, front");
    EXPECT_EQ(spriteText(spear, 134, 326).substr(0, 12), "Trans Grosse");
    EXPECT_EQ(spriteText(spear, 134, 400).substr(0, 19), "Angel of Death dead");
    EXPECT_EQ(spear[555 + 39], "Spear of Destiny picked up");
}

}  // namespace
}  // namespace pagelark::testing
