// The entry point of the sound module, which the window loads when it first
// plays a sound.

#include "sounds/sound_output_qt.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT pagelark::SoundOutput* pagelark_create_sound_output() { return new pagelark::QtSoundOutput; }
