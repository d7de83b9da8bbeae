#include "bench/comparisons.h"

namespace pagelark::bench {

namespace {

constexpr double ShowMostSeconds = 0.3e-3;
constexpr double ShowMostRatio = 5.0;
constexpr double OpenMostRatio = 1.5;
constexpr double OpenPaintedMostRatio = 3.0;
constexpr double SaveMostRatio = 1.2;
constexpr double OpenMostMb = 32.0;
// "A few megabytes": the long line itself, its cut copies in the list and a
// buffer or two while it is read.
constexpr double LongLineMostAddedMb = 4.0;
// The largest sheet is some 220 MB of pixels; the rest is Qt, its fonts and
// the decoded pictures, and never a second copy of the sheet.
constexpr double LargestSheetMostMb = 600.0;
// Undo keeps the chunks it changed (a hundred walls of 4 kB, before and
// after) and little else: 64 MB at most beside them.
constexpr double UndoMostAddedMb = 64.0 + 100 * 2 * 4096 / 1048576.0;
// Writing a page file costs at most twice the reading and writing it cannot do without.
constexpr double WritePageFileMostRatio = 2.0;

Comparison showing(const std::string& entry, const std::string& view)
{
    const std::string name = entry + "_" + view;
    return {"Show " + entry + ", " + view + " view",
            "ShowEntry/" + name,
            "palette + enlarge to 320x320",
            "ShowFloor/" + name,
            Measure::Time,
            ShowMostSeconds,
            ShowMostRatio,
            {}};
}

// The showing followed by the window's repaint: no target, for the picture.
Comparison showingPainted(const std::string& entry)
{
    const std::string name = entry + "_plain";
    return {"Show " + entry + ", plain view, painted",
            "ShowEntryPainted/" + name,
            "palette + enlarge to 320x320",
            "ShowFloor/" + name,
            Measure::Time,
            {},
            {},
            {}};
}

}  // namespace

const std::vector<Comparison>& comparisons()
{
    static const std::vector<Comparison> all = {
        showing("wall", "plain"),
        showing("wall", "background"),
        showing("sprite", "plain"),
        showing("sprite", "background"),
        showing("sound", "plain"),
        showing("sound", "background"),
        showingPainted("wall"),
        showingPainted("sprite"),
        showingPainted("sound"),
        {"Open full-size file, handler returns",
         "OpenFile/handler_returned",
         "plain copy of the file",
         "PlainCopy",
         Measure::Time,
         {},
         OpenMostRatio,
         {}},
        {"Open full-size file, list painted",
         "OpenFile/list_painted",
         "plain copy of the file",
         "PlainCopy",
         Measure::Time,
         {},
         OpenPaintedMostRatio,
         {}},
        {"Save every chunk (pagelark-cli)",
         "SaveEveryChunk",
         "same files, one write each",
         "WriteSameFiles",
         Measure::Time,
         {},
         SaveMostRatio,
         {}},
        {"Decode a wall", "Decode/wall", "copy its bytes", "CopyBytes/wall", Measure::Time, {}, {}, {}},
        {"Decode a sprite", "Decode/sprite", "copy its bytes", "CopyBytes/sprite", Measure::Time, {}, {}, {}},
        {"Peak memory, full-size file open",
         "PeakMemory/file_open",
         "window, nothing open",
         "PeakMemory/window_only",
         Measure::PeakMemory,
         OpenMostMb,
         {},
         {}},
        {"Peak memory, with a 1 MB description line",
         "PeakMemory/file_open_long_description",
         "shipped description file",
         "PeakMemory/file_open",
         Measure::PeakMemory,
         {},
         {},
         LongLineMostAddedMb},
        {"Peak memory, 100 replacements undone",
         "PeakMemory/undo_100_steps",
         "full-size file open",
         "PeakMemory/file_open",
         Measure::PeakMemory,
         {},
         {},
         UndoMostAddedMb},
        {"Sheet of 436 sprites, largest options",
         "LargestSheet",
         "Qt writes the same PNG",
         "WriteSheetPng",
         Measure::Time,
         {},
         {},
         {}},
        {"Pack a saved full-size folder (pagelark-cli)",
         "PackSavedFolder",
         "read the same files, write the same bytes once",
         "ReadFilesWriteBytesOnce",
         Measure::Time,
         {},
         WritePageFileMostRatio,
         {}},
        {"Replace one wall of the full-size file",
         "ReplaceOneWall",
         "plain copy of the file",
         "CopyFilePlainly",
         Measure::Time,
         {},
         WritePageFileMostRatio,
         {}},
        {"Peak memory, sheet at the largest options",
         "LargestSheetPeakMemory",
         "the sheet's pixels, a byte each",
         "SheetPixelBytes",
         Measure::PeakMemory,
         LargestSheetMostMb,
         {},
         {}},
    };
    return all;
}

}  // namespace pagelark::bench
