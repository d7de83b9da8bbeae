#pragma once

#include <cstdlib>

namespace pagelark::fuzz {

// Ends the run where something that must hold of every input does not, so
// that the fuzzer keeps the input that shows it.
inline void require(bool holds)
{
    if (!holds)
        std::abort();
}

}  // namespace pagelark::fuzz
