#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

struct zip;
struct zip_source;

namespace pagelark {

// A zip file held in memory, opened with libzip and checked before any
// member is inflated: at most mod_limits::MostModFileBytes long, with at
// most mod_limits::MostMembers members, each a plain
// file name (no folder, no "..", nothing but letters, digits, '.', '-' and
// '_'), no name twice, none encrypted or stored otherwise than plain or
// deflated, and all of them together, by their stated sizes, within
// mod_limits::MostInflatedBytes and the inflation ratio it allows. Errors
// are RunErrors that say what is wrong; the caller names the file.
class ZipReader {
public:
    explicit ZipReader(std::vector<std::uint8_t> bytes);
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // The members' names, each with its stated size.
    const std::map<std::string, std::uint64_t>& members() const { return sizes_; }

    // A member's bytes, read whole. One whose stated size is above `most` is
    // refused before it is inflated; inflating stops where the data runs
    // past the stated size, and data of another length or checksum is refused.
    std::vector<std::uint8_t> read(const std::string& name, std::size_t most);

private:
    std::vector<std::uint8_t> bytes_;
    zip_source* source_ = nullptr;
    zip* archive_ = nullptr;
    std::map<std::string, std::uint64_t> sizes_;
    std::map<std::string, std::uint64_t> indices_;
};

struct ZipMember {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// The bytes of a zip file of these members, in this order, deflated, with
// one fixed time on every member so that the same members make the same file.
std::vector<std::uint8_t> zipBytes(const std::vector<ZipMember>& members);

// Whether a name is one a member of a mod may have.
bool isPlainMemberName(const std::string& name);

// A name from a zip as it may go into a message: cut when long.
std::string memberNameInMessage(const std::string& name);

}  // namespace pagelark
