#pragma once

#include "archive/descriptions.h"
#include "cli/diff_command.h"
#include "cli/extract_commands.h"
#include "cli/pack_command.h"
#include "cli/patch_command.h"
#include "cli/replace_command.h"
#include "cli/sheet_command.h"

#include <string>
#include <variant>

namespace pagelark::cli {

struct ListRequest {
    std::string vswapPath;
    GameVersion game = GameVersion::Wolf13;
    ListFormat format = ListFormat::Text;
};

// Help or the version, printed as it is; the program then ends well.
struct ShownText {
    std::string text;
};

// Wrong usage: what is wrong, to be printed before the usage. It may hold
// the user's words as they were given.
struct UsageProblem {
    std::string text;
};

using CommandLine = std::variant<ListRequest, SaveRequest, SheetRequest, PackRequest, ReplaceRequest, DiffRequest,
                                 PatchRequest, ShownText, UsageProblem>;

// What pagelark-cli's arguments ask for. Every command and option is in the
// table this builds; the help, the usage, the manual page made from the
// help and the test of the shells' completion all come from it.
// `gamePalette` is the palette of commands not given --palette.
CommandLine parseCommandLine(int argc, const char* const* argv, const std::string& gamePalette);

// The usage lines printed after a usage problem.
std::string commandLineUsage();

}  // namespace pagelark::cli
