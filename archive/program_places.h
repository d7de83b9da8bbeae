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
    // Why the window's files are not where they usually are, for the user;
    // empty when they are.
    std::string notice;
    // The window's files are in a folder made for this run alone, to be
    // removed at its end.
    bool ownFilesForThisRun = false;
};

// The places for a program file in programDir. The side files are there
// when it holds them (a build folder), otherwise in ../share/pagelark
// beside it (an install). The window's files are beside a program in its
// build folder when the user can write there and nobody else can; an
// installed program always keeps them in the user's state folder.
ProgramPlaces programPlaces(const std::string& programDir);

// The folder of the side files alone, for a program that writes none of its own.
std::string sideFilesFolder(const std::string& programDir);

// The user's own folder for the window's files, $XDG_STATE_HOME/pagelark or
// ~/.local/state/pagelark (the home from the password database when HOME is
// not set), made private to the user when it is missing. A folder there that
// is a link, another user's, or one others can change is not used: the
// window's files then go to a private folder made for this run, and the
// places say why.
ProgramPlaces userFilesPlaces();

// A new private folder (mode 0700) for this run alone, made where only the
// user can reach it: in the user's runtime folder when that is private, in
// the temporary one otherwise; its name is the prefix and six random
// characters. Empty when none can be made.
std::string folderForThisRun(const std::string& namePrefix);

}  // namespace pagelark
