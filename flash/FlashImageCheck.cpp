#include "flash/FlashImageCheck.h"

#include "core/util/PathUtility.h"
#include "flash/ZarnflashDefs.h"

namespace {

// The letter a radio image's title ends with.
bool EndsWithSlotLetter(const std::string& name, char letter)
{
    const std::size_t dot = name.rfind('.');
    return dot != std::string::npos && dot >= 1 && name[dot - 1] == letter;
}

char SlotLetter(int jobId)
{
    switch (jobId) {
    case kJobWriteRadioLoaderUpdater: return 'U';
    case kJobWriteRadioLoader: return 'L';
    case kJobWriteRadioApp: return 'A';
    default: return 0;
    }
}

} // namespace

int FlashImageProblem::Code() const
{
    switch (kind) {
    case Kind::WrongName:
    case Kind::WrongSlot:
    case Kind::Script: return kFlashBadScript;
    case Kind::VersionFile: return kFlashNoVersionFile;
    case Kind::None: break;
    }
    return 0;
}

bool ImageNameBegins(const std::string& name, const char* prefix)
{
    return name.size() >= 4 && name.compare(0, 4, prefix) == 0;
}

namespace {

bool PrefixFits(const std::string& model, const std::string& name)
{
    if (model == "T-520D") return ImageNameBegins(name, "QP52");
    if (model.rfind("T-140", 0) == 0) return ImageNameBegins(name, "QM63");
    if (model == "T-310D/DR") return ImageNameBegins(name, "QK85");
    if (model == "T-310CINE") return ImageNameBegins(name, "QN41");
    if (model == "T-310") return ImageNameBegins(name, "QK85") || ImageNameBegins(name, "QN41");
    return false;
}

} // namespace

FlashImageProblem CheckFlashImageName(const std::string& model, int jobId, const std::string& name)
{
    FlashImageProblem problem;
    problem.name = name;
    const char letter = SlotLetter(jobId);
    if (!PrefixFits(model, name)) {
        problem.kind = FlashImageProblem::Kind::WrongName;
    } else if (letter != 0 && !EndsWithSlotLetter(name, letter)) {
        problem.kind = FlashImageProblem::Kind::WrongSlot;
    }
    return problem;
}

FlashImageProblem CheckFlashImage(const std::string& model, int jobId, const std::string& folder,
                                  const std::string& name, bool needVersionFile)
{
    FlashImageProblem problem = CheckFlashImageName(model, jobId, name);
    if (!problem.Ok()) return problem;
    if (needVersionFile) {
        const bool radio = SlotLetter(jobId) != 0;
        problem.version = CheckVerFile(folder, name, radio);
        if (problem.version != VerFileProblem::None) problem.kind = FlashImageProblem::Kind::VersionFile;
    }
    return problem;
}

const char* FlashEntryCommand(int jobId)
{
    switch (jobId) {
    case kJobWriteRadioLoader: return "P0003F";
    case kJobWriteRadioApp:
    case kJobWriteRadioLoaderUpdater: return "P0001F";
    default: return "P0000F";
    }
}

FlashImageProblem CheckFlashScript(int jobId, const std::string& folder, const std::string& name)
{
    DlfScript script;
    return ScriptProblem(name, ReadAndCheckDlfScript(JoinPath(folder, name, false), FlashEntryCommand(jobId), script));
}

FlashImageProblem ScriptProblem(const std::string& name, const DlfCheckResult& check)
{
    FlashImageProblem problem;
    problem.name = name;
    problem.script = check;
    if (!check.Ok()) problem.kind = FlashImageProblem::Kind::Script;
    return problem;
}
