#include "app/desktop/recovery_files.h"

#include "app/desktop/file_ops.h"
#include "archive/output_file.h"

#include <cerrno>
#include <unistd.h>

namespace pagelark {

namespace {

// Longer than any path the system takes.
constexpr std::size_t LongestPath = 8192;

}  // namespace

void RecoveryFiles::keep(const std::string& openedPath, const WorkingCopyFile::ByteWriter& write,
                         const std::vector<FileIdentity>& readFiles) const
{
    // The path goes last: it is what makes a kept page file one to offer.
    deleteFileQuietly(pathFile());
    OutputFile page(pageFile(), readFiles, OutputAccess::Private, OutputDurability::Flushed);
    write([&](const std::uint8_t* data, std::size_t count) { page.write(data, count); });
    page.commit();
    OutputFile path(pathFile(), readFiles, OutputAccess::Private, OutputDurability::Flushed);
    path.write(reinterpret_cast<const std::uint8_t*>(openedPath.data()), openedPath.size());
    path.commit();
}

std::optional<std::string> RecoveryFiles::keptFrom() const
{
    if (::access(pageFile().c_str(), F_OK) != 0)
        return std::nullopt;
    try {
        const FileDescriptor file = openCopySource(pathFile());
        std::string path(LongestPath + 1, '\0');
        ssize_t got;
        do {
            got = ::read(file.get(), path.data(), path.size());
        } while (got < 0 && errno == EINTR);
        if (got <= 0 || static_cast<std::size_t>(got) > LongestPath)
            return std::nullopt;
        path.resize(static_cast<std::size_t>(got));
        return path;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

void RecoveryFiles::remove() const noexcept
{
    deleteFileQuietly(pathFile());
    deleteFileQuietly(pageFile());
}

}  // namespace pagelark
