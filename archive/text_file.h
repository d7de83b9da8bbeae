#pragma once

#include "archive/byte_file.h"

#include <cstdint>
#include <string>

namespace pagelark {

// A side file read as text, the way the run-time reads text files: a line
// ends at LF or CR LF, and reading at the end of the file gives an empty
// line or the number 0 without an error.
class TextFile {
public:
    void open(const std::string& path) { file_.openRead(path); }
    void close() { file_.close(); }
    bool eof() { return file_.eof(); }

    // The next line without its line end; "" at the end of the file.
    std::string readLine();
    // Skips the rest of the current line, including its line end.
    void skipLine();
    // Reads one integer: blanks and line ends are skipped, then up to 32
    // non-blank characters are taken as a decimal number with an optional
    // sign. At the end of the file the number is 0. Anything else, or a
    // number beyond 32 bits, is "Invalid numeric input".
    std::int32_t readInteger();

private:
    ByteFile file_;
};

}  // namespace pagelark
