#include "ui/main/CKZARN_MainUpdateImplDialog.h"

#include "core/CKZARN_Common.h"
#include "core/CKestrinZarnApp.h"
#include "core/DialogLayoutItem.h"
#include "core/util/CLangTable.h"
#include "core/util/PathUtility.h"
#include "core/util/UpdateCommandLine.h"
#include "meter/CCommT520.h"
#include "meter/ZarnMeterMessages.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/controls/CStaticIcon.h"
#include "ui/controls/QtPromptService.h"
#include "ui/main/ZarnProgramVersion.h"
#include "ui/meter/CZarnManager.h"
#include "ui/meter/MeterPictures.h"

#include <QApplication>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>


namespace {

using D = CKZARN_MainUpdateImplDialog;

constexpr DialogLayoutItem kLayout[] = {
    {D::kTemplateId, 1610, 0, 0, 690, 440},
    {1218, 1611, 20, 30, 630, 150},
    {D::kMeterPictureId, 0, 35, 68, 62, 54},
    {D::kModelId, 0, 30, 125, 72, 24},
    {1223, 1613, 270, 50, 150, 24},
    {1225, 1614, 460, 50, 150, 24},
    {1219, 1612, 95, 80, 170, 24},
    {D::kCurrentFirmwareId, 0, 270, 80, 150, 24},
    {D::kLatestFirmwareId, 0, 460, 80, 150, 24},
    {1220, 1620, 200, 110, 120, 24},
    {D::kMeterDateId, 0, 330, 110, 80, 24},
    {D::kUpdateFirmwareId, 1616, 530, 140, 88, 28},
    {1222, 1617, 20, 200, 630, 150},
    {D::kProgramIconId, 0, 35, 234, 62, 54},
    {1224, 1613, 270, 220, 150, 24},
    {1226, 1614, 460, 220, 150, 24},
    {1221, 1618, 95, 250, 170, 24},
    {D::kInstalledAppId, 0, 270, 250, 150, 24},
    {D::kLatestAppId, 0, 460, 250, 150, 24},
    {1228, 1620, 200, 280, 120, 24},
    {D::kLastUpdateDateId, 0, 330, 280, 80, 24},
    {D::kUpdateAppId, 1616, 530, 310, 88, 24},
    {D::kBackId, 1619, 20, 360, 88, 28},
    {0, 0, 0, 0, 0, 0},
};

constexpr const char* kNone = "---";

// The models whose current firmware shows the radio application version after "_".
bool HasRadioModule(const std::string& model)
{
    return model == "T-140DR" || model == "T-140DR-EL" || model == "T-140DR-PX" ||
           (model == "T-520D" && g_T520ModuleStatus.load() == 1);
}

// The child programs' file names. Where programs carry no suffix (here) the ".exe" is dropped.
constexpr const char* kFlashProgram = "Zarnflash.exe";
constexpr const char* kPatchProgram = "Zarnpatch.exe";
#ifdef _WIN32
constexpr bool kProgramsCarrySuffix = true;
#else
constexpr bool kProgramsCarrySuffix = false;
#endif

} // namespace

