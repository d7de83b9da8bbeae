#pragma once

#include "archive/chunk_table.h"

#include <string>

namespace pagelark {

// The game version whose page file has this header, by the names the
// command line gives versions (wolf13); empty for a header the program
// does not know as one game's alone.
std::string gameOfHeader(const VswapHeader& header);

// The version's name as a message gives it: "Wolfenstein 3D 1.3 (registered)".
std::string gameInMessage(const std::string& game);

}  // namespace pagelark
