#include "ui/main/CKZARN_BackupCommands.h"

#include "core/CKZARN_Common.h"
#include "core/ShellFileUtility.h"
#include "core/ShellPathUtility.h"
#include "core/util/CLangTable.h"
#include "meter/CKZARN_LMCtrl.h"
#include "meter/CKZARN_TransferData.h"
#include "meter/CZarnCommand.h"
#include "meter/MeterFamily.h"
#include "platform/PromptService.h"
#include "ui/controls/QtPromptService.h"
#include "ui/main/CKZARN_MainProfileForm.h"
#include "ui/main/CKZARN_ProfileWindows.h"
#include "ui/main/CKZARN_SetInitvalDlg.h"
#include "ui/meter/CZarnManager.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

constexpr int kTextBadFileTitle = 20007;
constexpr int kTextCannotCreate = 6041;
constexpr int kTextCannotOpen = 6043;
constexpr int kTextNotReadable = 6044;
constexpr int kTextResetMissing = 6045;
constexpr int kTextResetCannotOpen = 6046;
constexpr int kTextResetNotReadable = 6047;
constexpr int kTextUnknownModel = 6048;
constexpr int kTextOtherFamily = 6049;
constexpr int kTextResetQuestion = 7052;

void Exclaim(int textId)
{
    QtPromptService::Current().MessageBox(nullptr, GetLangString(textId), GetLangString(1000),
                                          MB_OK | MB_ICONEXCLAMATION);
}

CZarnManager* Facade()
{
    return CZarnManager::CreateInstance(nullptr);
}

int ConnectedFamily()
{
    CZarnManager* facade = Facade();
    if (facade == nullptr || facade->IsSuspended()) return -1;
    if (facade->GetT310State() == 1) return MeterFamilyT310;
    if (facade->GetT140State() == 1) return MeterFamilyT140;
    if (facade->GetT520State() == 1) return MeterFamilyT520;
    return -1;
}

bool IsGoodFileTitle(const std::string& title)
{
    return CKZARN_Common::IsProfileNameLengthValid(title) && CKZARN_Common::IsAsciiText(title) &&
           !CKZARN_Common::HasInvalidFileNameChar(title);
}

// Reads the meter's profile memory of a family into table; the command's result.
int ReadMeter(int family, CKZARN_TransferData* table)
{
    CZarnManager* facade = Facade();
    static constexpr int kReadCommands[] = {ZARN_CMD_T310_READ_PROFILES, ZARN_CMD_T140_READ_PROFILES,
                                            ZARN_CMD_T520_READ_PROFILES};
    const int result = facade->RunCommand(kReadCommands[family], 0);
    if (result != 0) return result;
    CKZARN_LMCtrl* ctrl = facade->GetLMCtrl();
    if (family == MeterFamilyT310) {
        auto block = std::make_unique<T310TransferBlock>();
        ctrl->GetT310Block(block.get());
        table->ReadT310Image(block.get());
    } else if (family == MeterFamilyT140) {
        auto block = std::make_unique<T140TransferBlock>();
        ctrl->GetT140Block(block.get());
        table->ReadT140Image(block.get());
    } else {
        auto block = std::make_unique<T520TransferBlock>();
        ctrl->GetT520Block(block.get());
        table->ReadT520Image(block.get());
    }
    return 0;
}

// A backup of another family holds fewer slots or ISO rows than the meter may have: the rows and
// slots the file does not hold are taken from the meter's own memory, so nothing is written that the
// file did not say.
void FillMissingFromMeter(const CKZARN_TransferData& backup, CKZARN_TransferData* meter, int meterFamily)
{
    const int slotCount = std::min(CKZARN_TransferData::GetProfileCount(backup.GetFamily()),
                               CKZARN_TransferData::GetProfileCount(meterFamily));
    const int rows = std::min(CKZARN_TransferData::GetRowCount(backup.GetFamily()),
                              CKZARN_TransferData::GetRowCount(meterFamily));
    for (int slot = 0; slot < slotCount; ++slot) {
        meter->SetProfileName(slot, backup.GetProfileName(slot));
        const ProfileRow* from = backup.GetProfileRows(slot);
        ProfileRow* to = meter->GetProfileRows(slot);
        for (int row = 0; row < rows; ++row) to[row] = from[row];
    }
}

} // namespace

int CKZARN_BackupCommands::FamilyOfModel(const std::string& model)
{
    if (model == "T-310D/DR" || model == "T-310CINE") return MeterFamilyT310;
    if (model == "T-140D" || model == "T-140DR" || model == "T-140DR-EL" || model == "T-140DR-PX") {
        return MeterFamilyT140;
    }
    if (model == "T-520D") return MeterFamilyT520;
    return -1;
}

int CKZARN_BackupCommands::ReadBackupFile(const std::string& path, CKZARN_TransferData* table)
{
    switch (table->ReadTextFile(path)) {
    case CKZARN_TransferData::FileRead::CannotOpen: return kTextCannotOpen;
    case CKZARN_TransferData::FileRead::NotABackup: return kTextNotReadable;
    case CKZARN_TransferData::FileRead::Read: break;
    }
    return 0;
}

