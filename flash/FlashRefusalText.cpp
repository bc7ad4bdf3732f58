#include "flash/FlashRefusalText.h"

#include "core/util/CLangTable.h"

int FlashRefusalTextId(const FlashImageProblem& problem)
{
    switch (problem.kind) {
    case FlashImageProblem::Kind::None: return 0;
    case FlashImageProblem::Kind::WrongName: return kTextNotForThisMeter;
    case FlashImageProblem::Kind::WrongSlot: return kTextNotForThisSlot;
    case FlashImageProblem::Kind::VersionFile:
        switch (problem.version) {
        case VerFileProblem::Missing: return kTextNoVersionFile;
        case VerFileProblem::FewLines: return kTextVersionFewLines;
        case VerFileProblem::BadDate: return kTextVersionBadDate;
        case VerFileProblem::BadVersion:
        case VerFileProblem::None: break;
        }
        return kTextVersionMalformed;
    case FlashImageProblem::Kind::Script:
        switch (problem.script.problem) {
        case DlfProblem::Unreadable: return kTextScriptUnreadable;
        case DlfProblem::TooLarge: return kTextScriptTooLarge;
        case DlfProblem::Empty: return kTextScriptEmpty;
        case DlfProblem::NoEntry: return kTextScriptNotThisImage;
        case DlfProblem::NoFinalCheck: return kTextScriptCutOff;
        case DlfProblem::BlankInside:
        case DlfProblem::BadLine:
        case DlfProblem::None: break;
        }
        return kTextScriptDamagedAtLine;
    }
    return 0;
}

std::string FlashRefusalText(const FlashImageProblem& problem)
{
    const int id = FlashRefusalTextId(problem);
    if (id == 0) return {};
    return FormatLangString(id, {problem.name, std::to_string(problem.script.line + 1)});
}
