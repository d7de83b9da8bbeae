#pragma once

#include <CLI/CLI.hpp>

#include <string>

namespace pagelark::cli {

// The help of the program and of each command, made from the command table,
// laid out as help2man reads it (which makes the manual page of the
// program's): tags two spaces in, their text in a column of its own,
// continued lines in that column. The program's help gives the usage, the
// program's description, every command and every option, each option with
// the commands that take it; a command's help gives its usage, description
// and options.
class HelpLayout : public CLI::FormatterBase {
public:
    std::string make_help(const CLI::App* app, std::string name, CLI::AppFormatMode mode) const override;
};

// One usage line per command, and one for the program's own options.
std::string usageLines(const CLI::App& program);

}  // namespace pagelark::cli
