#pragma once

#include "mods/mod_plan.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

namespace pagelark {

class ByteFile;
struct PageFile;

// What identifies a file: its size and its SHA-256 in lower-case hexadecimal.
struct FileFacts {
    std::int64_t size = 0;
    std::string sha256;

    bool operator==(const FileFacts&) const = default;
};

// Writes a mod's result, applyMod's page file with the bytes outside its
// chunks put over what writePageFile writes there, to `out`, and gives its
// facts. Writing stops with a RunError past `mostBytes`, so that a result
// that is to be checked against a size is never written beyond it, and for
// bytes that lie beyond the end of the result.
FileFacts writeModResult(const PageFile& result, ByteFile* original, const std::vector<ResultBytes>& bytes,
                         std::int64_t mostBytes, const std::function<void(const std::uint8_t*, std::size_t)>& out);

// Refuses a result whose facts are not those expected.
void checkResultFacts(const FileFacts& made, const FileFacts& expected);

// The first digits of a hash, enough to tell two files apart in a message.
std::string shortHash(const std::string& sha256);

}  // namespace pagelark
