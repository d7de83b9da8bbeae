#include "cli/help_layout.h"

#include <algorithm>
#include <sstream>
#include <vector>

namespace pagelark::cli {
namespace {

constexpr std::size_t Width = 79;
constexpr std::size_t OptionColumn = 22;

// The words of `text` in lines that end by the last column, each line after
// the first indented to `column`, where the first one starts.
std::string wrapped(const std::string& text, std::size_t column)
{
    std::istringstream words(text);
    std::string out;
    std::string line;
    for (std::string word; words >> word;) {
        if (!line.empty() && column + line.size() + 1 + word.size() > Width) {
            out += line + '\n' + std::string(column, ' ');
            line.clear();
        }
        line += (line.empty() ? "" : " ") + word;
    }
    return out + line;
}

// Paragraphs are parted by an empty line.
std::string paragraphs(const std::string& text)
{
    std::string out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\n\n", start)) != std::string::npos; start = end + 2)
        out += wrapped(text.substr(start, end - start), 0) + "\n\n";
    return out + wrapped(text.substr(start), 0) + '\n';
}

// A tag too wide for the column has its text on the next line.
std::string entry(const std::string& tag, const std::string& text, std::size_t column)
{
    std::string line = "  " + tag;
    if (line.size() + 2 > column)
        line += '\n' + std::string(column, ' ');
    else
        line.resize(column, ' ');
    return line + wrapped(text, column) + '\n';
}

std::string optionTag(const CLI::Option& option)
{
    std::vector<std::string> names;
    for (const std::string& name : option.get_snames())
        names.push_back("-" + name);
    for (const std::string& name : option.get_lnames())
        names.push_back("--" + name);
    std::string tag = CLI::detail::join(names, ", ");
    return option.get_items_expected_max() > 0 ? tag + " " + option.get_type_name() : tag;
}

std::vector<const CLI::Option*> ownOptions(const CLI::App& command)
{
    return command.get_options([](const CLI::Option* option) { return option->nonpositional(); });
}

// A command's options in the order of the table, the help last.
std::vector<const CLI::Option*> optionsOf(const CLI::App& command)
{
    std::vector<const CLI::Option*> options = ownOptions(command);
    std::stable_partition(options.begin(), options.end(),
                          [&](const CLI::Option* option) { return option != command.get_help_ptr(); });
    return options;
}

std::vector<const CLI::App*> commandsOf(const CLI::App& program)
{
    return program.get_subcommands([](const CLI::App*) { return true; });
}

std::string commandUsage(const CLI::App& command, const std::string& name)
{
    std::string usage = name + " [OPTION]...";
    for (const CLI::Option* operand :
         command.get_options([](const CLI::Option* option) { return option->get_positional(); })) {
        const std::string shown = operand->get_required() ? operand->get_name() : "[" + operand->get_name() + "]";
        usage += " " + shown + (operand->get_items_expected_max() > 1 ? "..." : "");
    }
    return usage;
}

std::string commandHelp(const CLI::App& command, const std::string& name)
{
    std::string help = "Usage: " + commandUsage(command, name) + "\n\n"
        + paragraphs(name + " " + command.get_description()) + "\nOptions:\n";
    for (const CLI::Option* option : optionsOf(command))
        help += entry(optionTag(*option), option->get_description(), OptionColumn);
    return help;
}

// Each option once, with the commands that take it; the same option has the
// same text in every command.
std::string programOptions(const CLI::App& program)
{
    std::vector<std::pair<const CLI::Option*, std::string>> options;
    for (const CLI::App* command : commandsOf(program)) {
        for (const CLI::Option* option : optionsOf(*command)) {
            if (option == command->get_help_ptr())
                continue;
            const auto known = std::find_if(options.begin(), options.end(), [&](const auto& seen) {
                return seen.first->get_name() == option->get_name();
            });
            if (known == options.end())
                options.emplace_back(option, command->get_name());
            else
                known->second += ", " + command->get_name();
        }
    }
    std::string text;
    for (const auto& [option, takers] : options)
        text += entry(optionTag(*option), takers + ": " + option->get_description(), OptionColumn);
    for (const CLI::Option* option : ownOptions(program))
        text += entry(optionTag(*option), option->get_description(), OptionColumn);
    return text;
}

std::string programHelp(const CLI::App& program)
{
    std::string help = usageLines(program) + '\n' + paragraphs(program.get_description()) + "\nCommands:\n";
    std::size_t longestName = 0;
    for (const CLI::App* command : commandsOf(program))
        longestName = std::max(longestName, command->get_name().size());
    for (const CLI::App* command : commandsOf(program))
        help += entry(command->get_name(), command->get_description(), longestName + 4);
    return help + "\nOptions:\n" + programOptions(program);
}

}  // namespace

std::string HelpLayout::make_help(const CLI::App* app, std::string name, CLI::AppFormatMode) const
{
    return app->get_parent() == nullptr ? programHelp(*app) : commandHelp(*app, name);
}

std::string usageLines(const CLI::App& program)
{
    std::string lines;
    for (const CLI::App* command : commandsOf(program))
        lines += (lines.empty() ? "Usage: " : "  or:  ")
            + commandUsage(*command, program.get_name() + " " + command->get_name()) + '\n';
    std::vector<std::string> own;
    for (const CLI::Option* option : ownOptions(program))
        own.push_back("--" + option->get_lnames().front());
    return lines + "  or:  " + program.get_name() + " " + CLI::detail::join(own, " | ") + '\n';
}

}  // namespace pagelark::cli
