#pragma once

#include <string>

namespace pagelark {

enum class DroppedFile { Picture, Sound, Mod, PageFile };

// What a file dropped on the window holds: a picture or a sound by its first
// bytes (BMP, PNG; WAV, FLAC, Ogg), a mod by a zip's (a local file header)
// or, when they cannot be read, by its
// extension; anything else is taken for a page file. No page file the
// window reads starts like one of these: its chunk count would be far too large.
DroppedFile kindOfDroppedFile(const std::string& path);

}  // namespace pagelark
