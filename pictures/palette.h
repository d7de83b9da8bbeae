#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace pagelark {

// A colour packed as red + green * 256 + blue * 65536, the packing in which
// the picture surfaces take and report colours.
using PackedColor = std::uint32_t;

constexpr PackedColor packColor(std::uint32_t red, std::uint32_t green, std::uint32_t blue)
{
    return red + green * 256u + blue * 65536u;
}

constexpr int PaletteSize = 256;
using Palette = std::array<PackedColor, PaletteSize>;

// Replaces the palette's entries, in index order, with the colours of a
// JASC-style palette file: three header lines, then one "R G B" line per
// colour. Entries before a line that cannot be read keep their new colours.
// Returns how many colour lines the file holds, at most 256; the entries
// beyond them are black.
int readPaletteFile(const std::string& path, Palette& palette);

}  // namespace pagelark
