#pragma once

#include "mods/mod_plan.h"

#include <cstddef>

namespace pagelark {

struct PageFile;

// The walls a page file has: the chunks below both its sprite start and its sound start.
std::size_t wallCount(const PageFile& file);
// The sprites: the chunks from its sprite start up to its sound start.
std::size_t spriteCount(const PageFile& file);

// The original with the plan applied: walls and sprites replaced in their
// places or added after the last of their kind (the sprite and sound starts
// raised for them), sounds replaced or added as replaceSound and appendSound
// do, then the sound table and the length after the last chunk, where the
// plan gives them. The result refers to the original's file for every chunk
// the plan does not replace; its resultBytes are written over it by
// writeModResult. A plan that does not fit the original (a number it does
// not have, or not the next, a kind or an index that is not its own, a limit
// of the page file) raises a RunError naming the chunk.
PageFile applyMod(const PageFile& original, const ModPlan& plan);

}  // namespace pagelark
