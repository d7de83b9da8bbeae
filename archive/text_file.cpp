#include "archive/text_file.h"

#include "archive/run_error.h"

#include <algorithm>
#include <array>
#include <charconv>

namespace pagelark {

namespace {

constexpr std::uint8_t LF = '\n';
constexpr std::uint8_t CR = '\r';
constexpr std::size_t MaxNumberLength = 32;
constexpr std::size_t LineRun = 256;

bool isBlank(std::uint8_t c) { return c <= ' '; }

}  // namespace

std::string TextFile::readLine()
{
    // The line is read in runs rather than byte by byte, which made reading
    // the description files a good part of opening a VSWAP file; the file is
    // left just past the line end all the same.
    std::string line;
    std::array<std::uint8_t, LineRun> run{};
    while (!file_.eof()) {
        const std::int64_t start = file_.position();
        const auto take = static_cast<std::size_t>(std::min<std::int64_t>(LineRun, file_.size() - start));
        file_.readBytes(run.data(), take);
        const auto* const end = std::find(run.data(), run.data() + take, LF);
        line.append(reinterpret_cast<const char*>(run.data()), static_cast<std::size_t>(end - run.data()));
        if (end != run.data() + take) {
            file_.seek(start + (end - run.data()) + 1);
            break;
        }
    }
    if (!line.empty() && static_cast<std::uint8_t>(line.back()) == CR)
        line.pop_back();
    return line;
}

void TextFile::skipLine()
{
    while (!file_.eof()) {
        if (file_.readByte() == LF)
            return;
    }
}

std::int32_t TextFile::readInteger()
{
    std::uint8_t c = 0;
    for (;;) {
        if (file_.eof())
            return 0;
        c = file_.readByte();
        if (!isBlank(c))
            break;
    }
    std::string text(1, static_cast<char>(c));
    while (text.size() < MaxNumberLength && !file_.eof()) {
        c = file_.readByte();
        if (isBlank(c)) {
            // Leave the blank for the next read, as the run-time does: a line
            // end right after the number still ends that line.
            file_.seek(file_.position() - 1);
            break;
        }
        text.push_back(static_cast<char>(c));
    }

    const char* first = text.data();
    const char* last = text.data() + text.size();
    bool negative = false;
    if (*first == '+' || *first == '-') {
        negative = *first == '-';
        ++first;
    }
    std::int64_t magnitude = 0;
    const bool startsWithDigit = first != last && *first >= '0' && *first <= '9';
    const auto [end, error] = std::from_chars(first, last, magnitude);
    if (!startsWithDigit || error != std::errc() || end != last || magnitude > 2147483648LL
        || (!negative && magnitude > 2147483647LL))
        throw RunError::io(io_code::InvalidNumericInput);
    return static_cast<std::int32_t>(negative ? -magnitude : magnitude);
}

}  // namespace pagelark
