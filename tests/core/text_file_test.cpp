#include "archive/run_error.h"
#include "archive/text_file.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace pagelark {
namespace {

using testing::TempDir;
using testing::writeFileText;

TEST(TextFileLines, EndAtLineFeedOrCarriageReturnLineFeed)
{
    TempDir dir;
    writeFileText(dir.file("t.txt"), "first\r\nsecond\nthird\rstill third\n\nlast");
    TextFile file;
    file.open(dir.file("t.txt"));
    EXPECT_EQ(file.readLine(), "first");
    EXPECT_EQ(file.readLine(), "second");
    EXPECT_EQ(file.readLine(), "third\rstill third");
    EXPECT_EQ(file.readLine(), "");
    EXPECT_FALSE(file.eof());
    EXPECT_EQ(file.readLine(), "last");
    EXPECT_TRUE(file.eof());
    // At the end of the file a line reads as empty, again and again.
    EXPECT_EQ(file.readLine(), "");
    EXPECT_EQ(file.readLine(), "");
    file.close();
}

TEST(TextFileNumbers, SkipBlanksAndLineEndsAndReadZeroAtTheEnd)
{
    TempDir dir;
    writeFileText(dir.file("n.txt"), "  12\t-7\r\n\n  +30 rest of line\n4");
    TextFile file;
    file.open(dir.file("n.txt"));
    EXPECT_EQ(file.readInteger(), 12);
    EXPECT_EQ(file.readInteger(), -7);
    EXPECT_EQ(file.readInteger(), 30);
    file.skipLine();
    EXPECT_EQ(file.readInteger(), 4);
    EXPECT_EQ(file.readInteger(), 0);
    EXPECT_EQ(file.readInteger(), 0);
    file.skipLine();
}

TEST(TextFileNumbers, NumberEndsItsLineWhenTheLineEndFollows)
{
    TempDir dir;
    writeFileText(dir.file("n.txt"), "1 2 3\n4 5 6\n");
    TextFile file;
    file.open(dir.file("n.txt"));
    EXPECT_EQ(file.readInteger(), 1);
    EXPECT_EQ(file.readInteger(), 2);
    EXPECT_EQ(file.readInteger(), 3);
    file.skipLine();  // skips only the line end after 3
    EXPECT_EQ(file.readInteger(), 4);
}

TEST(TextFileNumbers, NonNumbersAndOverflowAreInvalidNumericInput)
{
    TempDir dir;
    for (const char* text : {"abc", "12x", "+-5", "-", "4294967296", "2147483648", "1.5"}) {
        writeFileText(dir.file("bad.txt"), text);
        TextFile file;
        file.open(dir.file("bad.txt"));
        try {
            file.readInteger();
            ADD_FAILURE() << "accepted " << text;
        } catch (const RunError& error) {
            EXPECT_EQ(error.code(), 106) << text;
            EXPECT_STREQ(error.text(), "Invalid numeric input");
        }
    }
    writeFileText(dir.file("edge.txt"), "2147483647 -2147483648");
    TextFile file;
    file.open(dir.file("edge.txt"));
    EXPECT_EQ(file.readInteger(), 2147483647);
    EXPECT_EQ(file.readInteger(), -2147483647 - 1);
}

TEST(TextFileNumbers, TakeAtMostThirtyTwoCharacters)
{
    TempDir dir;
    // 33 digits: the first 32 are one (too large) number.
    writeFileText(dir.file("long.txt"), std::string(31, '0') + "12");
    TextFile file;
    file.open(dir.file("long.txt"));
    EXPECT_EQ(file.readInteger(), 1);
    EXPECT_EQ(file.readInteger(), 2);
}

}  // namespace
}  // namespace pagelark
