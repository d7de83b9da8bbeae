#pragma once

// The mod target's second form of input: a mod's members unzipped, so that
// mutations reach the manifest and the chunks' bytes, which in a zip fail
// their checksums. 'M', then for each member its name, a line end, its
// length in four bytes (little-endian) and its bytes; an input cut short
// ends with the member before.
#include "mods/mod_zip.h"

#include <cstdint>
#include <span>
#include <vector>

namespace pagelark::fuzz {

constexpr std::uint8_t MembersMark = 'M';

inline std::vector<ZipMember> membersOf(std::span<const std::uint8_t> input)
{
    std::vector<ZipMember> members;
    std::size_t at = 1;
    while (at < input.size()) {
        std::size_t end = at;
        while (end < input.size() && input[end] != '\n')
            ++end;
        if (end + 5 > input.size())
            break;
        const std::size_t length
            = input[end + 1] | (input[end + 2] << 8) | (input[end + 3] << 16) | (std::size_t{input[end + 4]} << 24);
        const std::size_t from = end + 5;
        if (length > input.size() - from)
            break;
        members.push_back({std::string(input.begin() + static_cast<std::ptrdiff_t>(at),
                                       input.begin() + static_cast<std::ptrdiff_t>(end)),
                           {input.begin() + static_cast<std::ptrdiff_t>(from),
                            input.begin() + static_cast<std::ptrdiff_t>(from + length)}});
        at = from + length;
    }
    return members;
}

inline std::vector<std::uint8_t> membersInput(const std::vector<ZipMember>& members)
{
    std::vector<std::uint8_t> input{MembersMark};
    for (const ZipMember& member : members) {
        input.insert(input.end(), member.name.begin(), member.name.end());
        input.push_back('\n');
        for (int shift = 0; shift < 32; shift += 8)
            input.push_back(static_cast<std::uint8_t>(member.bytes.size() >> shift));
        input.insert(input.end(), member.bytes.begin(), member.bytes.end());
    }
    return input;
}

}  // namespace pagelark::fuzz
