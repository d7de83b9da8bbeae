#include "archive/run_error.h"
#include "pictures/bitmap_writer.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pagelark::testing {
namespace {

BmpHeaderTemplate referenceHeader()
{
    BmpHeaderTemplate header;
    std::copy_n(referenceBitmap().begin(), header.size(), header.begin());
    return header;
}

TEST(BitmapWriter, HeaderThenRowsFromTheBottom)
{
    TempDir dir;
    PixelGrid grid{};
    grid[gridCell(0, 0)] = 7;
    const BmpHeaderTemplate header = referenceHeader();
    writeBitmapFile(dir.file("pl.bmp"), grid, header);

    const auto bytes = readFileBytes(dir.file("pl.bmp"));
    ASSERT_EQ(bytes.size(), 5174u);
    EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
    EXPECT_EQ(bytes[5110], 7);  // the first byte of the last stored row, the top one
    EXPECT_EQ(bytes[1078], 0);
    EXPECT_EQ(std::count(bytes.begin() + 1078, bytes.end(), 0), 4095);

    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y)
            grid[gridCell(x, y)] = static_cast<std::uint8_t>(x * 3 + y * 5);
    }
    writeBitmapFile(dir.file("pl.bmp"), grid, header);
    const auto rows = readFileBytes(dir.file("pl.bmp"));
    for (int x = 0; x < 64; ++x) {
        for (int y = 0; y < 64; ++y)
            ASSERT_EQ(rows[1078 + (63 - y) * 64 + x], grid[gridCell(x, y)]) << x << "," << y;
    }
}

TEST(BitmapWriter, ReplacesAnExistingFileAndWritesTheTemplateUnchecked)
{
    TempDir dir;
    testing::writeFileBytes(dir.file("old.bmp"), std::vector<std::uint8_t>(9000, 0x5A));
    PixelGrid grid;
    grid.fill(255);
    writeBitmapFile(dir.file("old.bmp"), grid, BmpHeaderTemplate{});

    const auto bytes = readFileBytes(dir.file("old.bmp"));
    ASSERT_EQ(bytes.size(), 5174u);
    EXPECT_EQ(std::count(bytes.begin(), bytes.begin() + 1078, 0), 1078);
    EXPECT_EQ(std::count(bytes.begin() + 1078, bytes.end(), 255), 4096);
}

TEST(BitmapWriter, FolderThatDoesNotExistRaises)
{
    TempDir dir;
    try {
        writeBitmapFile(dir.file("absent/pl.bmp"), PixelGrid{}, referenceHeader());
        FAIL() << "no error raised";
    } catch (const RunError& error) {
        EXPECT_STREQ(error.what(), "Invalid filename");
    }
}

}  // namespace
}  // namespace pagelark::testing
