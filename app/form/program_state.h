#pragma once

#include "app/desktop/edit_history.h"
#include "app/desktop/working_copies.h"
#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/descriptions.h"
#include "pictures/palette.h"
#include "pictures/pixel_grid.h"
#include "pictures/reference_tables.h"
#include "sounds/sound_plot.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pagelark {

// Below this many milliseconds for the start-up probe the display counts as
// fast, and exports show each picture and sound as they write it.
constexpr std::int32_t FastDisplayProbe = 20;

// The entry shown last: set only when the current list entry is shown.
struct CurrentItem {
    std::int32_t index = 0;
    std::int32_t offset = 0;
    std::int32_t length = 0;
    std::optional<ItemKind> kind;  // none before the first entry is shown

    // A wall, a sprite, or nothing yet: what the picture view shows.
    bool isPicture() const { return kind != ItemKind::Sound; }
};

// Everything the window's handlers share, alive from start-up to exit.
struct ProgramState {
    // Where the side files are read from, and where the window writes the
    // files of its own (working copies, pl.bmp, pl.wav, the recovery files);
    // both end with the path separator, and both are the program's folder in
    // a build folder.
    std::string sideFilesDir;
    std::string ownFilesDir;
    // ownFilesDir was made for this run and goes at its end.
    bool ownFilesForThisRun = false;
    std::int32_t speedProbe = 0;
    bool fastDisplay() const { return speedProbe < FastDisplayProbe; }

    VswapHeader header;
    ChunkTable chunks;
    // One line per listed chunk, as the table gives it, before any
    // description, and the chunk of each.
    std::vector<std::string> listedLines;
    std::vector<std::int32_t> listedChunks;
    // A copy of the chosen file in ownFilesDir; open exactly while a copy is open.
    ByteFile workingCopy;
    // The copy's name, held by this instance from the first open until closing.
    WorkingCopyFile workingCopyFile;
    // The replacements made, as undo steps, and the copy workingCopy reads.
    EditHistory edits;
    // The VSWAP file chosen last: nothing the window writes may go into it.
    std::optional<FileIdentity> chosenFile;
    std::string lastFileName;
    // The path of the file open, as the title shows it; the working copy
    // holds its bytes, or the bytes of its replacements.
    std::string openedPath;
    // The folders chosen last in this run: for files saved and files read
    // to replace chunks; empty until then.
    std::string lastSaveFolder;
    std::string lastImportFolder;
    std::int32_t lastListIndex = 0;
    DescriptionTable descriptions;
    // The version whose descriptions were read last; text typed into the
    // version choice that names no version keeps it.
    GameVersion gameVersion = GameVersion::Wolf13;

    PixelGrid grid{};
    Palette palette{};
    CeilingColorTable ceilingColors{};
    BmpHeaderTemplate bmpHeader{};
    bool viewMode = false;  // false: plain view; true: against ceiling and floor

    CurrentItem current;
    SamplePositions samplePositions;

    // Heartbeat and animation.
    std::int32_t heartbeatTicks = 0;
    bool animating = false;
    std::int32_t frameCount = 0;
    std::int32_t frameStride = 0;
    std::int32_t frameIndex = 0;
};

}  // namespace pagelark
