#pragma once

#include "sounds/sound_import.h"

#include <string>

namespace pagelark {

// What the window imports sounds with. The window loads it from a module of
// its own (pagelark-sound-import.so) when it first imports a sound, so that
// libsndfile and the codecs it brings (FLAC, Vorbis, Opus, MP3) are not in
// its memory before; programs that link the sound import take it from there.
struct SoundImportOperations {
    // See importSound.
    ImportedSound (*importSoundFile)(const std::string& path, const SoundImportOptions& options);
};

inline constexpr char SoundImportModuleName[] = "pagelark-sound-import.so";
// The module's entry: a function of no arguments that gives its SoundImportOperations.
inline constexpr char SoundImportModuleEntry[] = "pagelark_sound_import_operations";

// The sound import linked into the program.
const SoundImportOperations& linkedSoundImportOperations();

}  // namespace pagelark
