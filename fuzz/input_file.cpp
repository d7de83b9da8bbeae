#include "fuzz/input_file.h"

#include "archive/file_descriptor.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <set>
#include <unistd.h>

namespace pagelark::fuzz {

namespace {

std::string parentFolder()
{
    if (const char* tmp = std::getenv("TMPDIR"); tmp != nullptr && *tmp != '\0')
        return tmp;
    // Memory-backed where there is one: every execution writes the file anew.
    return ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
}

[[noreturn]] void fail(const char* what, const std::string& path)
{
    std::perror((std::string("fuzz input file: ") + what + " " + path).c_str());
    std::abort();
}

struct InputFolder {
    std::string folder;
    std::set<std::string> files;

    InputFolder()
    {
        std::string pattern = parentFolder() + "/pagelark-fuzz-XXXXXX";
        if (::mkdtemp(pattern.data()) == nullptr)
            fail("cannot make a folder like", pattern);
        folder = pattern;
    }
    ~InputFolder()
    {
        for (const std::string& file : files)
            ::unlink(file.c_str());
        ::rmdir(folder.c_str());
    }
    InputFolder(const InputFolder&) = delete;
    InputFolder& operator=(const InputFolder&) = delete;
};

}  // namespace

std::string writeInputFile(std::span<const std::uint8_t> bytes, const std::string& name)
{
    static InputFolder place;
    const std::string file = *place.files.insert(place.folder + "/" + name).first;
    FileDescriptor fd = openDescriptor(file, O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (!fd.valid())
        fail("cannot create", file);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = retryOnSignal([&] { return ::write(fd.get(), bytes.data() + done, bytes.size() - done); });
        if (put <= 0)
            fail("cannot write", file);
        done += static_cast<std::size_t>(put);
    }
    if (fd.closeNow() != 0)
        fail("cannot close", file);
    return file;
}

}  // namespace pagelark::fuzz
