#pragma once

#include <ostream>
#include <string>

namespace pagelark::cli {

struct DiffRequest {
    std::string originalPath;
    std::string changedPath;
    std::string modPath;
    std::string palettePath;     // the colours of the pictures in the mod
    std::string programVersion;  // written into the manifest
};

// Writes a mod that makes the changed page file of the original: a zip of
// mod.json (the sizes and SHA-256 of both files, the original's game when
// its header tells, each wall, sprite and sound changed or added) and, for
// each of them, its exact bytes (wallNNNN.bin, spriteNNNN.bin, or the
// samples in soundNNNN.wav) and a picture to look at (wallNNNN.png,
// spriteNNNN.png, when the chunk has one), beside the bytes outside the
// chunks that differ; nothing of a chunk that did not change. The mod is
// read back and applied to the original in memory before it is written, and
// written only when that gives the changed file byte for byte; a changed
// file no mod can give back is refused, saying why. Chunks without a
// picture go to `problems`.
void diffPageFiles(const DiffRequest& request, std::ostream& out, std::ostream& problems);

}  // namespace pagelark::cli
