// The header, chunk table and sound information of an arbitrary file, the
// list lines made from them, and list lines read back from arbitrary text.

#include "archive/byte_file.h"
#include "archive/chunk_table.h"
#include "archive/descriptions.h"
#include "archive/list_line.h"
#include "archive/run_error.h"
#include "fuzz/input_file.h"

#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

namespace {

using namespace pagelark;

// Item numbers of up to four digits come back whole from a line of full width;
// longer ones keep only some of their last digits.
constexpr std::int32_t WholeItemNumbers = 10000;
// Enough arbitrary lines to reach every branch of the line readers.
constexpr int ArbitraryLines = 64;

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

void require(bool holds)
{
    if (!holds)
        std::abort();
}

void checkDescribed(std::string_view line, std::int32_t soundStart)
{
    const std::string described = describedLine(line, soundStart, someDescriptions());
    const std::string_view head = line.substr(0, ListLineWidth);
    require(std::string_view(described).substr(0, head.size()) == head);
    require(described.substr(head.size(), 2) == "  ");
}

void checkListLines(const VswapHeader& header, const ChunkTable& table)
{
    for (const std::string& line : listLines(header, table)) {
        const std::int32_t index = chunkIndexOfLine(line);
        require(index >= 0 && index < header.chunkCount && table.isListed(index));
        if (table.itemNumber[index] < WholeItemNumbers) {
            require(line.size() == ListLineWidth);
            require(itemNumberOfLine(line) == table.itemNumber[index]);
        }
        checkDescribed(line, header.soundStart);
    }
}

void readArbitraryLines(std::string_view text, std::int32_t soundStart)
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
