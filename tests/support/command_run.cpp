#include "tests/support/command_run.h"

#include "tests/support/temp_dir.h"

#include <cstdlib>
#include <sys/wait.h>

namespace pagelark::testing {

namespace {

std::string shellQuoted(const std::string& text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'')
            quoted += "'\\''";
        else
            quoted += c;
    }
    return quoted + "'";
}

}  // namespace

CommandResult runCommand(const std::string& program, const std::vector<std::string>& args)
{
    TempDir dir;
    // Appended piece by piece: GCC 12 warns falsely about " " + text at -O3.
    std::string command = shellQuoted(program);
    for (const std::string& arg : args)
        command.append(" ").append(shellQuoted(arg));
    command.append(" >").append(shellQuoted(dir.file("stdout")));
    command.append(" 2>").append(shellQuoted(dir.file("stderr")));
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFileText(dir.file("stdout")), readFileText(dir.file("stderr"))};
}

}  // namespace pagelark::testing
