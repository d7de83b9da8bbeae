#pragma once

#include "sounds/sound_output.h"

#include <string>

namespace pagelark {

// Where a player's sound comes from; a file is the only source the program uses.
enum class TabfWavPlayFrom { pfFile };

// The window's sound player: properties that make up a play request, and
// Play and Stop, which hand requests to the sound output. The file is not
// touched when its name is set; the output reads it at each Play, so what is
// heard is the file as it is at that moment.
class TabfWav {
public:
    explicit TabfWav(SoundOutput& output) : output_(output) {}
    ~TabfWav() { Stop(); }
    TabfWav(const TabfWav&) = delete;
    TabfWav& operator=(const TabfWav&) = delete;

    std::string FileName;
    TabfWavPlayFrom PlayFrom = TabfWavPlayFrom::pfFile;
    bool AsyncPlay = true;
    bool Looped = false;
    bool NoDefaultSound = true;
    bool NoStopSound = false;
    bool NoWaitIfBusy = true;

    void Play();
    // Ends any sound the program is playing.
    void Stop();

private:
    SoundOutput& output_;
};

}  // namespace pagelark