CKZARN_MainUpdateImplDialog::CKZARN_MainUpdateImplDialog(QWidget* parent) : CKZARN_ModalBaseDlg(kTemplateId, parent)
{
    auto addLabel = [this](int id) {
        auto* label = new QLabel(this);
        AddControl(id, label);
        return label;
    };
    auto addGroup = [this](int id) {
        auto* group = new QGroupBox(this);
        AddControl(id, group);
        group->lower();
    };
    auto addEdit = [this](int id) {
        auto* edit = new QLineEdit(this);
        edit->setReadOnly(true);
        AddControl(id, edit);
        return edit;
    };
    auto addButton = [this](int id) {
        auto* button = new QPushButton(this);
        button->setAutoDefault(false);
        AddControl(id, button);
        return button;
    };
    addGroup(1218);
    addGroup(1222);
    for (const int id : {1223, 1225, 1219, 1224, 1226, 1221}) addLabel(id);
    for (const int id : {1220, 1228}) addLabel(id)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    model_ = addLabel(kModelId);
    model_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    currentFirmware_ = addEdit(kCurrentFirmwareId);
    latestFirmware_ = addEdit(kLatestFirmwareId);
    installedApp_ = addEdit(kInstalledAppId);
    latestApp_ = addEdit(kLatestAppId);
    meterDate_ = addLabel(kMeterDateId);
    lastUpdateDate_ = addLabel(kLastUpdateDateId);
    updateFirmware_ = addButton(kUpdateFirmwareId);
    updateApp_ = addButton(kUpdateAppId);
    back_ = addButton(kBackId);
    meterPicture_ = new CStaticIcon(this);
    AddControl(kMeterPictureId, meterPicture_);
    programIcon_ = new CStaticIcon(this);
    AddControl(kProgramIconId, programIcon_);
    // The pictures reach two pixels into the labels beside them; the labels' texts stay on top.
    for (CStaticIcon* picture : {meterPicture_, programIcon_}) picture->stackUnder(FindControl(1219));

    t310Icon_ = MeterPictures::Load(MeterPictures::kT310);
    t140Icon_ = MeterPictures::Load(MeterPictures::kT140);
    t520Icon_ = MeterPictures::Load(MeterPictures::kT520);
    programIconImage_ = QApplication::windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ComputerIcon)
                                                            : QApplication::windowIcon();

    connect(updateFirmware_, &QPushButton::clicked, this, [this] { StartFirmwareUpdate(); });
    connect(updateApp_, &QPushButton::clicked, this, [this] { StartSoftwareUpdate(); });
    connect(back_, &QPushButton::clicked, this, [this] { OnBack(); });
}

CKZARN_MainUpdateImplDialog::~CKZARN_MainUpdateImplDialog() = default;

int CKZARN_MainUpdateImplDialog::DoModal()
{
    OnInitDialog();
    return exec();
}

BOOL CKZARN_MainUpdateImplDialog::OnInitDialog()
{
    if (initialised_) return TRUE;
    initialised_ = true;
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    programIcon_->SetIcon(programIconImage_, 42, 42);
    ShowUpdateButtons();
    UpdateVersions();
    UpdateModel();
    return TRUE;
}

void CKZARN_MainUpdateImplDialog::ShowUpdateButtons()
{
    CZarnManager* facade = CZarnManager::GetInstance();
    updateFirmware_->show();
    updateApp_->show();
    updateFirmware_->setEnabled(facade->IsFirmwareUpdateAvailable() == 1);
    updateApp_->setEnabled(facade->IsAppUpdateAvailable() == 1);
}

void CKZARN_MainUpdateImplDialog::UpdateModel()
{
    const std::string model = CZarnManager::GetInstance()->GetPhotometerType();
    if (model == "T-310D/DR" || model == "T-310CINE") {
        meterPicture_->SetIcon(t310Icon_, 30, 52);
    } else if (model == "T-140D" || model == "T-140DR" || model == "T-140DR-EL" || model == "T-140DR-PX") {
        meterPicture_->SetIcon(t140Icon_, 54, 54);
    } else if (model == "T-520D") {
        meterPicture_->SetIcon(t520Icon_, 48, 48);
    } else {
        meterPicture_->ClearIcon();
    }
    model_->setText(CKZARN_Common::ToWidgetText(model));
}

