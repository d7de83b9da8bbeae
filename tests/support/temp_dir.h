#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace pagelark::testing {

// A fresh directory under the system's temporary folder, removed with
// everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    // The directory as the program keeps directories: with a trailing separator.
    std::string withSeparator() const { return path_.string() + "/"; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

void writeFileBytes(const std::string& path, const std::vector<std::uint8_t>& bytes);
void writeFileText(const std::string& path, const std::string& text);
std::vector<std::uint8_t> readFileBytes(const std::string& path);
std::string readFileText(const std::string& path);

}  // namespace pagelark::testing
