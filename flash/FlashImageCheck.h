// Whether a firmware image may be written into a meter before any link opens: its name must carry
// the meter family's prefix (and a radio image its slot letter: "A" application, "L" loader, "U"
// loader updater), and an image the user chose must have a version companion that states its
// version and an eight-digit date; and the script itself must be one its player takes. The worker
// checks every image of its own job; the dialog checks every image of a chain before the chain's
// first job, so a chain never stops half-written. A problem keeps the image's file name, so that
// every refusal can name the file it refused.
#pragma once

#include "flash/DlfScriptCheck.h"
#include "flash/ZarnflashVersionFile.h"

#include <string>

struct FlashImageProblem {
    enum class Kind {
        None,
        WrongName,   // not this meter's image
        WrongSlot,   // this meter's image, but of another radio slot
        VersionFile, // see version
        Script,      // see script
    };
    Kind kind = Kind::None;
    VerFileProblem version = VerFileProblem::None;
    DlfCheckResult script;
    std::string name; // the image's file name
    bool Ok() const { return kind == Kind::None; }
    bool NameRefused() const { return kind == Kind::WrongName || kind == Kind::WrongSlot; }
    // kFlashBadScript for a wrong name or script, kFlashNoVersionFile for the companion, 0 when fine.
    int Code() const;
};

// True when name has at least four characters and begins with prefix (case-sensitive).
bool ImageNameBegins(const std::string& name, const char* prefix);

// Whether the file name fits the meter model and the writing job (6 main, 8 radio loader updater,
// 9 radio loader, 10 radio application); no file is read: kind None, WrongName or WrongSlot. A model
// of the family alone ("T-140", "T-520D", "T-310") accepts every prefix of the family.
FlashImageProblem CheckFlashImageName(const std::string& model, int jobId, const std::string& name);

// The check of one image before its script is read: name, and the companion when needVersionFile
// (images the user chose).
FlashImageProblem CheckFlashImage(const std::string& model, int jobId, const std::string& folder,
                                  const std::string& name, bool needVersionFile);

// The entry command that begins the script of a writing job: "P0000F" main, "P0001F" radio
// application and loader updater, "P0003F" radio loader.
const char* FlashEntryCommand(int jobId);

// Reads the image's script and checks it for the job's player: kind None or Script.
FlashImageProblem CheckFlashScript(int jobId, const std::string& folder, const std::string& name);

// The problem of a script that was read and checked (kind None when check is fine).
FlashImageProblem ScriptProblem(const std::string& name, const DlfCheckResult& check);
