// The entry point of the sound import module, which the window loads when it
// first imports a sound.
#include "sounds/sound_import_operations.h"

extern "C" __attribute__((visibility("default"))) const pagelark::SoundImportOperations*
pagelark_sound_import_operations()
{
    return &pagelark::linkedSoundImportOperations();
}
