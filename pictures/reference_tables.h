#pragma once

#include "pictures/palette.h"

#include <array>
#include <cstdint>
#include <string>

namespace pagelark {

// Ceiling values 10..90 (the "Ceiling colors" spin edit): 10..69 are the
// Wolfenstein 3D levels, 70..90 the Spear of Destiny levels.
constexpr int LowestCeilingValue = 10;
constexpr int HighestCeilingValue = 90;
constexpr int CeilingValueCount = HighestCeilingValue - LowestCeilingValue + 1;

// Entry v - 10 is the palette index of the ceiling colour of ceiling value v.
// Until it is matched against the palette an entry holds a packed colour.
using CeilingColorTable = std::array<std::int32_t, CeilingValueCount>;

// The head of every bitmap the program writes: file header, information
// header and colour table of the reference bitmap.
constexpr std::size_t BmpHeaderSize = 1078;
using BmpHeaderTemplate = std::array<std::uint8_t, BmpHeaderSize>;

// The 64 x 64 8-bit reference bitmap in its stored form (5174 bytes): the
// game palette as colour table, the ceiling indices in its two top rows.
constexpr std::size_t ReferenceBitmapSize = 5174;
const std::array<std::uint8_t, ReferenceBitmapSize>& referenceBitmap();

// The first 1078 bytes of the reference bitmap: the head of every bitmap.
BmpHeaderTemplate referenceBitmapHeader();

// Builds the three reference tables at start-up: the header template and the
// ceiling colours from the reference bitmap, then the palette from
// programDir + "wolfenstein.pal", and the ceiling colours matched to the
// lowest equal palette index. A palette that cannot be read raises its error
// and leaves the ceiling colours unmatched.
void buildReferenceTables(const std::string& programDir, Palette& palette, CeilingColorTable& ceilingColors,
                          BmpHeaderTemplate& bmpHeader);

// The palette index stored for ceiling value v: v is brought into 10..90 and
// the entry's low 8 bits are used, so an unmatched entry is still an index.
std::uint8_t ceilingIndex(const CeilingColorTable& ceilingColors, std::int32_t ceilingValue);

}  // namespace pagelark
