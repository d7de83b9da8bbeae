#include "bench/bench_files.h"

#include "tests/support/sample_vswap.h"
#include "tests/support/temp_dir.h"

#include <cerrno>
#include <fcntl.h>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace pagelark::bench {

namespace {

constexpr std::size_t LongLineBytes = 1024 * 1024;

const testing::TempDir& filesDir()
{
    static const testing::TempDir dir;
    return dir;
}

[[noreturn]] void fail(const std::string& what, const std::string& path)
{
    throw std::system_error(errno, std::generic_category(), what + " " + path);
}

std::string longRangeLine()
{
    std::string line = "Every sprite, described at length";
    line.resize(32, ' ');
    line += "   54";
    line.append(LongLineBytes, 'x');
    return line;
}

}  // namespace

const std::string& fullSizeVswapPath()
{
    static const std::string path = [] {
        std::string name = filesDir().file("VSWAP.WL6");
        testing::writeFileBytes(name, testing::fullSizeVswap());
        return name;
    }();
    return path;
}

const std::string& longLineDescriptionsPath()
{
    static const std::string path = [] {
        std::istringstream shipped(testing::readFileText(std::string(PAGELARK_DATA_DIR) + "/wolfpics.txt"));
        std::string text;
        for (std::string line; std::getline(shipped, line);) {
            if (line.starts_with("Weapons"))
                text += longRangeLine() + "\n";
            text += line + "\n";
        }
        std::string name = filesDir().file("wolfpics-long-line.txt");
        testing::writeFileText(name, text);
        return name;
    }();
    return path;
}

std::string scratchPath(const std::string& name) { return filesDir().file(name); }

std::vector<std::uint8_t> readWholeFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        fail("cannot open", path);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        ::close(fd);
        fail("cannot stat", path);
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(info.st_size));
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (got <= 0) {
            ::close(fd);
            fail("cannot read", path);
        }
        done += static_cast<std::size_t>(got);
    }
    ::close(fd);
    return bytes;
}

void writeWholeFile(const std::string& path, const std::uint8_t* bytes, std::size_t count)
{
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0)
        fail("cannot create", path);
    const ssize_t put = ::write(fd, bytes, count);
    ::close(fd);
    if (put != static_cast<ssize_t>(count))
        fail("cannot write", path);
}

}  // namespace pagelark::bench
