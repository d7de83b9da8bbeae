#pragma once

#include <optional>
#include <string>

namespace pagelark {

// How a play request wants its sound played; a request carries any mix.
namespace sound_flag {
constexpr unsigned Async = 0x0001;      // return at once, play in the background
constexpr unsigned NoDefault = 0x0002;  // no fallback sound when the file cannot be played
constexpr unsigned Loop = 0x0008;       // repeat until stopped
constexpr unsigned NoStop = 0x0010;     // leave a sound that is playing alone
constexpr unsigned NoWait = 0x2000;     // drop the request when the output is busy
constexpr unsigned FileName = 0x20000;  // the name is a file name
}  // namespace sound_flag

// One request to the sound output: a file to play with the flags above, or,
// without a name, the end of whatever the program is playing.
struct SoundRequest {
    std::optional<std::string> name;
    unsigned flags = 0;
};

// Where the program's sounds go. A request never fails: a sound that cannot
// be played is simply not heard, and nothing is reported.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    virtual void playSound(const SoundRequest& request) = 0;
};

}  // namespace pagelark