void CKZARN_MainUpdateImplDialog::UpdateVersions()
{
    CZarnManager* facade = CZarnManager::GetInstance();
    const std::string model = facade->GetPhotometerType();
    const bool radio = HasRadioModule(model);

    std::string current = facade->GetMeterRevision();
    if (radio) current += "_" + facade->GetVersionB();
    if (current.empty()) {
        current = kNone;
        updateFirmware_->setEnabled(false);
    }
    latestFirmwareVersion = facade->GetRecordVersion(model);
    if (latestFirmwareVersion.empty()) {
        latestFirmwareVersion = kNone;
        updateFirmware_->setEnabled(false);
    }
    firmwareReleaseDate = facade->GetRecordDate(model);
    if (firmwareReleaseDate.empty()) firmwareReleaseDate = kNone;
    if (radio) {
        rfAppVersion = facade->GetLatestT140RFAVersion();
        rfLoaderVersion = facade->GetLatestT140RFLVersion();
        latestFirmwareVersion += UpdateCommandLine::RadioVersionSuffix(model, rfAppVersion);
    }
    currentFirmware_->setText(CKZARN_Common::ToWidgetText(current));
    latestFirmware_->setText(CKZARN_Common::ToWidgetText(latestFirmwareVersion));
    meterDate_->setText(CKZARN_Common::ToWidgetText(facade->GetMeterDate()));

    installedAppVersion = facade->GetInstalledVersion();
    if (installedAppVersion.empty()) {
        installedAppVersion = OwnVersionText();
        updateApp_->setEnabled(true);
    }
    latestAppVersion = facade->GetLatestAppVersion();
    if (latestAppVersion.empty()) {
        latestAppVersion = kNone;
        updateApp_->setEnabled(false);
    }
    installedApp_->setText(CKZARN_Common::ToWidgetText(installedAppVersion));
    latestApp_->setText(CKZARN_Common::ToWidgetText(latestAppVersion));
    lastUpdateDate_->setText(CKZARN_Common::ToWidgetText(facade->GetLastUpdateDate()));
}

std::string CKZARN_MainUpdateImplDialog::OwnVersionText()
{
    return ZarnProgramVersion::Text();
}

BOOL CKZARN_MainUpdateImplDialog::OnUpdateListRefresh(WPARAM, LPARAM)
{
    ShowUpdateButtons();
    UpdateVersions();
    return TRUE;
}

LRESULT CKZARN_MainUpdateImplDialog::OnMeterInfo(WPARAM, LPARAM)
{
    ShowUpdateButtons();
    UpdateVersions();
    UpdateModel();
    return 0;
}

LRESULT CKZARN_MainUpdateImplDialog::SendMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ZARN_T310_INFO || message == WM_ZARN_T140_INFO) {
        return OnMeterInfo(wParam, lParam);
    }
    return 0;
}

BOOL CKZARN_MainUpdateImplDialog::OnBusy(WPARAM, LPARAM)
{
    idle = 0;
    busyFocus_ = QApplication::focusWidget();
    updateFirmware_->setEnabled(false);
    updateApp_->setEnabled(false);
    back_->setEnabled(false);
    return TRUE;
}

BOOL CKZARN_MainUpdateImplDialog::OnIdle(WPARAM, LPARAM)
{
    idle = 1;
    UpdateVersions();
    UpdateModel();
    ShowUpdateButtons();
    back_->setEnabled(true);
    if (busyFocus_ != nullptr) busyFocus_->setFocus();
    busyFocus_ = nullptr;
    return TRUE;
}

void CKZARN_MainUpdateImplDialog::OnOK()
{
    if (idle == 1) done(IDOK);
}

void CKZARN_MainUpdateImplDialog::OnCancel()
{
    if (idle == 1) done(IDCANCEL);
}

void CKZARN_MainUpdateImplDialog::OnBack()
{
    done(IDOK);
}

void CKZARN_MainUpdateImplDialog::EndNow()
{
    done(IDOK);
}

void CKZARN_MainUpdateImplDialog::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        OnOK();
        event->accept();
        return;
    case Qt::Key_Escape:
        OnCancel();
        event->accept();
        return;
    default:
        CKZARN_ModalBaseDlg::keyPressEvent(event);
    }
}

std::string CKZARN_MainUpdateImplDialog::ProgramFolder() const
{
    return GetModuleFolder();
}

