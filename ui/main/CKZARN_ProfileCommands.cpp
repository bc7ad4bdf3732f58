#include "ui/main/CKZARN_ProfileCommands.h"

#include "core/CKZARN_Common.h"
#include "core/ShellFileUtility.h"
#include "core/ShellPathUtility.h"
#include "core/util/CLangTable.h"
#include "platform/PromptService.h"
#include "platform/ShellFileOperations.h"
#include "ui/controls/CKZARN_OpenProfileDlg.h"
#include "ui/controls/QtPromptService.h"
#include "ui/main/CKZARN_MainDlg.h"
#include "ui/main/CKZARN_MainProfileForm.h"
#include "ui/main/CKZARN_ProfileWindows.h"
#include "ui/main/CKZARN_SelModeDlg.h"

#include <QString>

#include <algorithm>
#include <cctype>
#include <memory>
#include <filesystem>
#include <system_error>

namespace {

constexpr int kTextBadImportName = 10016;
constexpr int kTextImportExists = 6024;
constexpr int kTextExportExists = 6025;
constexpr int kTextExportFailed = 6026;
constexpr int kTextHandMadeV2 = 6027;
constexpr int kTextImportTitle = 6020;
constexpr int kTextExportCaption = 6022;
constexpr int kTextExportFolder = 6023;
constexpr int kTextNotWritable = 20010;
constexpr int kTextGuideMissing = 10009;
constexpr int kTextNoViewer = 10010;

constexpr int kAnswerThis = 257;
constexpr int kAnswerAll = 258;
constexpr int kAnswerSkip = 259;

void Exclaim(const std::string& text)
{
    QtPromptService::Current().MessageBox(nullptr, text, GetLangString(1000), MB_OK | MB_ICONEXCLAMATION);
}

// The four-button question before a profile is replaced: 257 this one, 258 all, 259 skip, else end.
int AskReplace(const std::string& name, int textId)
{
    return QtPromptService::Current().AskFourButtons(
        nullptr,
        {GetLangString(1000), name + GetLangString(textId), GetLangString(143), GetLangString(145),
         GetLangString(144), GetLangString(11)},
        IDI_EXCLAMATION, kAnswerThis);
}

void RefreshPc(CKZARN_MainProfileForm* page)
{
    if (page != nullptr) page->RefreshPcList();
}

bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::exists(a, error) && std::filesystem::exists(b, error) &&
           std::filesystem::equivalent(a, b, error);
}

CKZARN_OpenProfileDlg* NewChooser(int mode, QWidget* parent, int major, int minor, int caption, int prompt)
{
    auto* chooser = new CKZARN_OpenProfileDlg(mode, parent);
    chooser->majorFilter = major;
    chooser->minorFilter = minor;
    chooser->SetTextIds(caption, prompt);
    return chooser;
}

int RunChooser(CKZARN_OpenProfileDlg& chooser)
{
    return CKZARN_ProfileWindows::Current().runChooser(chooser);
}

int RunSelMode(QWidget* parent, int type)
{
    CKZARN_SelModeDlg dialog(parent);
    dialog.SetType(type);
    return CKZARN_ProfileWindows::Current().runSelMode(dialog);
}

} // namespace

void CKZARN_ProfileCommands::RunNew(CKZARN_MainProfileForm* page)
{
    const int result = RunSelMode(page, 0);
    CKZARN_ProfileWindows& windows = CKZARN_ProfileWindows::Current();
    if (result == 0 || result == 1) {
        windows.openWizard(page, result, std::string());
    } else if (result == 2) {
        windows.openManual(page, 0, std::string());
    }
}

void CKZARN_ProfileCommands::RunRef(CKZARN_MainProfileForm* page)
{
    const int result = RunSelMode(page, 1);
    CKZARN_ProfileWindows& windows = CKZARN_ProfileWindows::Current();
    if (result == 0) {
        windows.openRefSingle(page);
    } else if (result == 1) {
        windows.openRefMulti(page);
    }
}

