#include "app/desktop/own_files.h"

#include "app/desktop/working_copies.h"
#include "archive/file_identity.h"
#include "archive/output_file.h"

#include <algorithm>
#include <array>
#include <filesystem>

namespace pagelark {

bool isOwnFileName(std::string_view name)
{
    constexpr std::array FixedNames{PicturePreviewName, SoundPreviewName, RecoveryPageFileName, RecoveryPathFileName};
    return std::find(FixedNames.begin(), FixedNames.end(), name) != FixedNames.end() || isWorkingCopyName(name)
        || isWorkingCopyMarkName(name) || isTemporaryOutputName(name);
}

bool isOwnFile(const std::string& path, const std::string& ownFilesDir)
{
    const std::filesystem::path target(path);
    if (!isOwnFileName(target.filename().string()))
        return false;
    const std::filesystem::path folder = target.parent_path();
    const std::optional<FileIdentity> own = identityOf(ownFilesDir);
    return own && identityOf(folder.empty() ? std::string(".") : folder.string()) == own;
}

}  // namespace pagelark
