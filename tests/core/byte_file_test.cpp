#include "archive/byte_file.h"
#include "archive/run_error.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

namespace pagelark {
namespace {

using testing::readFileBytes;
using testing::TempDir;
using testing::writeFileBytes;

// Runs f and returns the code and text of the RunError it raises.
template <typename F>
std::pair<int, std::string> errorOf(F&& f)
{
    try {
        f();
    } catch (const RunError& error) {
        return {error.code(), error.text()};
    }
    ADD_FAILURE() << "no error raised";
    return {-1, ""};
}

TEST(ByteFileErrors, CarryTheRunTimesCodesAndTexts)
{
    TempDir dir;
    ByteFile file;
    EXPECT_EQ(errorOf([&] { file.openRead(dir.file("missing")); }), std::make_pair(2, std::string("File not found")));
    EXPECT_EQ(errorOf([&] { file.create(dir.file("no-such-folder/out.bin")); }),
              std::make_pair(3, std::string("Invalid filename")));
    EXPECT_EQ(errorOf([&] { file.openRead(dir.path().string()); }),
              std::make_pair(5, std::string("File access denied")));
    EXPECT_EQ(errorOf([&] { file.create(dir.path().string()); }), std::make_pair(5, std::string("File access denied")));
    EXPECT_FALSE(file.isOpen());
}

TEST(ByteFileErrors, OtherSystemErrorsShowTheSystemsNumber)
{
    EXPECT_EQ(RunError::fromErrno(EIO).text(), std::string("I/O error 5"));
    EXPECT_EQ(RunError::fromErrno(EIO).code(), 5);
    EXPECT_EQ(RunError::fromErrno(ENOSPC).text(), std::string("Disk full"));
    EXPECT_EQ(RunError::fromErrno(EMFILE).code(), 4);
    EXPECT_EQ(RunError::fromErrno(EROFS).text(), std::string("File access denied"));
    EXPECT_EQ(ioErrorText(106), "Invalid numeric input");
}

TEST(ByteFileReading, ReadsByteByByteFromAnyPosition)
{
    TempDir dir;
    std::vector<std::uint8_t> bytes(200000);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 256);
    writeFileBytes(dir.file("data"), bytes);

    ByteFile file;
    file.openRead(dir.file("data"));
    EXPECT_EQ(file.size(), 200000);
    EXPECT_EQ(file.position(), 0);
    for (std::int64_t position : {0LL, 65535LL, 65536LL, 199999LL, 3LL, 131072LL, 70000LL}) {
        file.seek(position);
        EXPECT_EQ(file.readByte(), bytes[static_cast<std::size_t>(position)]) << position;
        EXPECT_EQ(file.position(), position + 1);
    }
    file.seek(0);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        ASSERT_EQ(file.readByte(), bytes[i]) << i;
    EXPECT_TRUE(file.eof());
    file.close();
    EXPECT_FALSE(file.isOpen());
}

TEST(ByteFileReading, ReadPastTheEndFailsAtTheFirstMissingByte)
{
    TempDir dir;
    writeFileBytes(dir.file("short"), {10, 20, 30});
    ByteFile file;
    file.openRead(dir.file("short"));
    file.seek(1);
    EXPECT_FALSE(file.eof());
    EXPECT_EQ(file.readByte(), 20);
    EXPECT_EQ(file.readByte(), 30);
    EXPECT_TRUE(file.eof());
    EXPECT_EQ(errorOf([&] { file.readByte(); }), std::make_pair(100, std::string("Read beyond end of file")));

    // Positioning beyond the end is allowed; reading there is not.
    file.seek(50);
    EXPECT_TRUE(file.eof());
    EXPECT_EQ(errorOf([&] { file.readByte(); }).first, 100);
    // A negative position is an I/O error of its own.
    EXPECT_EQ(errorOf([&] { file.seek(-1); }).second, "I/O error 22");
}

TEST(ByteFileReading, OperationsOnAClosedFileFail)
{
    ByteFile file;
    EXPECT_EQ(errorOf([&] { file.readByte(); }).first, 103);
    EXPECT_EQ(errorOf([&] { file.close(); }).first, 103);
    EXPECT_EQ(errorOf([&] { file.seek(0); }).first, 103);
}

TEST(ByteFileWriting, CreateReplacesAndWritesEveryByte)
{
    TempDir dir;
    const std::string path = dir.file("out.bin");
    writeFileBytes(path, std::vector<std::uint8_t>(100000, 0xEE));

    ByteFile file;
    file.create(path);
    EXPECT_EQ(file.size(), 0);
    std::vector<std::uint8_t> expected;
    for (int i = 0; i < 70000; ++i) {
        const auto value = static_cast<std::uint8_t>(i % 251);
        file.writeByte(value);
        expected.push_back(value);
    }
    EXPECT_EQ(file.position(), 70000);
    EXPECT_EQ(file.size(), 70000);
    EXPECT_TRUE(file.eof());
    file.close();
    EXPECT_EQ(readFileBytes(path), expected);
}

TEST(ByteFileWriting, FullDiskIsReportedNoLaterThanClose)
{
    if (!std::filesystem::exists("/dev/full"))
        GTEST_SKIP() << "no /dev/full here";
    ByteFile file;
    file.create("/dev/full");
    const auto code = errorOf([&] {
                          for (int i = 0; i < 100; ++i)
                              file.writeByte(1);
                          file.close();
                      }).first;
    EXPECT_EQ(code, 101);
    EXPECT_FALSE(file.isOpen());
}

}  // namespace
}  // namespace pagelark