void CKZARN_ProfileCommands::RunEdit(CKZARN_MainProfileForm* page)
{
    const int result = RunSelMode(page, 2);
    CKZARN_ProfileWindows& windows = CKZARN_ProfileWindows::Current();
    if (result == 0) {
        windows.openEditor(page);
        return;
    }
    if (result != 1 && result != 2) return;
    std::unique_ptr<CKZARN_OpenProfileDlg> chooser(NewChooser(1, page, 2, result == 1 ? 1 : 2, 6000, 6004));
    if (RunChooser(*chooser) != IDOK) return;
    const std::string name = chooser->GetSelectedName();
    if (!CKZARN_Common::CanLoadProfile(name)) {
        Exclaim(CKZARN_Common::CannotLoadProfileText(name));
        return;
    }
    if (result == 1) {
        windows.openWizard(page, 1, name);
    } else {
        windows.openManual(page, 2, name);
    }
}

void CKZARN_ProfileCommands::Delete(QWidget* owner, CKZARN_MainProfileForm* page)
{
    std::unique_ptr<CKZARN_OpenProfileDlg> chooser(NewChooser(1, owner, 2, 0, 6005, 6006));
    if (RunChooser(*chooser) != IDOK) return;
    DeleteFileList({chooser->GetSelectedProfilePath()}, TRUE, FALSE);
    RefreshPc(page);
}

void CKZARN_ProfileCommands::Rename(QWidget* owner, CKZARN_MainProfileForm* page)
{
    std::unique_ptr<CKZARN_OpenProfileDlg> pick(NewChooser(1, owner, 2, 0, 6007, 6008));
    if (RunChooser(*pick) != IDOK) return;
    const std::string oldName = pick->GetSelectedName();
    std::unique_ptr<CKZARN_OpenProfileDlg> ask(NewChooser(0, owner, 2, 0, 6007, 6003));
    ask->SetRenameSource(oldName);
    if (RunChooser(*ask) != IDOK) return;
    const std::string newName = ask->GetSelectedName();
    if (newName.empty() || newName == oldName) return;
    if (const int failure = MoveProfile(oldName, newName); failure != 0) {
        Exclaim(GetLangString(failure));
    } else if (page != nullptr) {
        page->FollowRename(oldName, newName);
    }
    RefreshPc(page);
}

void CKZARN_ProfileCommands::Import(QWidget* /*owner*/, CKZARN_MainProfileForm* page)
{
    const std::vector<std::string> paths = CKZARN_ProfileWindows::Current().openFiles(
        GetLangString(kTextImportTitle), {{GetLangString(137), "*.kpf"}, {GetLangString(136), "*.*"}}, true);
    if (paths.empty()) {
        RefreshPc(page);
        return;
    }
    bool toAll = false;
    for (const std::string& source : paths) {
        const std::string name = GetFileTitleFromPath(source);
        if (!CKZARN_Common::IsValidProfileName(name) || CKZARN_Common::IsDefaultProfileName(name) ||
            CKZARN_Common::IsPlaceholderText(name)) {
            Exclaim(GetLangString(kTextBadImportName));
            RefreshPc(page);
            return;
        }
        const std::string destination = CKZARN_Common::GetProfilePath(name);
        // A profile of the name in any letter case is the one replaced (GetProfilePath finds it).
        if (!toAll && CKZARN_Common::ProfileFileExists(name)) {
            const int answer = AskReplace(name, kTextImportExists);
            if (answer == kAnswerSkip) continue;
            if (answer == kAnswerAll) toAll = true;
            if (answer != kAnswerThis && answer != kAnswerAll) {
                RefreshPc(page);
                return;
            }
        }
        short version = 0;
        short subVersion = 0;
        if (CKZARN_Common::ReadProfileVersion(source, &version, &subVersion) != 0) {
            Exclaim(CKZARN_Common::CannotLoadProfileText(source));
            RefreshPc(page);
            return;
        }
        // The file is copied and converted beside the destination, which is replaced only when both
        // worked: a failed import leaves an existing profile as it was.
        const bool done = ReplaceFileThroughTemporary(destination, [&](const std::string& temporary) {
            return CopyOrMoveFile(source, temporary, TRUE, FALSE) != FALSE &&
                   (version != 2 || CKZARN_Common::ConvertProfileVersion(temporary, 3, 0) == 0);
        });
        if (!done) {
            Exclaim(CKZARN_Common::CannotLoadProfileText(source));
            RefreshPc(page);
            return;
        }
    }
    RefreshPc(page);
}

