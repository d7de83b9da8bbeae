// diff then patch gives the changed page file back byte for byte, for every
// kind of file the tests build and every kind of edit the program makes;
// a mod holds nothing of a chunk that did not change.
#include "archive/byte_file.h"
#include "archive/page_file.h"
#include "archive/run_error.h"
#include "mods/mod_apply.h"
#include "mods/mod_manifest_qt.h"
#include "mods/mod_zip.h"
#include "pictures/sprite_encoder.h"
#include "tests/cli/mod_commands.h"
#include "tests/support/counting_bytes.h"
#include "tests/support/odd_page_files.h"
#include "tests/support/sample_vswap.h"
#include "tests/support/vswap_writer.h"
#include "tools/demo_vswap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <set>

namespace pagelark::testing {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes counting(std::size_t size, std::uint8_t from) { return countingBytes(size, from, 3); }

Bytes barSprite(std::uint8_t index)
{
    PixelGrid grid;
    grid.fill(EmptyIndex);
    for (int y = 5; y < 30; ++y)
        grid[gridCell(7, y)] = index;
    return encodeSprite(grid);
}

// The first column after the last: no sprite.
const Bytes NoSprite = {9, 0, 3, 0, 0, 0};

// Bytes of the sound's own length, changed.
Bytes soundOf(std::size_t length) { return counting(length, 0x41); }

// An edit of the model read from a file, written back as the program writes
// page files; false when the file has nothing it could change.
using Edit = std::function<bool(PageFile&)>;

struct EditCase {
    const char* name;
    Edit edit;
};

void insertChunk(PageFile& file, std::size_t at, Bytes bytes)
{
    file.chunks.insert(file.chunks.begin() + static_cast<std::ptrdiff_t>(at), heldChunk(std::move(bytes)));
}

const std::vector<EditCase>& edits()
{
    static const std::vector<EditCase> cases
        = {{"the first and the last wall replaced",
            [](PageFile& file) {
                replaceChunk(file, 0, counting(4096, 7));
                replaceChunk(file, static_cast<std::int32_t>(wallCount(file) - 1), counting(4096, 9));
                return true;
            }},
           {"a sprite replaced",
            [](PageFile& file) {
                if (spriteCount(file) == 0)
                    return false;
                replaceChunk(file, file.spriteStart, barSprite(40));
                return true;
            }},
           {"a sprite that does not decode",
            [](PageFile& file) {
                if (spriteCount(file) == 0)
                    return false;
                replaceChunk(file, static_cast<std::int32_t>(file.soundStart - 1), NoSprite);
                return true;
            }},
           {"the first sound longer by pages",
            [](PageFile& file) {
                replaceSound(file, 0, soundOf(file.sounds[0].length + 4096 + 100));
                return true;
            }},
           {"the last sound shorter",
            [](PageFile& file) {
                const auto last = static_cast<std::int32_t>(file.sounds.size() - 1);
                replaceSound(file, last, soundOf(std::max<std::size_t>(1, file.sounds.back().length / 3)));
                return true;
            }},
           {"a sound added",
            [](PageFile& file) {
                appendSound(file, soundOf(5000));
                return true;
            }},
           // As pack adds them, with sprite-start and sound-start raised: in no
           // place of their own, after the chunk before them.
           {"a wall and two sprites added", [](PageFile& file) {
                insertChunk(file, file.soundStart, barSprite(3));
                insertChunk(file, file.soundStart + 1, NoSprite);
                file.soundStart = static_cast<std::uint16_t>(file.soundStart + 2);
                insertChunk(file, file.spriteStart, counting(4096, 11));
                file.spriteStart = static_cast<std::uint16_t>(file.spriteStart + 1);
                file.soundStart = static_cast<std::uint16_t>(file.soundStart + 1);
                return true;
            }}};
    return cases;
}

std::vector<testing::OddPageFile> originals()
{
    std::vector<testing::OddPageFile> files = testing::oddPageFiles();
    // Laid out by other tools with nothing after the last chunk, so that its
    // sounds can change.
    files.push_back({"other tools, nothing after",
                     tools::VswapWriter()
                         .wall({counting(4096, 1), false, {}})
                         .sprite({barSprite(5), false, {}})
                         .soundPage({counting(4096, 2), false, {}})
                         .soundPage({counting(900, 3), false, {}})
                         .soundPage({counting(40, 4), false, {}})
                         .sound(0, 4996)
                         .sound(2, 40)
                         .withoutAlignment()
                         .build()});
    files.push_back({"full size", testing::fullSizeVswap()});
    files.push_back({"demo", tools::buildDemoVswap()});
    return files;
}

// None where the file has nothing to change, or the program refuses the
// edit (the other tools' file, whose bytes after the last chunk are read
// as sound entries, cannot take a sound that moves those).
std::optional<Bytes> edited(const std::string& path, const Edit& edit)
{
    ByteFile file;
    file.openRead(path);
    PageFile model = readPageFile(file);
    try {
        if (!edit(model))
            return std::nullopt;
        return pageFileBytes(model, &file);
    } catch (const RunError&) {
        return std::nullopt;
    }
}

class ModRoundTrip : public ::testing::Test {
protected:
    // Diff, then patch: the output is the changed file.
    void expectRoundTrip(const Bytes& changed)
    {
        writeFileBytes(dir_.file("CHANGED"), changed);
        testing::diffFiles(dir_.file("ORIGINAL"), dir_.file("CHANGED"), dir_.file("mod.zip"));
        testing::patchFile(dir_.file("ORIGINAL"), dir_.file("mod.zip"), dir_.file("OUT"));
        EXPECT_EQ(readFileBytes(dir_.file("OUT")), changed);
    }

