#pragma once

#include "mods/mod_manifest.h"
#include "mods/mod_plan.h"
#include "mods/mod_zip.h"

#include <cstdint>
#include <vector>

namespace pagelark {

struct PageFile;

// A mod as its zip holds it: the manifest, and the members it names.
struct ModContents {
    ModManifest manifest;
    std::vector<ZipMember> members;  // without mod.json
};

// The manifest's entries and runs for a plan, and the members that hold
// their bytes: each wall's and sprite's chunk as wallNNNN.bin or
// spriteNNNN.bin, each sound as soundNNNN.wav, each run of bytes outside
// the chunks as bytesNNNN.bin. The rest of the manifest, and the pictures,
// are the caller's.
ModContents modContentsOf(const ModPlan& plan);

// The name of a wall's or sprite's picture in a mod: wallNNNN.png, spriteNNNN.png.
std::string modPictureName(ItemKind kind, std::int32_t number);

// The zip file of a mod: mod.json first, then the members.
std::vector<std::uint8_t> modZipBytes(const ModContents& contents);

// A mod read from the bytes of its zip file (see ZipReader for the checks
// on the zip itself): its manifest parsed, and every member named by it
// once, every name it gives a plain one that the zip holds. Errors are
// RunErrors that say what is wrong; the caller names the mod.
class ModArchive {
public:
    explicit ModArchive(std::vector<std::uint8_t> zipBytes);

    const ModManifest& manifest() const { return manifest_; }

    // The plan the mod holds: each member read within the size its entry
    // needs, which it must have exactly (a sound's WAV file the header the
    // program writes and its samples), the runs of bytes in order and apart.
    ModPlan plan();

private:
    ZipReader zip_;
    ModManifest manifest_;
};

// The original with a mod's plan applied (see applyMod), the header it
// makes checked against the one the manifest gives.
PageFile applyModArchive(const PageFile& original, const ModManifest& manifest, const ModPlan& plan);

}  // namespace pagelark
