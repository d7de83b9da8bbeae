#pragma once

#include "app/desktop/deferred_sound_output.h"
#include "app/form/Unit1.h"
#include "tests/gui/fake_platform.h"
#include "tests/sound/sound_match.h"
#include "tests/support/temp_dir.h"

#include <memory>
#include <string>
#include <vector>

namespace pagelark::testing {

// The main window on the fake desktop with the real sound output behind the
// recording one: every request is kept and also played, through the sound
// module the window loads. Driven the way a user drives it.
class SoundWindow {
public:
    SoundWindow();
    ~SoundWindow();
    SoundWindow(const SoundWindow&) = delete;
    SoundWindow& operator=(const SoundWindow&) = delete;

    // Opens a VSWAP file holding these sounds (after one wall), in this order.
    void openSounds(const std::vector<Samples>& sounds);
    // Clicks the list line of this sound, as a user selects it.
    void selectSound(int number);
    void pressPlay();
    void pressMute();

    std::string previewFile() const { return platform.dir.file("pl.wav"); }

    DeferredSoundOutput output;
    FakePlatform platform;
    TForm1& form() { return *form_; }

private:
    TempDir userDir_;
    std::unique_ptr<TForm1> form_;
};

}  // namespace pagelark::testing
