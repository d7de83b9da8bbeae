#pragma once

#include "app/desktop/working_copies.h"
#include "archive/file_identity.h"

#include <optional>
#include <string>
#include <vector>

namespace pagelark {

// What a window ended by a termination signal keeps of replacements not yet
// saved, in the program's own folder and private to the user: the edited
// page file, "recovery.vswap", and beside it "recovery.txt", the path of the
// file it was opened from. The next start offers to restore them.
class RecoveryFiles {
public:
    // The folder ends with the path separator.
    explicit RecoveryFiles(std::string folder) : folder_(std::move(folder)) {}

    std::string pageFile() const { return folder_ + "recovery.vswap"; }
    std::string pathFile() const { return folder_ + "recovery.txt"; }

    // Writes the page file with what `write` writes, then the path it was
    // opened from; each whole or not at all, never into the files being read.
    void keep(const std::string& openedPath, const WorkingCopyFile::ByteWriter& write,
              const std::vector<FileIdentity>& readFiles) const;
    // The path the kept page file was opened from, when both files are there.
    std::optional<std::string> keptFrom() const;
    void remove() const noexcept;

private:
    std::string folder_;
};

}  // namespace pagelark
