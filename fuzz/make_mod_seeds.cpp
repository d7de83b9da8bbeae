// Writes the mod target's seeds: mods of the target's original made as diff
// makes them (without pictures, which patch never inflates, but for one), an
// edit of every kind the program makes, each checked before it is written;
// each as a zip and unzipped (mod_members.h).
//   make_mod_seeds OUTDIR

#include "archive/run_error.h"
#include "fuzz/mod_members.h"
#include "fuzz/mod_original.h"
#include "fuzz/seed_maker.h"
#include "mods/mod_making.h"
#include "mods/mod_manifest_qt.h"
#include "mods/mod_result.h"
#include "pictures/sprite_encoder.h"

#include <exception>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>

namespace {

namespace fs = std::filesystem;
using namespace pagelark;
using Bytes = std::vector<std::uint8_t>;

Bytes counting(std::size_t size, std::uint8_t from)
{
    Bytes bytes(size);
    for (std::size_t n = 0; n < size; ++n)
        bytes[n] = static_cast<std::uint8_t>(from + n * 7);
    return bytes;
}

Bytes dotSprite()
{
    PixelGrid grid;
    grid.fill(EmptyIndex);
    grid[gridCell(20, 30)] = 4;
    return encodeSprite(grid);
}

struct Seed {
    const char* name;
    std::function<Bytes(fuzz::ModOriginal&)> changed;
};

Bytes edited(fuzz::ModOriginal& original, const std::function<void(PageFile&)>& edit)
{
    PageFile model = original.model;
    edit(model);
    return pageFileBytes(model, &original.file);
}

void insertChunk(PageFile& file, std::size_t at, Bytes bytes)
{
    file.chunks.insert(file.chunks.begin() + static_cast<std::ptrdiff_t>(at), heldChunk(std::move(bytes)));
}

const std::vector<Seed> Seeds = {
    {"unchanged", [](fuzz::ModOriginal& o) { return edited(o, [](PageFile&) {}); }},
    {"walls",
     [](fuzz::ModOriginal& o) {
         return edited(o, [](PageFile& f) {
             replaceChunk(f, 0, counting(4096, 1));
             replaceChunk(f, 1, counting(4096, 2));  // absent in the original
         });
     }},
    {"sprite", [](fuzz::ModOriginal& o) { return edited(o, [](PageFile& f) { replaceChunk(f, 3, dotSprite()); }); }},
    {"damaged-sprite",
     [](fuzz::ModOriginal& o) { return edited(o, [](PageFile& f) {
                                    replaceChunk(f, 3, {9, 0, 3, 0, 0, 0});
                                }); }},
    {"sound-longer",
     [](fuzz::ModOriginal& o) { return edited(o, [](PageFile& f) { replaceSound(f, 0, counting(9000, 3)); }); }},
    {"sound-shorter",
     [](fuzz::ModOriginal& o) { return edited(o, [](PageFile& f) { replaceSound(f, 1, counting(300, 4)); }); }},
    {"sound-added",
     [](fuzz::ModOriginal& o) { return edited(o, [](PageFile& f) { appendSound(f, counting(50, 5)); }); }},
    {"wall-and-sprite-added",
     [](fuzz::ModOriginal& o) {
         return edited(o, [](PageFile& f) {
             insertChunk(f, f.soundStart, dotSprite());
             insertChunk(f, f.spriteStart, counting(4096, 6));
             f.spriteStart = static_cast<std::uint16_t>(f.spriteStart + 1);
             f.soundStart = static_cast<std::uint16_t>(f.soundStart + 2);
         });
     }},
    {"bytes-outside",
     [](fuzz::ModOriginal& o) {
         Bytes bytes = edited(o, [](PageFile&) {});
         bytes[100] ^= 0x55;                // in the gap after the table
         bytes[bytes.size() - 10] ^= 0x55;  // after the last chunk
         bytes.push_back(0x77);
         return bytes;
     }},
};

// A mod whose sound table is its own, which no diff of files the program
// writes makes: its result's facts are those of the original with it.
Bytes soundTableMod(fuzz::ModOriginal& original, ModContents contents)
{
    SoundTable table{original.model.sounds, true};
    table.entries.back().length = 600;
    contents.manifest.soundTable = table;
    ModArchive archive(modZipBytes(contents));
    const ModPlan plan = archive.plan();
    const PageFile result = applyModArchive(original.model, archive.manifest(), plan);
    contents.manifest.result = writeModResult(result, &original.file, plan.resultBytes, std::int64_t{1} << 40,
                                              [](const std::uint8_t*, std::size_t) {});
    return modZipBytes(contents);
}

void writeSeed(const fs::path& folder, const std::string& name, const Bytes& bytes)
{
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!out)
        throw std::runtime_error("cannot write " + (folder / name).string());
}

}  // namespace

int main(int argc, char** argv)
{
    return fuzz::runSeedMaker(argc, argv, "make_mod_seeds", "OUTDIR", 1, [](char** operands) {
        const fs::path folder = fs::path(operands[0]) / "mod";
        fs::remove_all(folder);
        fs::create_directories(folder);
        fuzz::ModOriginal original;
        for (const Seed& seed : Seeds) {
            ByteFile changedFile;
            changedFile.openRead(fuzz::writeInputFile(seed.changed(original), "changed"));
            const PageFile changed = readPageFile(changedFile);
            ModContents contents = modContentsOfFiles(original.model, original.file, changed, changedFile, "seed");
            if (std::string(seed.name) == "walls") {
                contents.manifest.chunks.front().pictureFile = "wall0000.png";
                contents.members.push_back({"wall0000.png", {0x89, 'P', 'N', 'G'}});
            }
            const Bytes zip = modZipBytes(contents);
            checkModResult(zip, original.model, original.file);
            writeSeed(folder, seed.name, zip);
            std::vector<ZipMember> members{{ModManifestName, manifestJson(contents.manifest)}};
            members.insert(members.end(), contents.members.begin(), contents.members.end());
            writeSeed(folder, std::string(seed.name) + ".members", fuzz::membersInput(members));
            if (std::string(seed.name) == "unchanged") {
                const Bytes own = soundTableMod(original, contents);
                checkModResult(own, original.model, original.file);
                writeSeed(folder, "sound-table", own);
            }
        }
    });
}
