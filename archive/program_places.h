#pragma once

#include <string>

namespace pagelark {

// Where the programs find their side files (the default palette, the
// description files, the demo file) and where the window keeps the files it
// writes for itself (the working copy, pl.bmp, pl.wav). Run from its build
// folder, both are the program's own folder; installed, the side files are
// in the install's share/pagelark and the window's files in a folder of the
// user's. Every folder ends with the path separator.
struct ProgramPlaces {
    std::string sideFiles;
    std::string ownFiles;
};

// The places for a program file in programDir: the side files there when it
// holds them, otherwise in ../share/pagelark beside it; the window's files
// there when it can be written, otherwise in $XDG_STATE_HOME/pagelark (by
// default ~/.local/state/pagelark), made when needed.
ProgramPlaces programPlaces(const std::string& programDir);

// The folder of the side files alone, for a program that writes none of its own.
std::string sideFilesFolder(const std::string& programDir);

// The user's own folder for the window's files, $XDG_STATE_HOME/pagelark or
// ~/.local/state/pagelark, made (private to the user) when it is missing.
std::string userFilesFolder();

}  // namespace pagelark
