#pragma once

#include "archive/chunk_table.h"
#include "archive/page_file.h"
#include "pictures/pixel_grid.h"
#include "saved_folder/saved_layout.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace pagelark {

// The chunk files of a saved folder, by kind and number: their paths.
struct ChunkFiles {
    std::map<std::int32_t, std::string> walls;
    std::map<std::int32_t, std::string> sprites;
    std::map<std::int32_t, std::string> sounds;
};

// How the files of a folder become chunks. Each raises a RunError that names the file.
class ChunkFileReader {
public:
    virtual ~ChunkFileReader() = default;
    // The grid of the picture standing for wall or sprite `number`.
    virtual PixelGrid picture(const std::string& path, ItemKind kind, std::int32_t number) = 0;
    // The samples of a sound file, as a page file holds them.
    virtual std::vector<std::uint8_t> sound(const std::string& path) = 0;
};

// The folder and its layout files, as messages name them.
struct SavedFolderNames {
    std::string folder;
    std::string layoutFile;
    std::string keptBytesFile;
};

struct PackedFolder {
    // Its kept bytes, raw chunks and the bytes between and after chunks,
    // refer to the layout's binary file, which writing it reads.
    PageFile file;
    // Without a layout file: the walls and sprites missing from the folder,
    // which are absent in the file ("wall 3", "sprite 12").
    std::vector<std::string> absent;
};

// The page file of a saved folder: with its layout (which may be null),
// every chunk from its file or its line there, and byte for byte the file
// saved while no file changed; without it, the header follows from the
// numbers found and a missing number is an absent chunk. Sounds need no
// gaps in their numbers. Counts and every line are checked before any file
// is read, and every file is read before anything is returned. keptBytes is
// the size of the layout's binary file, -1 when there is none.
PackedFolder packSavedFolder(const ChunkFiles& files, const SavedLayout* layout, std::int64_t keptBytes,
                             ChunkFileReader& reader, const SavedFolderNames& names);

}  // namespace pagelark
