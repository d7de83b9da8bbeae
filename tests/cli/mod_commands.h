#pragma once

// The mod commands run in this process on files of a test's folder.
#include "cli/diff_command.h"
#include "cli/patch_command.h"
#include "mods/mod_zip.h"
#include "tests/support/temp_dir.h"

#include <sstream>
#include <string>
#include <vector>

namespace pagelark::testing {

struct ModRun {
    std::string out;
    std::string problems;
};

inline ModRun diffFiles(const std::string& original, const std::string& changed, const std::string& mod)
{
    cli::DiffRequest request{original, changed, mod, PAGELARK_DATA_DIR "/wolfenstein.pal", "9.9"};
    std::ostringstream out;
    std::ostringstream problems;
    cli::diffPageFiles(request, out, problems);
    return {out.str(), problems.str()};
}

inline ModRun patchFile(const std::string& original, const std::string& mod, const std::string& output)
{
    std::ostringstream out;
    std::ostringstream problems;
    cli::patchPageFile({original, mod, output}, out, problems);
    return {out.str(), problems.str()};
}

// The members of a mod's zip, each read whole.
inline std::vector<ZipMember> zipMembers(const std::string& path)
{
    ZipReader zip(readFileBytes(path));
    std::vector<ZipMember> members;
    for (const auto& [name, size] : zip.members())
        members.push_back({name, zip.read(name, 1 << 20)});
    return members;
}

}  // namespace pagelark::testing
