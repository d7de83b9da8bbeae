#include "archive/run_error.h"
#include "archive/text_file.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

namespace pagelark::testing {
namespace {

// A text file of these bytes in the folder, open for reading.
TextFile textFileOf(const TempDir& dir, const std::string& text)
{
    writeFileText(dir.file("text.txt"), text);
    TextFile file;
    file.open(dir.file("text.txt"));
    return file;
}

TEST(TextFileLines, EndAtLineFeedOrCarriageReturnLineFeed)
{
    TempDir dir;
    TextFile file = textFileOf(dir, "first\r\nsecond\nthird\rstill third\n\nlast");
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
    TextFile file = textFileOf(dir, "  12\t-7\r\n\n  +30 rest of line\n4");
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
    TextFile file = textFileOf(dir, "1 2 3\n4 5 6\n");
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
        TextFile file = textFileOf(dir, text);
        try {
            file.readInteger();
            ADD_FAILURE() << "accepted " << text;
        } catch (const RunError& error) {
            EXPECT_EQ(error.code(), 106) << text;
            EXPECT_STREQ(error.text(), "Invalid numeric input");
        }
    }
    TextFile file = textFileOf(dir, "2147483647 -2147483648");
    EXPECT_EQ(file.readInteger(), 2147483647);
    EXPECT_EQ(file.readInteger(), -2147483647 - 1);
}

TEST(TextFileNumbers, TakeAtMostThirtyTwoCharacters)
{
    TempDir dir;
    // 33 digits: the first 32 are one (too large) number.
    TextFile file = textFileOf(dir, std::string(31, '0') + "12");
    EXPECT_EQ(file.readInteger(), 1);
    EXPECT_EQ(file.readInteger(), 2);
}

}  // namespace
}  // namespace pagelark::testing
