#include "archive/program_places.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace pagelark {

namespace {

// The side file every run needs; its presence marks the folder that holds them all.
constexpr const char* MarkingSideFile = "wolfenstein.pal";

std::string withSeparator(const std::filesystem::path& folder)
{
    std::string text = folder.string();
    if (text.empty() || text.back() != '/')
        text += '/';
    return text;
}

std::string environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string(value) : std::string();
}

// The user's folder for state kept between or during runs, as the XDG base
// directory rules name it: only an absolute $XDG_STATE_HOME counts.
std::filesystem::path userStateFolder()
{
    const std::filesystem::path state = environment("XDG_STATE_HOME");
    if (state.is_absolute())
        return state;
    return std::filesystem::path(environment("HOME")) / ".local" / "state";
}

}  // namespace

std::string sideFilesFolder(const std::string& programDir)
{
    std::error_code ignored;
    if (std::filesystem::exists(std::filesystem::path(programDir) / MarkingSideFile, ignored))
        return withSeparator(programDir);
    // The program in <prefix>/bin, its side files in <prefix>/share/pagelark.
    std::string folder = programDir;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const std::filesystem::path installed = std::filesystem::path(folder).parent_path() / "share" / "pagelark";
    if (std::filesystem::exists(installed / MarkingSideFile, ignored))
        return withSeparator(installed.lexically_normal());
    // Neither: the program's folder, where the missing files are then reported.
    return withSeparator(programDir);
}

std::string userFilesFolder()
{
    const std::filesystem::path own = userStateFolder() / "pagelark";
    // Made private to the user, as the folders of these rules are; one that
    // exists already is left as it is.
    std::error_code ignored;
    if (std::filesystem::create_directories(own, ignored))
        std::filesystem::permissions(own, std::filesystem::perms::owner_all, ignored);
    return withSeparator(own);
}

ProgramPlaces programPlaces(const std::string& programDir)
{
    const bool writable = ::access(programDir.c_str(), W_OK) == 0;
    return {sideFilesFolder(programDir), writable ? withSeparator(programDir) : userFilesFolder()};
}

}  // namespace pagelark
