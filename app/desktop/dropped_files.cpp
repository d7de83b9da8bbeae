#include "app/desktop/dropped_files.h"

#include "app/desktop/file_ops.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <optional>
#include <string_view>
#include <unistd.h>

namespace pagelark {

namespace {

constexpr std::size_t LongestMagic = 12;

std::optional<DroppedFile> kindOfContent(std::string_view head)
{
    const auto at = [&](std::size_t offset, std::string_view magic) {
        return head.size() >= offset && head.substr(offset).starts_with(magic);
    };
    if (at(0, "BM") || at(0, "\x89PNG\r\n\x1a\n"))
        return DroppedFile::Picture;
    if ((at(0, "RIFF") && at(8, "WAVE")) || at(0, "fLaC") || at(0, "OggS"))
        return DroppedFile::Sound;
    if (at(0, std::string_view("PK\x03\x04", 4)))
        return DroppedFile::Mod;
    return std::nullopt;
}

DroppedFile kindOfName(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension == ".bmp" || extension == ".png")
        return DroppedFile::Picture;
    if (extension == ".wav" || extension == ".flac" || extension == ".ogg" || extension == ".oga")
        return DroppedFile::Sound;
    if (extension == ".zip")
        return DroppedFile::Mod;
    return DroppedFile::PageFile;
}

}  // namespace

DroppedFile kindOfDroppedFile(const std::string& path)
{
    try {
        const FileDescriptor file = openCopySource(path);
        std::array<char, LongestMagic> head{};
        const ssize_t got = retryOnSignal([&] { return ::read(file.get(), head.data(), head.size()); });
        if (got >= 0) {
            const std::optional<DroppedFile> kind
                = kindOfContent(std::string_view(head.data(), static_cast<std::size_t>(got)));
            return kind.value_or(DroppedFile::PageFile);
        }
    } catch (const std::exception&) {
        // Unreadable: the name is all there is to go by.
    }
    return kindOfName(path);
}

}  // namespace pagelark
