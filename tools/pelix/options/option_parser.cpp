#include "tools/pelix/options/option_parser.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace pelix::tool {

namespace {

const OptionSpec* findOption(const CommandSpec& command, std::string_view word) {
    const auto it = std::find_if(command.options.begin(), command.options.end(), [&](const OptionSpec& o) {
        return o.name == word || (!o.alias.empty() && o.alias == word);
    });
    return it == command.options.end() ? nullptr : &*it;
}

bool argumentFits(const OptionSpec& option, const std::string& text) {
    if (option.argument != Argument::WholeNumber) return true;
    const auto n = parseWholeNumber(text);
    return n && *n >= option.least && *n <= option.most;
}

} // namespace

bool ParsedArgs::has(std::string_view name) const {
    return text(name) != nullptr;
}

const std::string* ParsedArgs::text(std::string_view name) const {
    const auto it =
        std::find_if(options.begin(), options.end(), [&](const auto& o) { return o.first == name; });
    return it == options.end() ? nullptr : &it->second;
}

std::vector<std::string> ParsedArgs::all(std::string_view name) const {
    std::vector<std::string> given;
    for (const auto& [option, argument] : options)
        if (option == name) given.push_back(argument);
    return given;
}

std::optional<int64_t> ParsedArgs::number(std::string_view name) const {
    const std::string* given = text(name);
    return given ? parseWholeNumber(*given) : std::nullopt;
}

std::optional<double> parseDecimal(const std::string& text) {
    if (text.empty()) return std::nullopt;
    const char* begin = text.data();
    if (*begin == '+') ++begin;
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(begin, text.data() + text.size(), value, std::chars_format::fixed);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

ParsedArgs parseArgs(const CommandSpec& command, const Args& args) {
    ParsedArgs out;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (optionsEnded) {
            out.positional.push_back(word);
            continue;
        }
        if (word == "--") {
            optionsEnded = true;
            continue;
        }
        if (word == "--help" || word == "-h") {
            out.help = true;
            continue;
        }
        const OptionSpec* option = findOption(command, word);
        if (!option) {
            // A negative number is a word, not an option.
            if (word.size() > 1 && word[0] == '-' && !parseWholeNumber(word)) {
                out.error = "unknown option " + word;
                return out;
            }
            out.positional.push_back(word);
            continue;
        }
        // The same option twice leaves it unclear which one was meant.
        if (!option->repeatable && out.has(option->name)) {
            out.error = "option " + word + " given twice";
            return out;
        }
        if (option->argument == Argument::None) {
            out.options.emplace_back(option->name, std::string());
            if (option->name == "--json") out.json = true;
            continue;
        }
        if (i + 1 >= args.size()) {
            out.error = "missing value after " + word;
            return out;
        }
        const std::string& argument = args[++i];
        if (out.argumentError.empty() && !argumentFits(*option, argument))
            out.argumentError = std::string(option->name) + " " + std::string(option->refused);
        out.options.emplace_back(option->name, argument);
    }
    return out;
}

std::optional<int64_t> parseWholeNumber(const std::string& text) {
    int64_t v = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, v);
    if (ec != std::errc() || ptr != end || text.empty()) return std::nullopt;
    return v;
}

} // namespace pelix::tool