void CKZARN_ProfileCommands::Export(QWidget* owner)
{
    std::unique_ptr<CKZARN_OpenProfileDlg> chooser(NewChooser(1, owner, 2, 0, kTextExportCaption, 0));
    chooser->ShowVersionChoice(TRUE);
    chooser->SetMultiSelect(TRUE);
    if (RunChooser(*chooser) != IDOK) return;
    const int version = chooser->GetKpfVersion();
    std::vector<std::string> names;
    chooser->GetSelectedNames(&names);
    const std::string folder = CKZARN_ProfileWindows::Current().browseFolder(owner, GetLangString(kTextExportFolder));
    if (folder.empty()) return;
    if (!IsFolderWritable(folder)) {
        Exclaim(GetLangString(kTextNotWritable));
        return;
    }
    bool toAll = false;
    for (const std::string& name : names) {
        const std::string source = CKZARN_Common::GetProfilePath(name);
        std::string destination = folder + (EndsWithBackslash(folder) ? "" : "/") + name + ".kpf";
        // A file of the name in other letter case is the one asked about and replaced.
        const std::string existing = ShellFileOperations::FindCaseVariant(destination);
        if (!existing.empty()) destination = existing;
        // Exporting a profile onto its own file would convert or replace the source itself.
        if (SameFile(source, destination)) {
            Exclaim(GetLangString(kTextExportFailed));
            return;
        }
        if (!toAll && !existing.empty()) {
            const int answer = AskReplace(name, kTextExportExists);
            if (answer == kAnswerSkip) continue;
            if (answer == kAnswerAll) toAll = true;
            if (answer != kAnswerThis && answer != kAnswerAll) return;
        }
        short sourceVersion = 0;
        short subVersion = 0;
        if (version == 2) {
            if (CKZARN_Common::ReadProfileVersion(source, &sourceVersion, &subVersion) != 0) {
                Exclaim(GetLangString(kTextExportFailed));
                return;
            }
            if (subVersion == 1) {
                Exclaim(GetLangString(kTextHandMadeV2));
                return;
            }
        }
        // The copy is made and converted beside the destination, which it replaces only at the end.
        const bool done = ReplaceFileThroughTemporary(destination, [&](const std::string& temporary) {
            return CopyOrMoveFile(source, temporary, TRUE, FALSE) != FALSE &&
                   (version != 2 || (CKZARN_MainDlg::PrepareProfileForV2(temporary) == 0 &&
                                     CKZARN_Common::ConvertProfileVersion(temporary, 2, 0) == 0));
        });
        if (!done) {
            Exclaim(GetLangString(kTextExportFailed));
            return;
        }
    }
}

int CKZARN_ProfileCommands::MoveProfile(const std::string& oldName, const std::string& newName)
{
    if (CKZARN_Common::IsProfileNameTaken(newName, oldName)) {
        return kTextNameExists;
    }
    const std::filesystem::path from = CKZARN_Common::GetProfilePath(oldName);
    const std::filesystem::path to = from.parent_path() / (newName + ".kpf");
    if (from == to) {
        return 0;
    }
    return ShellFileOperations::RenameNoReplace(from.string(), to.string()) ? 0 : kTextRenameFailed;
}

void CKZARN_ProfileCommands::OpenGuide(const std::string& path)
{
    std::error_code error;
    if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
        Exclaim(GetLangString(kTextGuideMissing));
        return;
    }
    std::string extension = GetFileExtension(path);
    if (GetOpenCommandForFile(extension) == 3 && CKZARN_ProfileWindows::Current().openDocument(path)) {
        return;
    }
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    // The text names the extension where it holds "%s"; it is never used as a format of its own.
    std::string text = GetLangString(kTextNoViewer);
    const std::size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, extension);
    Exclaim(text);
}
