#pragma once

#include "archive/page_file.h"
#include "mods/mod_of_files.h"

#include <string>

namespace pagelark {

// What the window does with mods. The window loads them from a module of
// their own (pagelark-mods.so) when it first needs them, so that libzip and
// the libraries it brings (OpenSSL's libcrypto among them) are not in its
// memory before; programs that link the mods library take them from it.
struct ModOperations {
    // See madeMod.
    MadeMod (*madeMod)(const ModSide& original, const ModSide& changed, const Palette& palette,
                       const std::string& programVersion);
    // See modApplied.
    PageFile (*modApplied)(const std::string& modPath, const ModSide& shown, const PageFile& current, ByteFile& source);
};

inline constexpr char ModModuleName[] = "pagelark-mods.so";
// The module's entry: a function of no arguments that gives its ModOperations.
inline constexpr char ModModuleEntry[] = "pagelark_mod_operations";

// The operations of the mods library linked into the program.
const ModOperations& linkedModOperations();

}  // namespace pagelark
