#include "saved_folder/saved_layout.h"

#include "archive/chunk_table.h"
#include "archive/lookup_table.h"
#include "archive/run_error.h"

#include <charconv>
#include <limits>
#include <sstream>

namespace pagelark {

namespace {

constexpr char HexDigits[] = "0123456789ABCDEF";
constexpr std::int64_t LastChunk = ChunkSlots - 1;
constexpr std::int64_t LongestRun = 0x7FFFFFFF;
constexpr std::int64_t LargestWord = 0xFFFF;
// What a gap of zeros may be without its bytes kept: a layout file cannot
// make pack write more zeros than a table of chunks this far apart.
constexpr std::int64_t LongestZeroGap = 0xFFFF;

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

bool isNumber(const std::string& word)
{
    return !word.empty() && word.find_first_not_of("0123456789") == std::string::npos;
}

// Reads the words of one line, each checked as it is taken.
class LineReader {
public:
    LineReader(const std::string& line, int number) : words_(line), number_(number)
    {
        for (std::string word; words_ >> word;)
            all_.push_back(word);
    }

    std::size_t wordsLeft() const { return all_.size() - next_; }
    const std::string& peek() const
    {
        if (next_ == all_.size())
            fail("a value is missing");
        return all_[next_];
    }

    std::string word()
    {
        const std::string text = peek();
        ++next_;
        return text;
    }

    // A whole number from 0 to most, written as save writes it.
    std::int64_t number(std::int64_t most)
    {
        const std::string text = word();
        std::int64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (!isNumber(text) || error != std::errc() || end != text.data() + text.size() || value > most)
            fail("'" + text + "' is not a number from 0 to " + std::to_string(most));
        return value;
    }

    std::vector<std::uint8_t> hexBytes(std::size_t most)
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

    std::optional<std::uint64_t> fingerprint()
    {
        const std::string text = word();
        if (text == "-")
            return std::nullopt;
        std::uint64_t value = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
        if (text.size() > 16 || error != std::errc() || end != text.data() + text.size())
            fail("'" + text + "' is not a fingerprint");
        return value;
    }

    KeptBytes kept(std::int64_t longest)
    {
        KeptBytes bytes;
        bytes.at = number(LongestRun);
        bytes.length = number(longest);
        return bytes;
    }

    ChunkName chunk()
    {
        const std::string kind = word();
        for (const LayoutKind named : {LayoutKind::Wall, LayoutKind::Sprite, LayoutKind::Page})
            if (kind == layoutKindWord(named))
                return {named, static_cast<std::int32_t>(number(LargestWord))};
        if (kind == layoutKindWord(LayoutKind::SoundInfo))
            return {LayoutKind::SoundInfo, 0};
        fail("'" + kind + "' is not a kind of chunk (wall, sprite, page or sound-info)");
    }

    void end()
    {
        if (wordsLeft() > 0)
            fail("'" + all_[next_] + "' is more than the line holds");
    }

    [[noreturn]] void fail(const std::string& why) const
    {
        throw RunError::message("line " + std::to_string(number_) + ": " + why);
    }

