#pragma once

#include <string>
#include <string_view>

namespace pagelark {

// The names of the files the window writes for itself in its own folder
// (ProgramState::ownFilesDir), beside the working copies and their marks.
inline constexpr std::string_view PicturePreviewName = "pl.bmp";
inline constexpr std::string_view SoundPreviewName = "pl.wav";
inline constexpr std::string_view RecoveryPageFileName = "recovery.vswap";
inline constexpr std::string_view RecoveryPathFileName = "recovery.txt";

// Whether a file name, without its folder, is one the window gives a file of
// its own in its own folder: one it overwrites or deletes whenever it likes.
// Every new kind of such file is added here.
bool isOwnFileName(std::string_view name);

// Whether the path leads to a name of the window's own files in its own
// folder, whether that file is there yet or not. The folders are compared as
// files (device and inode), so another path or a link to the folder counts.
bool isOwnFile(const std::string& path, const std::string& ownFilesDir);

}  // namespace pagelark
