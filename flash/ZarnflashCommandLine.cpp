#include "flash/ZarnflashCommandLine.h"

namespace {

void AppendTokens(const std::string& text, std::vector<std::string>& tokens)
{
    bool quoted = false;
    bool inToken = false;
    for (char c : text) {
        if (tokens.size() > kMaxCommandTokens) return;
        bool separator = false;
        if (c == '"') {
            quoted = !quoted;
            separator = true;
        } else if (!quoted && (c == ' ' || c == '\t')) {
            separator = true;
        } else if (c == '\0') {
            separator = true;
        }
        if (separator) {
            inToken = false;
            continue;
        }
        if (!inToken) {
            tokens.emplace_back();
            inToken = true;
        }
        tokens.back().push_back(c);
    }
}

void Cap(std::vector<std::string>& tokens)
{
    if (tokens.size() > kMaxCommandTokens) tokens.resize(kMaxCommandTokens);
}

} // namespace

std::vector<std::string> SplitCommandLine(const std::string& line)
{
    std::vector<std::string> tokens;
    if (line.empty() || line.size() > kMaxCommandLine) return tokens;
    AppendTokens(line, tokens);
    Cap(tokens);
    return tokens;
}

std::vector<std::string> SplitArguments(const std::vector<std::string>& arguments)
{
    std::vector<std::string> tokens;
    std::size_t length = 0;
    for (const std::string& a : arguments) length += a.size() + 1;
    if (arguments.empty() || length - 1 > kMaxCommandLine) return tokens;
    if (!arguments[0].empty()) tokens.push_back(arguments[0]);
    for (std::size_t i = 1; i < arguments.size() && tokens.size() <= kMaxCommandTokens; ++i) {
        // An empty argument is an empty value (a version the server did not give), not a missing one:
        // dropping it would make the next switch the value.
        if (arguments[i].empty()) {
            tokens.emplace_back();
            continue;
        }
        AppendTokens(arguments[i], tokens);
    }
    Cap(tokens);
    return tokens;
}

std::string GetSwitchValue(const std::vector<std::string>& tokens, const std::string& name)
{
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i] == name) return i + 1 < tokens.size() ? tokens[i + 1] : std::string();
    }
    return {};
}

std::string ModelFromTypeValue(const std::string& value)
{
    std::string model = value;
    if (value == "T-310D_DR") {
        for (char& c : model) if (c == '_') c = '/';
    } else if (value == "T-140DR_EL" || value == "T-140DR_PX") {
        for (char& c : model) if (c == '_') c = '-';
    }
    return model;
}

std::string FormatLaunchDate(const std::string& date)
{
    if (date.size() != 8) return date;
    std::string out = date;
    out.insert(4, "/");
    out.insert(7, "/");
    return out;
}
