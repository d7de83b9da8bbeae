#include "sounds/sound_import_operations.h"

namespace pagelark {

const SoundImportOperations& linkedSoundImportOperations()
{
    static constexpr SoundImportOperations operations{
        static_cast<ImportedSound (*)(const std::string&, const SoundImportOptions&)>(&importSound)};
    return operations;
}

}  // namespace pagelark
