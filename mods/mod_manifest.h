#pragma once

// A mod's manifest, mod.json, as the program holds it: what file the mod
// applies to, what file it makes, and the name of each member that holds a
// change. The JSON is read and written by mod_manifest_qt.

#include "archive/chunk_table.h"
#include "mods/mod_plan.h"
#include "mods/mod_result.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pagelark {

constexpr const char* ModManifestName = "mod.json";
constexpr const char* ModFormatName = "pagelark-mod";
constexpr int ModFormatVersion = 1;

// One wall, sprite or sound the mod changes or adds.
struct ModEntry : ChunkChange {
    std::uint32_t length = 0;  // the chunk's bytes (an absent one's table length), a sound's samples
    std::string bytesFile;     // a wall's or sprite's bytes (.bin), a sound's WAV file; none when absent
    std::string pictureFile;   // a wall's or sprite's PNG, when it has a picture; only to be looked at

    bool operator==(const ModEntry&) const = default;
};

// A run of the result's bytes outside its chunks, held in a member.
struct ModBytesEntry {
    std::int64_t offset = 0;
    std::uint32_t length = 0;
    std::string file;

    bool operator==(const ModBytesEntry&) const = default;
};

struct ModManifest {
    int formatVersion = ModFormatVersion;
    std::string programVersion;
    FileFacts original;
    std::string originalGame;  // wolf10, wolf13 or spear when its header tells; empty otherwise
    FileFacts result;
    std::int32_t chunkCount = 0;  // the result's header
    std::int32_t spriteStart = 0;
    std::int32_t soundStart = 0;
    std::vector<ModEntry> chunks;
    std::optional<SoundTable> soundTable;
    std::optional<std::int64_t> trailingLength;
    std::vector<ModBytesEntry> bytes;

    bool operator==(const ModManifest&) const = default;
};

}  // namespace pagelark
