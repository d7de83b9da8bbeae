#include "export/saved_layout.h"

#include "archive/run_error.h"

#include <charconv>
#include <sstream>

namespace pagelark {

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";

std::string hexOf(const std::vector<std::uint8_t>& bytes)
{
    std::string text;
    text.reserve(2 * bytes.size());
    for (const std::uint8_t byte : bytes) {
        text += HexDigits[byte >> 4];
        text += HexDigits[byte & 0xF];
    }
    return text.empty() ? "-" : text;
}

int hexValue(char digit)
{
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    return -1;
}

// Reads the words of one line, each checked as it is taken.
class LineReader {
public:
    LineReader(const std::string& line, int number) : words_(line), number_(number) {}

    std::string word()
    {
        std::string text;
        if (!(words_ >> text))
            fail("a value is missing");
        return text;
    }

    template <typename Number>
    Number number(Number most)
    {
        const std::string text = word();
        Number value{};
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size() || value > most)
            fail("'" + text + "' is not a number up to " + std::to_string(most));
        return value;
    }

    std::vector<std::uint8_t> bytes(std::size_t most)
    {
        const std::string text = word();
        if (text == "-")
            return {};
        if (text.size() % 2 != 0 || text.size() / 2 > most)
            fail("not the hexadecimal bytes of a chunk");
        std::vector<std::uint8_t> bytes(text.size() / 2);
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            const int high = hexValue(text[2 * i]);
            const int low = hexValue(text[2 * i + 1]);
            if (high < 0 || low < 0)
                fail("not the hexadecimal bytes of a chunk");
            bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
        }
        return bytes;
    }

    void end()
    {
        std::string extra;
        if (words_ >> extra)
            fail("'" + extra + "' is more than the line holds");
    }

    [[noreturn]] void fail(const std::string& why) const
    {
        throw RunError::message("line " + std::to_string(number_) + ": " + why);
    }

private:
    std::istringstream words_;
    int number_;
};

constexpr std::int32_t LastChunk = 0xFFFF;

}  // namespace

std::uint64_t gridFingerprint(const std::uint8_t* cells, std::size_t count)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (std::size_t i = 0; i < count; ++i) {
        hash ^= cells[i];
        hash *= 0x100000001b3ULL;
    }
    return hash;
}

std::string savedLayoutText(const SavedLayout& layout)
{
    std::ostringstream text;
    text << "# Pagelark: what pack needs besides the chunk files to rebuild the page file they were saved from.\n"
         << "sprite-start " << layout.spriteStart << '\n'
         << "sound-start " << layout.soundStart << '\n';
    for (const auto& [index, length] : layout.absent)
        text << "absent " << index << ' ' << length << '\n';
    for (const auto& [index, bytes] : layout.shortChunks)
        text << "short " << index << ' ' << hexOf(bytes) << '\n';
    for (const auto& [index, raw] : layout.raw) {
        text << "raw " << index << ' ';
        if (raw.gridFingerprint) {
            char fingerprint[17] = {};
            std::to_chars(fingerprint, fingerprint + 16, *raw.gridFingerprint, 16);
            text << fingerprint;
        } else {
            text << '-';
        }
        text << ' ' << hexOf(raw.bytes) << '\n';
    }
    if (layout.soundInfoTerminated)
        text << "sound-info terminated\n";
    return text.str();
}

SavedLayout parseSavedLayout(const std::string& text)
{
    SavedLayout layout;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::size_t start = line.find_first_not_of(" \t\r");
        if (start == std::string::npos || line[start] == '#')
            continue;
        LineReader reader(line, number);
        const std::string key = reader.word();
        if (key == "sprite-start") {
            layout.spriteStart = reader.number<std::int32_t>(LastChunk);
        } else if (key == "sound-start") {
            layout.soundStart = reader.number<std::int32_t>(LastChunk);
        } else if (key == "absent") {
            const auto index = reader.number<std::int32_t>(LastChunk);
            layout.absent[index] = reader.number<std::uint16_t>(0xFFFF);
        } else if (key == "short") {
            const auto index = reader.number<std::int32_t>(LastChunk);
            layout.shortChunks[index] = reader.bytes(1);
        } else if (key == "raw") {
            const auto index = reader.number<std::int32_t>(LastChunk);
            SavedLayout::Raw raw;
            const std::string fingerprint = reader.word();
            if (fingerprint != "-") {
                std::uint64_t value = 0;
                const auto [end, error]
                    = std::from_chars(fingerprint.data(), fingerprint.data() + fingerprint.size(), value, 16);
                if (error != std::errc() || end != fingerprint.data() + fingerprint.size())
                    reader.fail("'" + fingerprint + "' is not a fingerprint");
                raw.gridFingerprint = value;
            }
            raw.bytes = reader.bytes(0xFFFF);
            layout.raw[index] = std::move(raw);
        } else if (key == "sound-info") {
            if (reader.word() != "terminated")
                reader.fail("sound-info is only ever 'terminated'");
            layout.soundInfoTerminated = true;
        } else {
            reader.fail("'" + key + "' is not a fact of a page file's layout");
        }
        reader.end();
    }
    if (layout.soundStart < layout.spriteStart)
        throw RunError::message("the sounds start before the sprites");
    return layout;
}

}  // namespace pagelark
