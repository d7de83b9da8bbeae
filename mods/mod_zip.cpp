#include "mods/mod_zip.h"

#include "archive/run_error.h"
#include "mods/mod_limits.h"

#include <zip.h>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace pagelark {

using namespace mod_limits;

namespace {

using Bytes = std::vector<std::uint8_t>;

// The time every member made here has: 2000-01-01.
constexpr std::time_t MemberTime = 946684800;

std::string errorText(zip_error_t& error)
{
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

std::string statedSizeText(const std::string& name, std::uint64_t size)
{
    return memberNameInMessage(name) + " is " + std::to_string(size) + " bytes long";
}

// What makes a member of a zip unreadable here, before a byte of it is inflated.
void checkMember(const zip_stat_t& stat, const std::string& name)
{
    constexpr zip_uint64_t Needed
        = ZIP_STAT_SIZE | ZIP_STAT_COMP_SIZE | ZIP_STAT_COMP_METHOD | ZIP_STAT_ENCRYPTION_METHOD;
    if ((stat.valid & Needed) != Needed)
        throw RunError::message(memberNameInMessage(name) + " does not state its sizes");
    if (stat.encryption_method != ZIP_EM_NONE)
        throw RunError::message(memberNameInMessage(name) + " is encrypted");
    if (stat.comp_method != ZIP_CM_STORE && stat.comp_method != ZIP_CM_DEFLATE)
        throw RunError::message(memberNameInMessage(name) + " is compressed by method "
                                + std::to_string(stat.comp_method) + ", neither stored nor deflated");
}

}  // namespace

bool isPlainMemberName(const std::string& name)
{
    constexpr std::size_t LongestName = 255;
    return !name.empty() && name.size() <= LongestName && name.front() != '.' && name.find("..") == std::string::npos
        && std::all_of(name.begin(), name.end(), [](char c) {
               return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '-'
                   || c == '_';
           });
}

std::string memberNameInMessage(const std::string& name)
{
    constexpr std::size_t Shown = 64;
    return name.size() <= Shown ? name : name.substr(0, Shown) + "...";
}

ZipReader::ZipReader(Bytes bytes) : bytes_(std::move(bytes))
{
    if (bytes_.size() > static_cast<std::uint64_t>(MostModFileBytes))
        throw RunError::message("it is " + std::to_string(bytes_.size())
                                + " bytes long, longer than a mod may be (at most " + std::to_string(MostModFileBytes)
                                + ")");
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes_.data(), bytes_.size(), 0, &error);
    if (source == nullptr)
        throw RunError::message("not read as a zip file: " + errorText(error));
    // Checked for consistency: every member's local header must agree with the central directory.
    archive_ = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
    if (archive_ == nullptr) {
        zip_source_free(source);
        throw RunError::message("not a zip file that can be read: " + errorText(error));
    }
    try {
        const zip_int64_t count = zip_get_num_entries(archive_, 0);
        if (count < 0 || static_cast<std::uint64_t>(count) > MostMembers)
            throw RunError::message("it has " + std::to_string(count) + " members, more than a mod has (at most "
                                    + std::to_string(MostMembers) + ")");
        std::uint64_t stated = 0;
        for (zip_int64_t index = 0; index < count; ++index) {
            zip_stat_t stat;
            zip_stat_init(&stat);
            const auto at = static_cast<zip_uint64_t>(index);
            if (zip_stat_index(archive_, at, ZIP_FL_ENC_RAW, &stat) != 0 || stat.name == nullptr)
                throw RunError::message("member " + std::to_string(index)
                                        + " cannot be read: " + zip_strerror(archive_));
            const std::string name = stat.name;
            if (!isPlainMemberName(name))
                throw RunError::message(
                    "member " + std::to_string(index) + " has the name \"" + memberNameInMessage(name)
                    + "\", which is no plain file name (a mod's members are letters, digits, '.', '-' and '_', "
                      "no folder, no \"..\")");
            checkMember(stat, name);
            if (!sizes_.emplace(name, stat.size).second)
                throw RunError::message("two members have the name " + memberNameInMessage(name));
            indices_.emplace(name, at);
            stated += std::min<std::uint64_t>(stat.size, MostInflatedBytes + 1);
        }
        if (stated > MostInflatedBytes)
            throw RunError::message("its members would inflate to more than " + std::to_string(MostInflatedBytes)
                                    + " bytes, more than a mod holds");
        if (stated > RatioCheckedFrom && stated > MostInflationRatio * bytes_.size())
            throw RunError::message("its members would inflate to " + std::to_string(stated) + " bytes, more than "
                                    + std::to_string(MostInflationRatio) + " times its own size");
    } catch (...) {
        zip_discard(archive_);
        throw;
    }
}