std::string CKZARN_MainUpdateImplDialog::ProgramFile(const std::string& name) const
{
    std::string file = name;
    const std::string suffix = ".exe";
    if (!kProgramsCarrySuffix && file.size() > suffix.size() &&
        file.compare(file.size() - suffix.size(), suffix.size(), suffix) == 0) {
        file.resize(file.size() - suffix.size());
    }
    return JoinPath(ProgramFolder(), file, false);
}

void CKZARN_MainUpdateImplDialog::ShowFailure(int textId, const std::string& program)
{
    std::string text = GetLangString(textId);
    if (!program.empty()) text = program + "\n" + text;
    QtPromptService::Current().MessageBox(QtMessageSink::Instance().FindHandle(this), text, GetLangString(1000),
                                          MB_OK | MB_ICONEXCLAMATION);
}

void CKZARN_MainUpdateImplDialog::StartSoftwareUpdate()
{
    const std::string program = ProgramFile(kPatchProgram);
    const std::string language = GetLangString(0);
    // Values from the update server and the text table go to the updater as they stand; one that
    // could be read as a switch or split by the receiver is refused.
    if ((latestAppVersion != kNone && !UpdateCommandLine::IsPlainArgument(latestAppVersion)) || !UpdateCommandLine::IsPlainArgument(language)) {
        ShowFailure(kBadUpdateInfoTextId, {});
        return;
    }
    const std::vector<std::string> arguments = UpdateCommandLine::SoftwareArguments(latestAppVersion, mainWindowNumber_, language);
    // The updater leaves the old program under this name beside the new one.
    std::error_code error;
    std::filesystem::remove(JoinPath(ProgramFolder(), "Zarnpatch.oldexe", false), error);
    if (Launch(program, arguments) != TRUE) {
        ShowFailure(kStartFailedTextId, program);
    }
}

void CKZARN_MainUpdateImplDialog::StartFirmwareUpdate()
{
    CZarnManager* facade = CZarnManager::GetInstance();
    const std::string model = facade->GetPhotometerType();
    const std::string version = facade->GetRecordVersion(model);
    const std::string rfApp = facade->GetLatestT140RFAVersion();
    const std::string rfLoader = facade->GetLatestT140RFLVersion();
    const std::vector<std::string> arguments =
        UpdateCommandLine::FirmwareArguments(mainWindowNumber_, model, version, rfApp, rfLoader, firmwareReleaseDate);
    // Only the values that go onto the command line are checked (every second argument follows
    // its switch): a radio version that a T-520D is not given cannot hold its update back.
    for (std::size_t i = 1; i < arguments.size(); i += 2) {
        if (!UpdateCommandLine::IsPlainArgument(arguments[i])) {
            ShowFailure(kBadUpdateInfoTextId, {});
            return;
        }
    }
    const std::string program = ProgramFile(kFlashProgram);
    // The launcher learns of a failed start only on its wait thread; a missing program is told now.
    if (::access(program.c_str(), X_OK) != 0) {
        ShowFailure(kStartFailedTextId, program);
        return;
    }
    if (LaunchNotify(program, arguments) != 1) {
        ShowFailure(kStartFailedTextId, program);
    }
}

int CKZARN_MainUpdateImplDialog::LaunchNotify(const std::string& program, const std::vector<std::string>& arguments)
{
    CKestrinZarnApp* app = CKestrinZarnApp::GetApp();
    return app != nullptr ? app->LaunchProgramNotify(program, arguments) : 0;
}

BOOL CKZARN_MainUpdateImplDialog::Launch(const std::string& program, const std::vector<std::string>& arguments)
{
    CKestrinZarnApp* app = CKestrinZarnApp::GetApp();
    return app != nullptr ? app->LaunchProgram(program, arguments) : FALSE;
}

void CKZARN_MainUpdateImplDialog::reject()
{
    OnCancel();
}
