#pragma once

#include "app/desktop/own_files.h"
#include "app/desktop/working_copies.h"
#include "archive/file_identity.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pagelark {

// What a window ended by a termination signal keeps of replacements not yet
// saved, in the program's own folder and private to the user: the edited
// page file, "recovery.vswap", and beside it "recovery.txt", the path of the
// file it was opened from. The next start offers to restore them.
//
// Only files the window could have kept are offered or deleted: regular
// files of the user's, under their own names rather than through links,
// that nobody else may read or change. Anything else under those names, such
// as another user's files, is left alone.
class RecoveryFiles {
public:
    // The folder ends with the path separator.
    explicit RecoveryFiles(std::string folder) : folder_(std::move(folder)) {}

    std::string pageFile() const { return inFolder(RecoveryPageFileName); }
    std::string pathFile() const { return inFolder(RecoveryPathFileName); }

    // What the folder holds of kept replacements.
    struct Found {
        // The path the kept page file was opened from; nothing when no
        // replacements are kept that may be offered.
        std::optional<std::string> openedPath;
        // Why recovery files that are there are not offered, for the user;
        // empty when there is nothing to tell.
        std::string leftAlone;
    };

    // Writes the page file with what `write` writes, then the path it was
    // opened from; each whole or not at all, never into the files being read.
    void keep(const std::string& openedPath, const WorkingCopyFile::ByteWriter& write,
              const std::vector<FileIdentity>& readFiles) const;
    // The replacements to offer, when both files are there and the window's.
    Found find() const;
    // Deletes each file that is one the window could have kept.
    void remove() const noexcept;

private:
    // Appended to a copy, not added: GCC 12 warns falsely about "a + b" at -O3.
    std::string inFolder(std::string_view name) const
    {
        std::string path = folder_;
        path.append(name);
        return path;
    }

    std::string folder_;
};

}  // namespace pagelark