    TempDir dir_;
};

TEST_F(ModRoundTrip, EveryEditOfEveryFileComesBackByteForByte)
{
    for (const testing::OddPageFile& original : originals()) {
        writeFileBytes(dir_.file("ORIGINAL"), original.bytes);
        SCOPED_TRACE(original.name);
        {
            SCOPED_TRACE("no change");
            expectRoundTrip(original.bytes);
        }
        for (const EditCase& edit : edits()) {
            SCOPED_TRACE(edit.name);
            if (const std::optional<Bytes> changed = edited(dir_.file("ORIGINAL"), edit.edit))
                expectRoundTrip(*changed);
        }
        // A byte outside every chunk: the first of the gap after the table, where there is one.
        Bytes changed = original.bytes;
        const std::size_t tableEnd = 6 + 6 * static_cast<std::size_t>(changed[0] | (changed[1] << 8));
        const auto firstChunk = static_cast<std::size_t>(changed[6] | (changed[7] << 8) | (changed[8] << 16));
        if (firstChunk > tableEnd) {
            SCOPED_TRACE("a byte between the table and the first chunk");
            changed[tableEnd] ^= 0x3C;
            expectRoundTrip(changed);
        }
    }
}

TEST_F(ModRoundTrip, AModHoldsTheChangedChunksAloneEachWithItsPictureWhenItHasOne)
{
    writeFileBytes(dir_.file("ORIGINAL"), testing::fullSizeVswap());
    const std::optional<Bytes> changed = edited(dir_.file("ORIGINAL"), [](PageFile& file) {
        replaceChunk(file, 2, counting(4096, 1));
        replaceChunk(file, file.spriteStart + 5, barSprite(9));
        replaceChunk(file, file.spriteStart + 6, NoSprite);
        replaceSound(file, 1, soundOf(12000));  // moves every later sound
        return true;
    });
    expectRoundTrip(*changed);
    std::set<std::string> names;
    for (const ZipMember& member : zipMembers(dir_.file("mod.zip")))
        names.insert(member.name);
    EXPECT_EQ(names,
              (std::set<std::string>{"mod.json", "wall0002.bin", "wall0002.png", "sprite0005.bin", "sprite0005.png",
                                     "sprite0006.bin", "sound0001.wav"}));

    // The sound moved the later ones along without making them changed; the
    // manifest names the game and each chunk where it is.
    ZipReader zip(readFileBytes(dir_.file("mod.zip")));
    const ModManifest manifest = parseManifest(zip.read("mod.json", 1 << 20));
    EXPECT_EQ(manifest.originalGame, "wolf13");
    ASSERT_EQ(manifest.chunks.size(), 4u);
    EXPECT_EQ(manifest.chunks[1].index, testing::FullSizeWalls + 5);
    EXPECT_EQ(manifest.chunks[3].index, testing::FullSizeSoundStart + 3);
}

TEST_F(ModRoundTrip, AChangedFileNoModGivesBackIsRefusedAndNoModWritten)
{
    const Bytes otherTools = testing::otherToolsVswap();
    const Bytes longTable = testing::oddPageFiles().back().bytes;
    const struct {
        const char* name;
        const Bytes& original;
        std::function<Bytes(const std::string&)> changed;
        const char* says;
    } cases[] = {
        {"laid out anew", otherTools,
         [](const std::string& path) {
             return edited(path,
                           [](PageFile& file) {
                               file.keepsPlaces = false;
                               return true;
                           })
                 .value();
         },
         "its table differs"},
        {"a wall fewer", otherTools,
         [](const std::string& path) {
             return edited(path,
                           [](PageFile& file) {
                               file.chunks.erase(file.chunks.begin());
                               --file.spriteStart;
                               --file.soundStart;
                               return true;
                           })
                 .value();
         },
         "it has 1 wall, the original 2"},
        {"the sound information's own bytes changed", longTable,
         [](const std::string& path) {
             Bytes bytes = readFileBytes(path);
             const auto info = static_cast<std::size_t>(bytes[14] | (bytes[15] << 8));
             bytes[info + 10] ^= 1;  // after its entry and the entry of zeros
             return bytes;
         },
         "(chunk 2) differs"},
    };
    for (const auto& refused : cases) {
        SCOPED_TRACE(refused.name);
        writeFileBytes(dir_.file("ORIGINAL"), refused.original);
        writeFileBytes(dir_.file("CHANGED"), refused.changed(dir_.file("ORIGINAL")));
        try {
            testing::diffFiles(dir_.file("ORIGINAL"), dir_.file("CHANGED"), dir_.file("refused.zip"));
            ADD_FAILURE() << "no refusal";
        } catch (const RunError& error) {
            EXPECT_NE(std::string(error.text()).find(dir_.file("CHANGED") + ": no mod of"), std::string::npos)
                << error.text();
            EXPECT_NE(std::string(error.text()).find(refused.says), std::string::npos) << error.text();
        }
        EXPECT_FALSE(std::filesystem::exists(dir_.file("refused.zip")));
    }
}

}  // namespace
}  // namespace pagelark::testing