    int line() const { return number_; }

private:
    std::istringstream words_;
    std::vector<std::string> all_;
    std::size_t next_ = 0;
    int number_;
};

// A fact of an earlier version's layout file, by chunk index, named once the
// sprite and sound starts are known.
struct IndexedFact {
    std::int32_t index;
    std::string key;
    SavedLayout::Absent absent;
    SavedLayout::Short shortChunk;
    SavedLayout::Raw raw;
};

ChunkName nameOfIndex(const SavedLayout& layout, std::int32_t index)
{
    if (index >= layout.soundStart)
        return {LayoutKind::Page, index - layout.soundStart};
    if (index >= layout.spriteStart)
        return {LayoutKind::Sprite, index - layout.spriteStart};
    return {LayoutKind::Wall, index};
}

template <typename Fact>
void addFact(std::map<ChunkName, Fact>& facts, const ChunkName& name, Fact fact, const LineReader& reader)
{
    if (!facts.emplace(name, std::move(fact)).second)
        reader.fail("a second line for " + std::string(layoutKindWord(name.kind)) + " " + std::to_string(name.number));
}

void writeKept(std::ostream& text, const KeptBytes& kept) { text << kept.at << ' ' << kept.length; }

std::string nameText(const ChunkName& name)
{
    if (name.kind == LayoutKind::SoundInfo)
        return layoutKindWord(name.kind);
    return std::string(layoutKindWord(name.kind)) + " " + std::to_string(name.number);
}

}  // namespace

const char* layoutKindWord(LayoutKind kind)
{
    static constexpr LookupRow<LayoutKind, const char*> Words[]
        = {{LayoutKind::Wall, "wall"}, {LayoutKind::Sprite, "sprite"}, {LayoutKind::Page, "page"}};
    return lookUp(Words, kind, "sound-info");
}

std::uint64_t contentFingerprint(const std::uint8_t* bytes, std::size_t count)
{
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    for (std::size_t i = 0; i < count; ++i) {
        hash ^= bytes[i];
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
    if (layout.pages)
        text << "pages " << *layout.pages << '\n';
    for (const auto& [name, absent] : layout.absent)
        text << "absent " << nameText(name) << ' ' << absent.length << '\n';
    for (const auto& [name, short_] : layout.shortChunks)
        text << "short " << nameText(name) << ' ' << hexOf(short_.bytes) << '\n';
    for (const auto& [name, raw] : layout.raw) {
        text << "raw " << nameText(name) << ' ';
        if (raw.fingerprint) {
            char fingerprint[17] = {};
            std::to_chars(fingerprint, fingerprint + 16, *raw.fingerprint, 16);
            text << fingerprint;
        } else {
            text << '-';
        }
        text << ' ';
        if (raw.kept)
            writeKept(text, *raw.kept);
        else
            text << hexOf(raw.inlineBytes);
        text << '\n';
    }
    for (std::size_t k = 0; k < layout.sounds.size(); ++k)
        text << "sound " << k << ' ' << layout.sounds[k].firstPage << ' ' << layout.sounds[k].length << '\n';
    if (layout.soundInfoTerminated)
        text << "sound-info terminated\n";
    if (layout.soundInfoBytes) {
        text << "sound-info-bytes ";
        writeKept(text, *layout.soundInfoBytes);
        text << '\n';
    }
    for (const SavedLayout::Place& place : layout.places) {
        text << "place " << nameText(place.chunk) << ' ' << place.gap;
        if (place.gapBytes)
            text << ' ' << place.gapBytes->at;
        text << '\n';
    }
    if (layout.trailing) {
        text << "trailing ";
        writeKept(text, *layout.trailing);
        text << '\n';
    }
    return text.str();
}

SavedLayout parseSavedLayout(const std::string& text)
{
    SavedLayout layout;
    std::vector<IndexedFact> indexed;
    std::map<ChunkName, int> placed;
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
            layout.spriteStart = static_cast<std::int32_t>(reader.number(LastChunk));
            layout.spriteStartLine = number;
        } else if (key == "sound-start") {
            layout.soundStart = static_cast<std::int32_t>(reader.number(LastChunk));
            layout.soundStartLine = number;
        } else if (key == "pages") {
            layout.pages = static_cast<std::int32_t>(reader.number(ChunkSlots));
        } else if ((key == "absent" || key == "short" || key == "raw") && isNumber(reader.peek())) {
            IndexedFact fact{static_cast<std::int32_t>(reader.number(LastChunk)), key, {}, {}, {}};
            if (key == "absent") {
                fact.absent = {static_cast<std::uint16_t>(reader.number(LargestWord)), number};
            } else if (key == "short") {
                fact.shortChunk = {reader.hexBytes(1), number};
            } else {
                fact.raw.fingerprint = reader.fingerprint();
                fact.raw.inlineBytes = reader.hexBytes(LongestChunk);
                fact.raw.line = number;
            }
            indexed.push_back(std::move(fact));
        } else if (key == "absent") {
            const ChunkName name = reader.chunk();
            addFact(layout.absent, name, {static_cast<std::uint16_t>(reader.number(LargestWord)), number}, reader);
        } else if (key == "short") {
            const ChunkName name = reader.chunk();
            addFact(layout.shortChunks, name, {reader.hexBytes(1), number}, reader);
        } else if (key == "raw") {
            const ChunkName name = reader.chunk();
            SavedLayout::Raw raw;
            raw.fingerprint = reader.fingerprint();
            raw.kept = reader.kept(LongestChunk);
            raw.line = number;
            addFact(layout.raw, name, std::move(raw), reader);
        } else if (key == "sound") {
            const std::int64_t k = reader.number(LargestWord);
            if (k != static_cast<std::int64_t>(layout.sounds.size()))
                reader.fail("sound " + std::to_string(k) + " where sound " + std::to_string(layout.sounds.size())
                            + " comes next");
            SoundEntry entry;
            entry.firstPage = static_cast<std::uint16_t>(reader.number(LargestWord));
            entry.length = static_cast<std::uint16_t>(reader.number(LargestWord));
            layout.sounds.push_back(entry);
        } else if (key == "sound-info") {
            if (reader.word() != "terminated")
                reader.fail("sound-info is only ever 'terminated'");
            layout.soundInfoTerminated = true;
        } else if (key == "sound-info-bytes") {
            layout.soundInfoBytes = reader.kept(LongestChunk);
        } else if (key == "place") {
            SavedLayout::Place place;
            place.chunk = reader.chunk();
            place.gap = reader.number(LongestRun);
            if (reader.wordsLeft() > 0)
                place.gapBytes = KeptBytes{reader.number(LongestRun), place.gap};
            else if (place.gap > LongestZeroGap)
                reader.fail("a gap of " + std::to_string(place.gap) + " zero bytes; save keeps gaps longer than "
                            + std::to_string(LongestZeroGap) + " in " + SavedLayoutBytesFileName);
            place.line = number;
            if (!placed.emplace(place.chunk, number).second)
                reader.fail("a second place for " + nameText(place.chunk));
            layout.places.push_back(place);
        } else if (key == "trailing") {
            layout.trailing = reader.kept(LongestRun);
        } else {
            reader.fail("'" + key + "' is not a fact of a page file's layout");
        }
        reader.end();
    }
    if (layout.spriteStartLine == 0)
        throw RunError::message("the sprite-start line is missing (save writes it as line 2)");
    if (layout.soundStartLine == 0)
        throw RunError::message("the sound-start line is missing (save writes it as line 3)");
    if (layout.soundStart < layout.spriteStart)
        throw RunError::message("line " + std::to_string(layout.soundStartLine)
                                + ": the sounds start before the sprites (line "
                                + std::to_string(layout.spriteStartLine) + ")");
    for (IndexedFact& fact : indexed) {
        const ChunkName name = nameOfIndex(layout, fact.index);
        const LineReader reader("",
                                fact.key == "absent"      ? fact.absent.line
                                    : fact.key == "short" ? fact.shortChunk.line
                                                          : fact.raw.line);
        if (fact.key == "absent")
            addFact(layout.absent, name, fact.absent, reader);
        else if (fact.key == "short")
            addFact(layout.shortChunks, name, std::move(fact.shortChunk), reader);
        else
            addFact(layout.raw, name, std::move(fact.raw), reader);
    }
    return layout;
}

}  // namespace pagelark
