#include "archive/run_error.h"

#include <cerrno>

namespace pagelark {

RunError::RunError(int code, const std::string& text) : std::runtime_error(text), code_(code) {}

RunError RunError::io(int code) { return RunError(code, ioErrorText(code)); }

RunError RunError::message(const std::string& text) { return RunError(0, text); }

RunError RunError::fromErrno(int err, bool creating)
{
    switch (err) {
    case ENOENT:
        return io(creating ? io_code::InvalidFilename : io_code::FileNotFound);
    case ENOTDIR:
    case ENAMETOOLONG:
        return io(io_code::InvalidFilename);
    case EMFILE:
    case ENFILE:
        return io(io_code::TooManyOpenFiles);
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return io(io_code::FileAccessDenied);
    case ENOSPC:
    case EDQUOT:
        return io(io_code::DiskFull);
    default:
        // The system's own number, even where it coincides with one of the
        // run-time's codes above (EIO is 5, which is not "File access denied").
        return RunError(err, "I/O error " + std::to_string(err));
    }
}

RunError notARegularFile(const std::string& path) { return RunError::message("Not a regular file: " + path); }

std::string ioErrorText(int code)
{
    switch (code) {
    case io_code::FileNotFound:
        return "File not found";
    case io_code::InvalidFilename:
        return "Invalid filename";
    case io_code::TooManyOpenFiles:
        return "Too many open files";
    case io_code::FileAccessDenied:
        return "File access denied";
    case io_code::ReadBeyondEnd:
        return "Read beyond end of file";
    case io_code::DiskFull:
        return "Disk full";
    case io_code::InvalidNumericInput:
        return "Invalid numeric input";
    default:
        return "I/O error " + std::to_string(code);
    }
}

}  // namespace pagelark
