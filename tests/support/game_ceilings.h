#pragma once

#include <array>
#include <cstdint>

namespace pagelark::testing {

// The games' ceiling colour of each ceiling value 10..90, as a game palette
// index: what the ceiling table must hold after start-up.
constexpr std::array<std::int32_t, 81> GameCeilingIndices = {
    29,  29,  29,  29,  29,  29,  29,  29,  29,  191,  // 10..19
    78,  78,  78,  29,  141, 78,  29,  45,  29,  141,  // 20..29
    29,  29,  29,  29,  29,  45,  221, 29,  29,  152,  // 30..39
    29,  157, 45,  221, 221, 157, 45,  77,  29,  221,  // 40..49
    125, 29,  45,  45,  221, 215, 29,  29,  29,  45,   // 50..59
    29,  29,  29,  29,  221, 221, 125, 221, 221, 221,  // 60..69
    111, 79,  29,  222, 223, 46,  127, 158, 174, 127,  // 70..79
    29,  222, 223, 222, 223, 222, 225, 220, 46,  29,   // 80..89
    220,                                               // 90
};

}  // namespace pagelark::testing
