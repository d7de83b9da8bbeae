#include "mods/mod_result.h"

#include "archive/page_file.h"
#include "archive/run_error.h"
#include "mods/sha256_qt.h"

#include <algorithm>

namespace pagelark {

FileFacts writeModResult(const PageFile& result, ByteFile* original, const std::vector<ResultBytes>& bytes,
                         std::int64_t mostBytes, const std::function<void(const std::uint8_t*, std::size_t)>& out)
{
    Sha256 hash;
    std::int64_t at = 0;
    std::size_t next = 0;  // the first run not yet written whole
    std::vector<std::uint8_t> piece;
    writePageFile(result, original, [&](const std::uint8_t* data, std::size_t count) {
        const std::int64_t end = at + static_cast<std::int64_t>(count);
        if (end > mostBytes)
            throw RunError::message("the result would be longer than " + std::to_string(mostBytes) + " bytes");
        const std::uint8_t* written = data;
        if (next < bytes.size() && bytes[next].offset < end) {
            piece.assign(data, data + count);
            for (std::size_t run = next; run < bytes.size() && bytes[run].offset < end; ++run) {
                const ResultBytes& over = bytes[run];
                const std::int64_t from = std::max(over.offset, at);
                const std::int64_t to = std::min(over.offset + static_cast<std::int64_t>(over.bytes.size()), end);
                if (from < to)
                    std::copy(over.bytes.begin() + (from - over.offset), over.bytes.begin() + (to - over.offset),
                              piece.begin() + (from - at));
                if (to == over.offset + static_cast<std::int64_t>(over.bytes.size()))
                    next = run + 1;
            }
            written = piece.data();
        }
        hash.add(written, count);
        out(written, count);
        at = end;
    });
    if (next < bytes.size())
        throw RunError::message("bytes at " + std::to_string(bytes[next].offset) + " lie beyond the end of the result, "
                                + std::to_string(at) + " bytes long");
    return {at, hash.hex()};
}

void checkResultFacts(const FileFacts& made, const FileFacts& expected)
{
    if (made == expected)
        return;
    throw RunError::message("it makes a file of " + std::to_string(made.size) + " bytes, SHA-256 "
                            + shortHash(made.sha256) + ", where it says it makes one of "
                            + std::to_string(expected.size) + " bytes, SHA-256 " + shortHash(expected.sha256));
}

std::string shortHash(const std::string& sha256) { return sha256.substr(0, 12); }

}  // namespace pagelark
