#include "tools/pelix/options/help_text.h"

#include <algorithm>

namespace pelix::tool {

namespace {

// `text` from `column` on: after `lead` when that leaves room, else after at
// least `gap` spaces; every further line of `text` indented to the column.
void appendColumn(std::string& out, const std::string& lead, std::string_view text, std::size_t column,
                  std::size_t gap) {
    out += lead;
    out.append(std::max(column, lead.size() + gap) - lead.size(), ' ');
    for (const char c : text) {
        out += c;
        if (c == '\n') out.append(column, ' ');
    }
    out += '\n';
}

} // namespace

std::string helpText(const CommandSpec& command) {
    std::string out = "usage: pelix ";
    out += command.name;
    out += ' ';
    out += command.usage;
    out += '\n';
    out += command.description;
    // Options the description speaks of have no line; one listed with the next shares that line.
    std::string label;
    for (const OptionSpec& option : command.options) {
        if (option.listing == Listing::InText) continue;
        label += label.empty() ? "  " : " ";
        label += option.label.empty() ? option.name : option.label;
        if (option.listing == Listing::WithNext) continue;
        appendColumn(out, label, option.help, static_cast<std::size_t>(command.helpColumn), 3);
        label.clear();
    }
    out += command.closing;
    return out;
}

std::string programHelpText(std::span<const CommandSpec* const> commands) {
    std::string out = "usage: pelix COMMAND [arguments] [--json]\n"
                      "       pelix --version\n"
                      "commands:\n";
    for (const CommandSpec* command : commands)
        appendColumn(out, "  " + std::string(command->name) + " " + std::string(command->listArguments),
                     command->summary, static_cast<std::size_t>(command->listColumn), 2);
    out += "Run 'pelix COMMAND --help' for the arguments of a command. '--' ends the options:\n"
           "every word after it is a file name or number, even one that starts with '-'.\n"
           "Exit status 0 done, 1 an output (standard output included) could not be written,\n"
           "2 usage, 3 recording rejected (also a folder, FIFO, device or socket), 4 the file ends\n"
           "inside a frame asked for, 5 the recording's review file is not applied (it is left as it is).\n";
    return out;
}

} // namespace pelix::tool