ZipReader::~ZipReader() { zip_discard(archive_); }

Bytes ZipReader::read(const std::string& name, std::size_t most)
{
    const auto found = indices_.find(name);
    if (found == indices_.end())
        throw RunError::message("it has no member " + memberNameInMessage(name));
    const std::uint64_t stated = sizes_.at(name);
    if (stated > most)
        throw RunError::message(statedSizeText(name, stated) + ", at most " + std::to_string(most));
    zip_file_t* member = zip_fopen_index(archive_, found->second, 0);
    if (member == nullptr)
        throw RunError::message(memberNameInMessage(name) + " cannot be read: " + zip_strerror(archive_));
    // One byte more than stated: data that runs past its size is found without reading on.
    Bytes bytes(static_cast<std::size_t>(stated) + 1);
    std::size_t done = 0;
    std::string failure;
    while (done < bytes.size()) {
        const zip_int64_t got = zip_fread(member, bytes.data() + done, bytes.size() - done);
        if (got < 0) {
            failure = zip_file_strerror(member);
            break;
        }
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    zip_fclose(member);
    if (!failure.empty())
        throw RunError::message(memberNameInMessage(name) + " cannot be inflated: " + failure);
    if (done != stated)
        throw RunError::message(memberNameInMessage(name) + " inflates to " + (done > stated ? "more" : "fewer")
                                + " bytes than the " + std::to_string(stated) + " it states");
    bytes.resize(done);
    return bytes;
}

Bytes zipBytes(const std::vector<ZipMember>& members)
{
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* target = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (target == nullptr)
        throw RunError::message("no zip file can be made: " + errorText(error));
    zip_t* archive = zip_open_from_source(target, ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        zip_source_free(target);
        throw RunError::message("no zip file can be made: " + errorText(error));
    }
    // The target outlives the archive, which writes into it when it is closed.
    zip_source_keep(target);
    const auto fail = [&](const std::string& what) {
        const std::string text = what + ": " + zip_strerror(archive);
        zip_discard(archive);
        zip_source_free(target);
        throw RunError::message(text);
    };
    for (const ZipMember& member : members) {
        zip_source_t* bytes = zip_source_buffer(archive, member.bytes.data(), member.bytes.size(), 0);
        if (bytes == nullptr)
            fail(member.name + " cannot be put in the zip file");
        const zip_int64_t index = zip_file_add(archive, member.name.c_str(), bytes, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(bytes);
            fail(member.name + " cannot be put in the zip file");
        }
        const auto at = static_cast<zip_uint64_t>(index);
        if (zip_set_file_compression(archive, at, ZIP_CM_DEFLATE, 9) != 0
            || zip_file_set_mtime(archive, at, MemberTime, 0) != 0)
            fail(member.name + " cannot be put in the zip file");
    }
    if (zip_close(archive) != 0)
        fail("the zip file cannot be made");

    Bytes bytes;
    const auto readBack = [&] {
        if (zip_source_open(target) != 0)
            return false;
        bool read = zip_source_seek(target, 0, SEEK_END) == 0;
        const zip_int64_t size = read ? zip_source_tell(target) : -1;
        read = size >= 0 && zip_source_seek(target, 0, SEEK_SET) == 0;
        if (read) {
            bytes.resize(static_cast<std::size_t>(size));
            read = zip_source_read(target, bytes.data(), bytes.size()) == size;
        }
        zip_source_close(target);
        return read;
    };
    const bool read = readBack();
    zip_source_free(target);
    if (!read)
        throw RunError::message("the zip file made cannot be read back");
    return bytes;
}

}  // namespace pagelark
