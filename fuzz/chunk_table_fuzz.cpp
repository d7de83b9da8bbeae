// The header, chunk table and sound information of an arbitrary file, the
// list lines made from them, and list lines read back from arbitrary text.

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/descriptions.h"
#include "archive/list_line.h"
#include "archive/run_error.h"
#include "fuzz/input_file.h"
#include "fuzz/require.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The checks' own branches and comparisons tell the fuzzer nothing about the
// code under test; tracing them would only cost time.
#define UNTRACED __attribute__((no_sanitize("coverage")))

namespace {

using namespace pagelark;
using fuzz::require;

// Item numbers of up to four digits come back whole from a line of full width;
// longer ones keep only some of their last digits.
constexpr std::int32_t WholeItemNumbers = 10000;
// Enough arbitrary lines to reach every branch of the line readers.
constexpr int ArbitraryLines = 64;
// Besides the lines at every edge, one line in this many is read back and
// described: a file has up to 6144 lines, and doing so for each was most of
// the check's time.
constexpr std::size_t SampledLineSpacing = 64;

const DescriptionTable& someDescriptions()
{
    static const auto table = [] {
        auto filled = std::make_unique<DescriptionTable>();
        for (std::int64_t slot = 0; slot < ChunkSlots; slot += 7)
            filled->set(slot, filled->addText("slot " + std::to_string(slot)));
        return filled;
    }();
    return *table;
}

UNTRACED void checkDescribed(std::string_view line, std::int32_t soundStart)
{
    const std::string described = describedLine(line, soundStart, someDescriptions());
    const std::string_view head = line.substr(0, ListLineWidth);
    require(std::string_view(described).substr(0, head.size()) == head);
    require(described.substr(head.size(), 2) == "  ");
}

UNTRACED void putRightAligned(std::array<char, ListLineWidth>& line, std::size_t end, std::int32_t number)
{
    do {
        line[--end] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0);
}

// The line of a chunk whose numbers both fit four characters, put together
// here apart from the list's own code: the index right-aligned in four
// characters, a space, the kind word in seven, the item number right-aligned
// in four.
UNTRACED bool isExpectedLine(std::string_view line, std::int32_t index, std::string_view kindWord, std::int32_t number)
{
    std::array<char, ListLineWidth> expected;
    expected.fill(' ');
    putRightAligned(expected, 4, index);
    std::copy(kindWord.begin(), kindWord.end(), expected.begin() + 5);
    putRightAligned(expected, ListLineWidth, number);
    return line == std::string_view(expected.data(), expected.size());
}

UNTRACED std::string_view kindWordOf(const VswapHeader& header, std::int32_t index)
{
    if (index >= header.soundStart)
        return "sound  ";
    return index < header.spriteStart ? "wall   " : "sprite ";
}

// One line for every listed chunk and for nothing else, in index order. Each
// line whose numbers fit is compared whole; a sample of the lines is also
// read back and described: the first of each kind, the last, the first with
// a number too wide for its field, the first sound described from beyond the
// description table, and one in every SampledLineSpacing.
UNTRACED void checkListLines(const VswapHeader& header, const ChunkTable& table)
{
    const std::vector<std::string> lines = listLines(header, table);
    std::size_t next = 0;
    std::string_view lastKind;
    bool wideSampled = false;
    bool beyondTableSampled = false;
    for (std::int32_t index = 0; index < header.chunkCount; ++index) {
        if (!table.isListed(index))
            continue;
        require(next < lines.size());
        const std::string& line = lines[next++];
        const std::int32_t number = table.itemNumber[index];
        const std::string_view kind = kindWordOf(header, index);
        const bool wide = number >= WholeItemNumbers;
        const bool beyondTable = index >= header.soundStart && header.soundStart + number >= ChunkSlots;
        bool sampled = kind != lastKind || next == lines.size() || next % SampledLineSpacing == 0;
        sampled = sampled || (wide && !std::exchange(wideSampled, true));
        sampled = sampled || (beyondTable && !std::exchange(beyondTableSampled, true));
        lastKind = kind;
        if (!wide)
            require(isExpectedLine(line, index, kind, number));
        if (!sampled)
            continue;
        require(chunkIndexOfLine(line) == index);
        if (!wide)
            require(itemNumberOfLine(line) == number);
        checkDescribed(line, header.soundStart);
    }
    require(next == lines.size());
}

UNTRACED void readArbitraryLines(std::string_view text, std::int32_t soundStart)
{
    for (int n = 0; n < ArbitraryLines && !text.empty(); ++n) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        chunkIndexOfLine(line);
        itemNumberOfLine(line);
        checkDescribed(line, soundStart);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> input(data, size);
    // The table is large; one per process, cleared as an open clears it.
    static auto table = std::make_unique<ChunkTable>();
    table->clear();
    VswapHeader header;
    ByteFile file;
    try {
        file.openRead(fuzz::writeInputFile(input));
        readChunkTable(file, header, *table);
    } catch (const RunError&) {
        // A damaged file is refused or read up to its fault; the lines of
        // what was read are still shown.
    }
    checkListLines(header, *table);
    readArbitraryLines({reinterpret_cast<const char*>(data), size}, header.soundStart);
    return 0;
}
