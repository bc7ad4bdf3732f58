#include "flash/FlashImageCheck.h"

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
    case Kind::WrongName: return kFlashBadScript;
    case Kind::VersionFile: return kFlashNoVersionFile;
    case Kind::None: break;
    }
    return 0;
}

bool ImageNameBegins(const std::string& name, const char* prefix)
{
    return name.size() >= 4 && name.compare(0, 4, prefix) == 0;
}

bool ImageNameFits(const std::string& model, int jobId, const std::string& name)
{
    bool prefix = false;
    if (model == "T-520D") {
        prefix = ImageNameBegins(name, "QP52");
    } else if (model.rfind("T-140", 0) == 0) {
        prefix = ImageNameBegins(name, "QM63");
    } else if (model == "T-310D/DR") {
        prefix = ImageNameBegins(name, "QK85");
    } else if (model == "T-310CINE") {
        prefix = ImageNameBegins(name, "QN41");
    } else if (model == "T-310") {
        prefix = ImageNameBegins(name, "QK85") || ImageNameBegins(name, "QN41");
    }
    const char letter = SlotLetter(jobId);
    return prefix && (letter == 0 || EndsWithSlotLetter(name, letter));
}

FlashImageProblem CheckFlashImage(const std::string& model, int jobId, const std::string& folder,
                                  const std::string& name, bool needVersionFile)
{
    FlashImageProblem problem;
    problem.name = name;
    if (!ImageNameFits(model, jobId, name)) {
        problem.kind = FlashImageProblem::Kind::WrongName;
        return problem;
    }
    if (needVersionFile) {
        const bool radio = SlotLetter(jobId) != 0;
        problem.version = CheckVerFile(folder, name, radio);
        if (problem.version != VerFileProblem::None) problem.kind = FlashImageProblem::Kind::VersionFile;
    }
    return problem;
}