void CKZARN_BackupCommands::ReceiveBackup()
{
    CZarnManager* facade = Facade();
    if (facade == nullptr) return;
    const int family = FamilyOfModel(facade->GetPhotometerType());
    if (family < 0 || ConnectedFamily() < 0) {
        // Without a known model there is nothing to read: an empty table is never saved as a backup.
        Exclaim(kTextUnknownModel);
        return;
    }
    CKZARN_TransferData table;
    if (ReadMeter(family, &table) != 0) return;
    const std::string header = table.GetHeaderText();
    while (true) {
        const std::string path = CKZARN_ProfileWindows::Current().saveFile(
            GetLangString(6040), {{GetLangString(138), "*.csv"}, {GetLangString(136), "*.*"}}, "csv", header);
        if (path.empty()) return;
        if (!IsGoodFileTitle(GetFileTitleFromPath(path))) {
            Exclaim(kTextBadFileTitle);
            continue;
        }
        // Written beside the chosen file, which is replaced only once the whole backup is stored: a
        // failed write leaves an older backup at that path as it was.
        const bool written = ReplaceFileThroughTemporary(path, [&table](const std::string& temporary) {
            std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
            if (!file || table.WriteText(file) == 0) return false;
            file.close();
            return !file.fail();
        });
        if (!written) Exclaim(kTextCannotCreate);
        return;
    }
}

void CKZARN_BackupCommands::SendBackup(CKZARN_MainProfileForm* page)
{
    const std::vector<std::string> paths =
        CKZARN_ProfileWindows::Current().openFiles(GetLangString(6042), {{GetLangString(138), "*.csv"}}, false);
    if (paths.empty()) return;
    const std::string& path = paths.front();
    const std::string title = GetFileTitleFromPath(path);
    if (!IsGoodFileTitle(title)) {
        Exclaim(kTextCannotOpen);
        return;
    }
    CKZARN_TransferData table;
    if (const int failure = ReadBackupFile(path, &table); failure != 0) {
        Exclaim(failure);
        return;
    }
    const int family = ConnectedFamily();
    if (family < 0) return;
    CZarnManager* facade = Facade();
    // The kind of the file: three profiles limit a send to the first three slots.
    const int kind = CKZARN_TransferData::GetProfileCount(table.GetFamily()) == 3 ? 310 : 140;
    if (table.GetFamily() != family) {
        // The file holds another family's slots and rows: ask first, then keep what the file does not
        // hold as the meter has it.
        if (QtPromptService::Current().MessageBox(nullptr, GetLangString(kTextOtherFamily), GetLangString(1000),
                                                  MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) {
            return;
        }
        CKZARN_TransferData meter;
        if (ReadMeter(family, &meter) != 0) return;
        FillMissingFromMeter(table, &meter, family);
        meter.SetFamily(family);
        table = meter;
    }
    int result = 0;
    if (family == MeterFamilyT310) {
        result = facade->SendNamedProfilesT310(table, title);
    } else if (family == MeterFamilyT140) {
        result = facade->SendNamedProfilesT140(table, title, kind);
    } else {
        result = facade->SendNamedProfilesT520(table, title, kind);
    }
    if (result == 0 && page != nullptr) page->RefreshMeterList();
}

void CKZARN_BackupCommands::ViewBackup(QWidget* parent)
{
    const std::vector<std::string> paths =
        CKZARN_ProfileWindows::Current().openFiles(GetLangString(6042), {{GetLangString(138), "*.csv"}}, false);
    if (paths.empty()) return;
    CKZARN_TransferData table;
    if (const int failure = ReadBackupFile(paths.front(), &table); failure != 0) {
        Exclaim(failure);
        return;
    }
    std::vector<std::string> names;
    const int count = CKZARN_TransferData::GetProfileCount(table.GetFamily());
    for (int i = 0; i < count; ++i) names.push_back(table.GetProfileName(i));
    CKZARN_ProfileWindows::Current().openBackupView(parent, paths.front(), names);
}

void CKZARN_BackupCommands::Reset(CKZARN_MainProfileForm* page, const std::string& resetFile)
{
    if (QtPromptService::Current().MessageBox(nullptr, GetLangString(kTextResetQuestion), GetLangString(1000),
                                              MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    const int family = ConnectedFamily();
    CZarnManager* facade = Facade();
    int result = -1;
    if (family == MeterFamilyT310) {
        std::error_code error;
        if (!std::filesystem::exists(resetFile, error)) {
            Exclaim(kTextResetMissing);
            return;
        }
        CKZARN_TransferData table;
        const CKZARN_TransferData::FileRead read = table.ReadTextFile(resetFile);
        if (read != CKZARN_TransferData::FileRead::Read) {
            Exclaim(read == CKZARN_TransferData::FileRead::CannotOpen ? kTextResetCannotOpen : kTextResetNotReadable);
            return;
        }
        result = facade->RunResetT310(table);
    } else if (family == MeterFamilyT140) {
        result = facade->RunResetT140();
    } else if (family == MeterFamilyT520) {
        result = facade->RunResetT520();
    } else {
        return;
    }
    if (result == 0 && page != nullptr) page->RefreshMeterList();
}

void CKZARN_BackupCommands::InitialLevels(QWidget* parent)
{
    CKZARN_SetInitvalDlg dialog(parent);
    CKZARN_ProfileWindows::Current().runInitialLevels(dialog);
}
