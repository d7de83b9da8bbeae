#include "app/desktop/deferred_sound_output.h"

#include "app/desktop/program_modules.h"

namespace pagelark {

DeferredSoundOutput::DeferredSoundOutput(std::vector<std::string> modulePaths) : modulePaths_(std::move(modulePaths)) {}

// The module stays loaded for the rest of the run: the output's code lives in it.
DeferredSoundOutput::~DeferredSoundOutput() = default;

void DeferredSoundOutput::playSound(const SoundRequest& request)
{
    // Until something has played there is nothing to stop.
    if (!output_ && !request.name)
        return;
    if (!tried_)
        load();
    if (output_)
        output_->playSound(request);
}

void DeferredSoundOutput::load()
{
    tried_ = true;
    using Entry = SoundOutput* (*)();
    if (const auto create = reinterpret_cast<Entry>(moduleEntry(modulePaths_, SoundModuleEntry)))
        output_.reset(create());
}

std::vector<std::string> soundModulePaths(const std::string& programDir)
{
    return modulePaths(programDir, SoundModuleName);
}

}  // namespace pagelark
