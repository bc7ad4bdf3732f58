#include "flash/DlfScriptCheck.h"

namespace {

bool IsPlainText(std::string_view line)
{
    for (char c : line) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u > 0x7E) return false;
    }
    return true;
}

bool IsKnownForm(std::string_view line)
{
    if (!IsPlainText(line)) return false;
    if (line[0] == 'Q') return line.size() == kDlfCommandLength;
    if (line[0] == 'R') return line.size() == kDlfRecordLength;
    return false;
}

} // namespace

bool IsDlfEntryCommand(std::string_view line)
{
    return line == "P0000F" || line == "P0001F" || line == "P0003F";
}

DlfCheckResult CheckDlfScript(const DlfScript& script, const std::string& entryCommand)
{
    std::size_t end = script.size();
    while (end > 0 && script[end - 1].empty()) --end;
    if (end == 0) return {DlfProblem::Empty, 0};
    if (script[0] != entryCommand) return {DlfProblem::NoEntry, 0};
    // The last line is left to the final check: a record cut short there is a file cut off.
    for (std::size_t i = 1; i + 1 < end; ++i) {
        const std::string_view line = script[i];
        if (line.empty()) return {DlfProblem::BlankInside, i};
        if (!IsKnownForm(line)) return {DlfProblem::BadLine, i};
    }
    if (script[end - 1] != "Q000F1") return {DlfProblem::NoFinalCheck, end - 1};
    return {};
}

DlfCheckResult ReadAndCheckDlfScript(const std::string& path, const std::string& entryCommand, DlfScript& script)
{
    switch (ReadDlfScriptFile(path, script)) {
    case DlfReadResult::Ok: break;
    case DlfReadResult::Unreadable: return {DlfProblem::Unreadable, 0};
    case DlfReadResult::TooLarge: return {DlfProblem::TooLarge, 0};
    }
    return CheckDlfScript(script, entryCommand);
}
