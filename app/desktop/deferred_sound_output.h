#pragma once

#include "sounds/sound_output.h"

#include <memory>
#include <string>
#include <vector>

namespace pagelark {

// The name of the sound module's entry point, which returns a new sound
// output the caller owns.
inline constexpr char SoundModuleEntry[] = "pagelark_create_sound_output";
// The module's file name, next to the window's program file in a build
// folder and in lib/pagelark of an install.
inline constexpr char SoundModuleName[] = "pagelark-sound.so";

// The sound output, loaded from its module when the first sound is to be
// played. Sound output brings Qt Multimedia and a dozen libraries of its
// own; a window that only shows pictures never loads them. A module that
// cannot be loaded means silence, as a missing device does: nothing is
// heard and nothing is reported, and no later request tries again.
class DeferredSoundOutput : public SoundOutput {
public:
    // The module is the first of these files that loads.
    explicit DeferredSoundOutput(std::vector<std::string> modulePaths);
    ~DeferredSoundOutput() override;

    void playSound(const SoundRequest& request) override;

    // Whether a sound output has been loaded.
    bool loaded() const { return output_ != nullptr; }

private:
    void load();

    std::vector<std::string> modulePaths_;
    bool tried_ = false;
    std::unique_ptr<SoundOutput> output_;
};

// Where the module may be for a program in programDir (ending with '/').
std::vector<std::string> soundModulePaths(const std::string& programDir);

}  // namespace pagelark
