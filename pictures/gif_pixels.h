#pragma once

#include <cstdint>
#include <span>

namespace pagelark {

// Checks that a GIF file's first picture, the one a reader shows, has all
// its pixels: every code of its compressed data means something, and they
// give at least as many pixels as the picture has before the data ends. The
// decoder does not check: it fills what a cut or damaged file lacks with
// the background and reports success. Raises a RunError saying what is
// wrong; does nothing for a file that is no GIF.
void checkGifPixels(std::span<const std::uint8_t> file);

}  // namespace pagelark
