// Contact sheets too large to draw: refused before anything is written,
// with options that do fit.
#include "archive/chunk_table.h"
#include "sheets/contact_sheet_layout.h"
#include "tests/cli/run_cli.h"
#include "tests/support/temp_dir.h"

#include <QImageReader>

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

namespace pagelark::testing {
namespace {

constexpr std::uint32_t WallBytes = 4096;

void putLittleEndian(std::vector<std::uint8_t>& bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// A 41 KB file of 6143 walls that all lie on the one wall it holds, and an
// empty sound information chunk: a sheet of them at scale 16 would take 26 GB.
std::vector<std::uint8_t> manyWallsVswap()
{
    constexpr std::uint32_t Walls = ChunkSlots - 1;
    constexpr std::uint32_t Table = 6 + 6 * ChunkSlots;
    std::vector<std::uint8_t> bytes;
    for (const std::uint32_t field : {std::uint32_t{ChunkSlots}, Walls, Walls})
        putLittleEndian(bytes, field, 2);
    for (std::uint32_t i = 0; i < ChunkSlots; ++i)
        putLittleEndian(bytes, i < Walls ? Table : Table + WallBytes, 4);
    for (std::uint32_t i = 0; i < ChunkSlots; ++i)
        putLittleEndian(bytes, i < Walls ? WallBytes : 4, 2);
    for (std::uint32_t n = 0; n < WallBytes; ++n)
        bytes.push_back(static_cast<std::uint8_t>(n * 7));
    bytes.resize(bytes.size() + 4);
    return bytes;
}

std::vector<std::string> filesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    return names;
}

struct TooLarge {
    std::vector<std::string> options;
    std::string refusal;
};

TEST(ExtractSheet, ATooLargeSheetIsRefusedLeavingTheOutputAsItWasAndTheOptionsItSuggestsFit)
{
    const TempDir dir;
    testing::writeFileBytes(dir.file("VSWAP.BIG"), manyWallsVswap());
    std::filesystem::create_directory(dir.file("out"));
    const std::string sheet = dir.file("out/sheet.png");
    const std::string tooLarge = " pixels is too large (at most 16384 a side); with ";
    const std::vector<TooLarge> cases = {
        {{"--scale", "16"},
         "a sheet of 16520 x 402440" + tooLarge
             + "--scale 16 at most 15 columns fit, and 6143 walls need --scale 2 or less: --scale 2 --columns 58 fits"},
        {{"--scale", "6", "--columns", "256"},
         "a sheet of 100360 x 9800" + tooLarge
             + "--scale 6 at most 41 columns fit, and 6143 walls need --scale 2 or less: --scale 2 --columns 120 "
               "fits"},
    };
    for (const TooLarge& c : cases) {
        testing::writeFileText(sheet, "the sheet before");
        std::vector<std::string> args = {"sheet"};
        args.insert(args.end(), c.options.begin(), c.options.end());
        args.insert(args.end(), {dir.file("VSWAP.BIG"), sheet});
        const CommandResult refused = runCli(args);
        EXPECT_EQ(refused.status, 1) << c.refusal;
        EXPECT_EQ(refused.err, "pagelark-cli: " + sheet + ": " + c.refusal + "\n");
        EXPECT_EQ(filesIn(dir.file("out")), std::vector<std::string>{"sheet.png"});
        EXPECT_EQ(testing::readFileText(sheet), "the sheet before");

        std::smatch suggested;
        ASSERT_TRUE(std::regex_search(refused.err, suggested, std::regex("--scale (\\d+) --columns (\\d+) fits")));
        const CommandResult fits
            = runCli({"sheet", "--scale", suggested[1], "--columns", suggested[2], dir.file("VSWAP.BIG"), sheet});
        ASSERT_EQ(fits.status, 0) << fits.err;
        QImageReader written(QString::fromStdString(sheet));
        EXPECT_EQ(written.imageFormat(), QImage::Format_Indexed8);
        EXPECT_LE(written.size().width(), LargestSheetSide);
        EXPECT_LE(written.size().height(), LargestSheetSide);
        EXPECT_EQ(filesIn(dir.file("out")), std::vector<std::string>{"sheet.png"});
    }
}

}  // namespace
}  // namespace pagelark::testing
