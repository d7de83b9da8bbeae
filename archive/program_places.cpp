#include "archive/program_places.h"

#include "archive/folder_safety.h"
#include "archive/own_entry.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
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

std::filesystem::path absoluteSetting(const char* name)
{
    const char* value = std::getenv(name);
    const std::filesystem::path path = value ? value : "";
    return path.is_absolute() ? path : std::filesystem::path();
}

// The user's home: $HOME, or the password database's when it is not set.
std::filesystem::path homeFolder()
{
    std::filesystem::path home = absoluteSetting("HOME");
    if (home.empty()) {
        if (const passwd* entry = ::getpwuid(::geteuid()); entry && entry->pw_dir)
            home = entry->pw_dir;
    }
    return home.is_absolute() ? home : std::filesystem::path();
}

// The user's folder for state kept between or during runs, as the XDG base
// directory rules name it: only an absolute $XDG_STATE_HOME counts.
std::filesystem::path userStateFolder()
{
    const std::filesystem::path state = absoluteSetting("XDG_STATE_HOME");
    if (!state.empty())
        return state;
    const std::filesystem::path home = homeFolder();
    return home.empty() ? home : home / ".local" / "state";
}

// What is wrong with keeping the window's files in this folder; empty when nothing is.
std::string whyNotPrivate(const std::filesystem::path& folder)
{
    struct stat own {};
    if (::lstat(folder.c_str(), &own) != 0)
        return std::strerror(errno);
    if (const std::string why = whyNotOwnEntry(own, S_IFDIR, "folder"); !why.empty())
        return "it " + why;
    if (othersCanChange(own.st_uid, own.st_mode))
        return "other users can write to it";
    // Whoever may change the folder it is in may put another in its place.
    struct stat parent {};
    if (::stat(folder.parent_path().c_str(), &parent) == 0 && othersCanChange(parent.st_uid, parent.st_mode))
        return "other users can replace it";
    return {};
}

}  // namespace

std::string folderForThisRun(const std::string& namePrefix)
{
    std::filesystem::path parent = absoluteSetting("XDG_RUNTIME_DIR");
    if (parent.empty() || !whyNotPrivate(parent).empty())
        parent = absoluteSetting("TMPDIR");
    if (parent.empty())
        parent = "/tmp";
    std::string pattern = (parent / (namePrefix + "XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr)
        return {};
    return withSeparator(pattern);
}

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

ProgramPlaces userFilesPlaces()
{
    ProgramPlaces places;
    const std::filesystem::path state = userStateFolder();
    std::string why = "the user has no home folder";
    std::filesystem::path own;
    if (!state.empty()) {
        own = state / "pagelark";
        // Folders made here are the user's alone, as the base directory rules ask.
        std::error_code ignored;
        const mode_t old = ::umask(077);
        std::filesystem::create_directories(own, ignored);
        ::umask(old);
        why = whyNotPrivate(own);
    }
    if (why.empty()) {
        places.ownFiles = withSeparator(own);
        return places;
    }
    places.ownFiles = folderForThisRun("pagelark-");
    places.ownFilesForThisRun = !places.ownFiles.empty();
    const std::string where = own.empty() ? std::string("a state folder") : own.string();
    places.notice = "Pagelark does not keep its files in " + where + ": " + why + "; "
        + (places.ownFiles.empty() ? std::string("no private folder could be made either")
                                   : "they go to " + places.ownFiles + " for this run");
    return places;
}

ProgramPlaces programPlaces(const std::string& programDir)
{
    const std::string sideFiles = sideFilesFolder(programDir);
    const bool installed = sideFiles != withSeparator(programDir);
    const bool writable = ::access(programDir.c_str(), W_OK) == 0;
    struct stat folder {};
    const bool shared = ::stat(programDir.c_str(), &folder) == 0 && othersCanChange(folder.st_uid, folder.st_mode);
    ProgramPlaces places;
    if (!installed && writable && !shared) {
        places.ownFiles = withSeparator(programDir);
    } else {
        places = userFilesPlaces();
        if (!installed && writable && places.notice.empty())
            places.notice = "Pagelark does not keep its files beside the program in " + programDir
                + ": other users can change that folder; they go to " + places.ownFiles;
    }
    places.sideFiles = sideFiles;
    return places;
}

}  // namespace pagelark
