#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace pagelark::fuzz {

// The core reads its files by name, so each input is written to a file first.
// The file lives in a folder of this process's own, made on first use under
// $TMPDIR (or /dev/shm, or /tmp) and removed when the process exits normally.
// Returns the file's path; a file that cannot be written ends the process,
// since every later input would be judged on a stale file. A target that
// reads two files at once gives the second another name.
std::string writeInputFile(std::span<const std::uint8_t> bytes, const std::string& name = "input");

}  // namespace pagelark::fuzz
