// The downloader's command line: switches "/Zarn", "/Type", "/Ver", "/RFAppVer", "/RFLdrVer" and
// "/Date", each followed by its value. Tokens are split at blanks and tabs outside double quotes
// (the quotes themselves dropped), at most 16 are kept, and a line of more than 511 characters gives
// none. The caller may hand the line as one text or as the program's argument list.
#pragma once

#include <string>
#include <vector>

constexpr std::size_t kMaxCommandTokens = 16;
constexpr std::size_t kMaxCommandLine = 511;

std::vector<std::string> SplitCommandLine(const std::string& line);
// argv[0] is one token; every later argument is split as a command line would be.
std::vector<std::string> SplitArguments(const std::vector<std::string>& arguments);
// The token after the first token equal to name (case-sensitive); empty when none.
std::string GetSwitchValue(const std::vector<std::string>& tokens, const std::string& name);
// "/Type" values as the main program writes them back into model names: "T-310D_DR" becomes
// "T-310D/DR", "T-140DR_EL" and "T-140DR_PX" get their "-" back; other values stay as they are.
std::string ModelFromTypeValue(const std::string& value);
// YYYYMMDD as YYYY/MM/DD; a text of another length stays as it is.
std::string FormatLaunchDate(const std::string& date);
