#pragma once

#include "archive/chunk_table.h"
#include "saved_folder/saved_layout.h"

#include <cstdint>
#include <vector>

namespace pagelark {

class ByteFile;

// The layout file of a page file saved whole, and the bytes it keeps.
struct LayoutOfPageFile {
    SavedLayout layout;
    std::vector<std::uint8_t> keptBytes;  // the binary file beside it; empty: none is needed
    // Packed again, the saved folder gives back the file byte for byte; not
    // so for a file whose chunks share bytes or lie inside its table.
    bool givesBackEveryByte = true;
};

// What pack needs besides the files save writes for every listed chunk of
// this file (whose table the reader read) to give back its bytes:
// its header, the chunks that are absent or too short to be listed, those
// whose bytes their pictures or sounds do not give back (a wall of another
// length than 4096, a sprite laid out otherwise than the games lay theirs or
// one that does not decode, a sound not in pages of 4096 bytes one after the
// other, a page no sound names), the sounds' entries, and the places and
// bytes between and after the chunks of a file not laid out as the games lay
// theirs. A chunk that cannot be read is left out, as its file is: pack then
// names it.
LayoutOfPageFile layoutOfPageFile(ByteFile& file, const ChunkTable& table);

}  // namespace pagelark
