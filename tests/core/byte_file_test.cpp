#include "archive/byte_file.h"
#include "archive/run_error.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <vector>

namespace pagelark::testing {
namespace {

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
    EXPECT_EQ(errorOf([&] { file.openRead(dir.path().string()); }),
              std::make_pair(5, std::string("File access denied")));
    EXPECT_FALSE(file.isOpen());
}

TEST(ByteFileErrors, OnlyRegularFilesAreReadAndPipesAreNeverWaitedOn)
{
    TempDir dir;
    const std::string pipe = dir.file("pipe");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    ByteFile file;
    // Without a writer or a reader at the other end, an ordinary open would wait for ever.
    EXPECT_EQ(errorOf([&] { file.openRead(pipe); }).second, "Not a regular file: " + pipe);
    // A device that never ends is refused before a byte is read.
    EXPECT_EQ(errorOf([&] { file.openRead("/dev/zero"); }).second, std::string("Not a regular file: /dev/zero"));
    // The kernel's files look regular, but reading them can block or change the system.
    for (const std::string kernels : {"/proc/self/status", "/sys/kernel/mm/transparent_hugepage/enabled"}) {
        if (std::filesystem::exists(kernels)) {
            EXPECT_EQ(errorOf([&] { file.openRead(kernels); }).second, "Not a regular file: " + kernels);
        }
    }
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

// Bytes this process has had the system read for it so far.
std::int64_t bytesReadBySystem()
{
    std::ifstream io("/proc/self/io");
    std::string key;
    std::int64_t value = 0;
    while (io >> key >> value)
        if (key == "rchar:")
            return value;
    return -1;
}

TEST(ByteFileReading, GoingBackAndForthWithinARegionReadsItOnce)
{
    if (bytesReadBySystem() < 0)
        GTEST_SKIP() << "no /proc/self/io here";
    TempDir dir;
    std::vector<std::uint8_t> bytes(1024 * 1024);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 253);
    writeFileBytes(dir.file("data"), bytes);
    ByteFile file;
    file.openRead(dir.file("data"));

    // A sprite's commands and the pixels they point at, up to 32 KiB apart on
    // either side, visited ten thousand times.
    const std::int64_t before = bytesReadBySystem();
    std::uint8_t run[100];
    for (int visit = 0; visit < 10000; ++visit) {
        const std::int64_t command = 500000 + (visit % 700) * 6;
        file.seek(command);
        ASSERT_EQ(file.readByte(), bytes[static_cast<std::size_t>(command)]);
        const std::int64_t pixels = command - 32768 + (visit * 97) % 65536;
        file.seek(pixels);
        file.readBytes(run, sizeof run);
        ASSERT_EQ(run[99], bytes[static_cast<std::size_t>(pixels + 99)]) << visit;
    }
    EXPECT_LT(bytesReadBySystem() - before, 200 * 1024);
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
    // A run of bytes delivers the ones there are before the error.
    file.seek(1);
    std::uint8_t run[4] = {};
    EXPECT_EQ(errorOf([&] { file.readBytes(run, 4); }).first, 100);
    EXPECT_EQ(run[0], 20);
    EXPECT_EQ(run[1], 30);
    EXPECT_EQ(file.position(), 3);

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

}  // namespace
}  // namespace pagelark::testing
