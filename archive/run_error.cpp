#include "archive/run_error.h"

#include "archive/lookup_table.h"

#include <cerrno>

namespace pagelark {

RunError::RunError(int code, const std::string& text) : std::runtime_error(text), code_(code) {}

RunError RunError::io(int code) { return RunError(code, ioErrorText(code)); }

RunError RunError::message(const std::string& text) { return RunError(0, text); }

RunError RunError::fromErrno(int err, bool creating)
{
    if (err == ENOENT)
        return io(creating ? io_code::InvalidFilename : io_code::FileNotFound);
    static constexpr LookupRow<int, int> IoCodes[] = {
        {ENOTDIR, io_code::InvalidFilename},  {ENAMETOOLONG, io_code::InvalidFilename},
        {EMFILE, io_code::TooManyOpenFiles},  {ENFILE, io_code::TooManyOpenFiles},
        {EACCES, io_code::FileAccessDenied},  {EPERM, io_code::FileAccessDenied},
        {EROFS, io_code::FileAccessDenied},   {EISDIR, io_code::FileAccessDenied},
        {ETXTBSY, io_code::FileAccessDenied}, {ENOSPC, io_code::DiskFull},
        {EDQUOT, io_code::DiskFull},
    };
    if (const int code = lookUp(IoCodes, err, 0); code != 0)
        return io(code);
    // The system's own number, even where it coincides with one of the
    // run-time's codes above (EIO is 5, which is not "File access denied").
    return RunError(err, "I/O error " + std::to_string(err));
}

RunError notARegularFile(const std::string& path) { return RunError::message("Not a regular file: " + path); }

std::string ioErrorText(int code)
{
    static constexpr LookupRow<int, const char*> Texts[] = {
        {io_code::FileNotFound, "File not found"},
        {io_code::InvalidFilename, "Invalid filename"},
        {io_code::TooManyOpenFiles, "Too many open files"},
        {io_code::FileAccessDenied, "File access denied"},
        {io_code::ReadBeyondEnd, "Read beyond end of file"},
        {io_code::DiskFull, "Disk full"},
        {io_code::InvalidNumericInput, "Invalid numeric input"},
    };
    if (const char* text = lookUp(Texts, code, nullptr))
        return text;
    return "I/O error " + std::to_string(code);
}

}  // namespace pagelark
