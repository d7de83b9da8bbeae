#pragma once

// The original the mod target applies its mods to, and its seeds are made
// of: small, and of the odd shape of the shareware file (an absent wall,
// sounds on absent pages, bytes after the last chunk).
#include "archive/byte_file.h"
#include "archive/page_file.h"
#include "fuzz/input_file.h"
#include "tests/support/odd_page_files.h"

namespace pagelark::fuzz {

struct ModOriginal {
    ByteFile file;
    PageFile model;

    ModOriginal()
    {
        file.openRead(writeInputFile(testing::sharewareShapedVswap(), "original"));
        model = readPageFile(file);
    }
};

}  // namespace pagelark::fuzz
