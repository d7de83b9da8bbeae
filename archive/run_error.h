#pragma once

#include <stdexcept>
#include <string>

namespace pagelark {

// The one error type of the program. It carries the run-time's error code
// (2 "File not found", 100 "Read beyond end of file", ...) and the text the
// error box shows. Errors that are not I/O errors carry code 0 and their own text.
class RunError : public std::runtime_error {
public:
    RunError(int code, const std::string& text);

    // The run-time's I/O error of this code, with its standard text.
    static RunError io(int code);
    // An error of our own, shown with exactly this text.
    static RunError message(const std::string& text);
    // The I/O error for a failed system call: errno mapped to the run-time's
    // codes. When creating a file, a missing folder is "Invalid filename".
    static RunError fromErrno(int err, bool creating = false);

    int code() const noexcept { return code_; }
    const char* text() const noexcept { return what(); }

private:
    int code_;
};

// The refusal of a file that is no regular file: a device or a pipe may never
// end, or never deliver a byte.
RunError notARegularFile(const std::string& path);

// The standard text of an I/O error code: "File not found" for 2, ...,
// "I/O error 17" for any code without a text of its own.
std::string ioErrorText(int code);

// Runs a step on a file the user named and gives its result; its error
// keeps the code and names the file before the text ("PATH: text").
template <typename Step>
decltype(auto) namingFile(const std::string& path, Step&& step)
{
    try {
        return step();
    } catch (const RunError& error) {
        throw RunError(error.code(), path + ": " + error.text());
    }
}

namespace io_code {
enum : int {
    FileNotFound = 2,
    InvalidFilename = 3,
    TooManyOpenFiles = 4,
    FileAccessDenied = 5,
    ReadBeyondEnd = 100,
    DiskFull = 101,
    InvalidNumericInput = 106,
};
}  // namespace io_code

}  // namespace pagelark
