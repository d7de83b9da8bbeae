#include "sounds/wav_player.h"

namespace pagelark {

void TabfWav::Play()
{
    SoundRequest request;
    if (AsyncPlay)
        request.flags |= sound_flag::Async;
    if (Looped)
        request.flags |= sound_flag::Loop;
    if (NoDefaultSound)
        request.flags |= sound_flag::NoDefault;
    if (NoStopSound)
        request.flags |= sound_flag::NoStop;
    if (NoWaitIfBusy)
        request.flags |= sound_flag::NoWait;
    if (PlayFrom == TabfWavPlayFrom::pfFile) {
        request.flags |= sound_flag::FileName;
        request.name = FileName;
    }
    output_.playSound(request);
}

void TabfWav::Stop() { output_.playSound({}); }

}  // namespace pagelark
