#pragma once

#include <ostream>
#include <string>

namespace pagelark::cli {

struct PatchRequest {
    std::string originalPath;
    std::string modPath;
    std::string outputPath;
};

// Writes the page file a mod makes of its original. The original must be
// the file the mod was made for, by its size and SHA-256; another is refused
// with both hashes and the game the mod was made for. The mod is refused,
// by name, when its zip or its manifest is damaged or hostile (see
// ModArchive), and so is a result of another size or SHA-256 than the
// manifest gives: that is checked before the output, written whole and
// flushed, takes its name, so a refusal writes nothing. Neither the original
// nor the mod is ever written into.
void patchPageFile(const PatchRequest& request, std::ostream& out, std::ostream& problems);

}  // namespace pagelark::cli
