#include "app/desktop/deferred_sound_output.h"

#include <QLibrary>
#include <QString>

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
    for (const std::string& path : modulePaths_) {
        QLibrary module(QString::fromStdString(path));
        if (!module.load())
            continue;
        if (const auto create = reinterpret_cast<Entry>(module.resolve(SoundModuleEntry))) {
            output_.reset(create());
            return;
        }
        module.unload();
    }
}

std::vector<std::string> soundModulePaths(const std::string& programDir)
{
    return {programDir + SoundModuleName, programDir + "../lib/pagelark/" + SoundModuleName};
}

}  // namespace pagelark
