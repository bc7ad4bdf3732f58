// Whether a firmware image may be written into a meter before any link opens: its name must carry
// the meter family's prefix (and a radio image its slot letter: "A" application, "L" loader, "U"
// loader updater), and an image the user chose must have a version companion that states its
// version and an eight-digit date. The worker checks every image of its own job; the dialog checks
// every image of a chain before the chain's first job, so a chain never stops half-written.
#pragma once

#include "flash/ZarnflashVersionFile.h"

#include <string>

struct FlashImageProblem {
    enum class Kind {
        None,
        WrongName,   // not this meter's image, or not the image of this slot
        VersionFile, // see version
    };
    Kind kind = Kind::None;
    VerFileProblem version = VerFileProblem::None;
    std::string name; // the image's file name
    bool Ok() const { return kind == Kind::None; }
    // kFlashBadScript for a wrong name, kFlashNoVersionFile for the companion, 0 when fine.
    int Code() const;
};

// True when name has at least four characters and begins with prefix (case-sensitive).
bool ImageNameBegins(const std::string& name, const char* prefix);

// Whether the file name fits the meter model and the writing job (6 main, 8 radio loader updater,
// 9 radio loader, 10 radio application). A model of the family alone ("T-140", "T-520D", "T-310")
// accepts every prefix of the family.
bool ImageNameFits(const std::string& model, int jobId, const std::string& name);

// The whole check of one image; needVersionFile for images the user chose.
FlashImageProblem CheckFlashImage(const std::string& model, int jobId, const std::string& folder,
                                  const std::string& name, bool needVersionFile);
