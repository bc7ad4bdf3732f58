#include "tests/support/switch/SimulatedWizardSession.h"

#include "ui/controls/CKZARN_OpenProfileDlg.h"
#include "ui/controls/CKZARN_ProfileListCtrl.h"
#include "ui/main/CKZARN_MainDlg.h"
#include "ui/main/CKZARN_MainProfileForm.h"
#include "ui/main/CKZARN_SelModeDlg.h"
#include "ui/wizard/CKZARN_ThumbnailWnd.h"
#include "ui/wizard/CKZARN_WizArea7PreviewForm.h"
#include "ui/wizard/CKZARN_WizArea7TargetForm.h"
#include "ui/wizard/CKZARN_WizardDlg.h"
#include "ui/wizard/ExifInputValues.h"
#include "ui/wizard/WizardAppLink.h"
#include "ui/wizard/WizardPageFactory.h"
#include "core/ShellPathUtility.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMetaObject>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

namespace {

void Say(const std::string& line)
{
    std::fprintf(stderr, "zarndesk: %s\n", line.c_str());
    std::fflush(stderr);
}

CKZARN_MainDlg* FindMainWindow()
{
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<CKZARN_MainDlg*>(widget); window != nullptr && !window->IsDestroyed())
            return window;
    }
    return nullptr;
}

std::string Joined(const CKZARN_ProfileListCtrl* list)
{
    std::string text;
    for (int i = 0; i < list->GetItemCount(); ++i) {
        if (i > 0)
            text += ",";
        text += list->GetItemText(i);
    }
    return text;
}

// A press as the user makes it, delivered once the current event has been handled: a press that
// opens a modal window must not run its event loop inside the session's timer.
void Press(QWidget* button)
{
    auto* pressable = qobject_cast<QAbstractButton*>(button);
    if (pressable != nullptr)
        QMetaObject::invokeMethod(pressable, &QAbstractButton::click, Qt::QueuedConnection);
}

bool AllLoaded(CKZARN_ThumbnailWnd* strip)
{
    for (int i = 0; i < strip->GetCount(); ++i) {
        ExifInputValues copy;
        if (!strip->GetRecordByPath(strip->GetRecordAt(i)->path, &copy) || copy.loadResult == ExifInputValues::kNotLoaded)
            return false;
    }
    return strip->GetCount() > 0;
}

} // namespace

std::unique_ptr<SimulatedWizardSession> SimulatedWizardSession::FromEnvironment()
{
    const char* folder = std::getenv(kFolderVariable);
    if (folder == nullptr || *folder == '\0')
        return nullptr;
    const char* name = std::getenv(kNameVariable);
    const char* shots = std::getenv(kScreenshotVariable);
    return std::make_unique<SimulatedWizardSession>(folder, name != nullptr && *name != '\0' ? name : "Simulated",
                                                    shots != nullptr ? shots : "");
}

SimulatedWizardSession::SimulatedWizardSession(std::string photoFolder, std::string resultName,
                                               std::string screenshotFolder)
    : photoFolder_(std::move(photoFolder)), resultName_(std::move(resultName)),
      screenshotFolder_(std::move(screenshotFolder))
{
}

SimulatedWizardSession::~SimulatedWizardSession()
{
    WizardAppLink::SetFolderChooser(nullptr);
}

void SimulatedWizardSession::Start()
{
    // The user's answer to the folder-browse dialog: the photograph folder.
    WizardAppLink::SetFolderChooser([this](QWidget*, const std::string&, const std::string&, std::string* folder) {
        *folder = photoFolder_;
        return true;
    });
    timer_ = std::make_unique<QTimer>();
    QObject::connect(timer_.get(), &QTimer::timeout, [this] { Step(); });
    timer_->start(100);
}

void SimulatedWizardSession::Keep(QWidget* window, const std::string& name)
{
    if (screenshotFolder_.empty())
        return;
    char number[16];
    std::snprintf(number, sizeof number, "%02d-", ++shots_);
    const std::string path = screenshotFolder_ + "/" + number + name + ".png";
    if (window->grab().save(QString::fromStdString(path)))
        Say("screenshot: " + path);
    else
        Say("screenshot not written: " + path);
}

void SimulatedWizardSession::Fail(const std::string& why)
{
    Say("wizard session failed: " + why);
    timer_->stop();
    stage_ = Stage::Done;
}

// One look at the screen; at most one action per look, so every window has drawn itself before
// it is kept and the next press comes.
void SimulatedWizardSession::Step()
{
    CKZARN_MainDlg* main = FindMainWindow();
    if (main == nullptr)
        return;
    CKZARN_MainProfileForm* page = main->ProfileForm();
    QWidget* modal = QApplication::activeModalWidget();
    switch (stage_) {
    case Stage::ProfilePage:
        // Once the meter's slots are listed, so the meter's first read-out is over.
        if (page == nullptr || !page->isVisible() || page->MeterList()->GetItemCount() == 0 ||
            (modal != nullptr && modal != main))
            return;
        Keep(main, "profile-page");
        Press(page->FindControl(CKZARN_MainProfileForm::IDC_NEW));
        stage_ = Stage::Choice;
        return;
    case Stage::Choice: {
        auto* choice = qobject_cast<CKZARN_SelModeDlg*>(modal);
        if (choice == nullptr || choice->Row() == nullptr)
            return;
        Keep(choice, "new-choice");
        // The way whose result is 0: a new profile from photographs.
        const CKZARN_SelModeDlg::ChoiceRow& row = *choice->Row();
        const int id = row.result1038 == 0 ? 1038 : row.result1039 == 0 ? 1039 : 1040;
        Press(choice->FindControl(id));
        stage_ = Stage::Wizard;
        return;
    }
    case Stage::Wizard:
        if (auto* wizard = qobject_cast<CKZARN_WizardDlg*>(modal))
            StepWizard(wizard);
        return;
    case Stage::Chooser: {
        auto* chooser = qobject_cast<CKZARN_OpenProfileDlg*>(modal);
        if (chooser == nullptr)
            return;
        auto* name = qobject_cast<QLineEdit*>(chooser->FindControl(CKZARN_OpenProfileDlg::kNameEditId));
        if (name == nullptr)
            return Fail("the profile chooser has no name field");
        name->setText(QString::fromStdString(resultName_));
        Keep(chooser, "save-chooser");
        Press(chooser->FindControl(CKZARN_OpenProfileDlg::kOkId));
        stage_ = Stage::Saved;
        return;
    }
    case Stage::Saved: {
        if (modal != nullptr && modal != main)
            return;
        // The page refreshes its list when it hears of the saved profile.
        const std::string pc = Joined(page->PcList());
        if (("," + pc + ",").find("," + resultName_ + ",") == std::string::npos)
            return;
        Keep(main, "profile-page-after");
        Say("pc list after the wizard: " + pc);
        stage_ = Stage::Done;
        timer_->stop();
        main->close();
        return;
    }
    case Stage::Done:
        return;
    }
}

void SimulatedWizardSession::StepWizard(QWidget* window)
{
    auto* wizard = static_cast<CKZARN_WizardDlg*>(window);
    const int step = wizard->GetStep();
    auto* photos = dynamic_cast<CKZARN_WizArea7PreviewForm*>(wizard->Page(WizardPageFactory::kPhotos));
    // A refusal leaves the photograph step showing the photographs to replace, unchecked.
    if (step == 3 && photographsChosen_ && photos != nullptr && AllLoaded(photos->Strip())) {
        CKZARN_ThumbnailWnd* strip = photos->Strip();
        std::string unchecked;
        for (int i = 0; i < strip->GetCount(); ++i) {
            ExifInputValues copy;
            strip->GetRecordByPath(strip->GetRecordAt(i)->path, &copy);
            if (!copy.checked)
                unchecked += (unchecked.empty() ? "" : ",") + GetFileNameFromPath(copy.path);
        }
        if (!unchecked.empty()) {
            const ExifInputValues* selected = strip->GetRecordAt(strip->GetSelectedIndex());
            Keep(wizard, "wizard-refused");
            Say("wizard refused the photographs: unchecked " + unchecked + "; selected " +
                (selected != nullptr ? GetFileNameFromPath(selected->path) : std::string()));
            timer_->stop();
            stage_ = Stage::Done;
            return;
        }
    }
    if (step == actedOnStep_)
        return;
    QWidget* next = wizard->FindControl(CKZARN_WizardDlg::kNextId);
    if (next == nullptr || !next->isVisible())
        return;
    switch (step) {
    case 0:
        // The chart: Gradus II, as the photographs show it.
        if (CKZARN_WizAreaBaseForm* chart = wizard->Page(CKZARN_WizArea7TargetForm::kTemplateId)) {
            auto* gradus2 = qobject_cast<QAbstractButton*>(chart->FindControl(CKZARN_WizArea7TargetForm::kGradus2Id));
            if (gradus2 != nullptr && !gradus2->isChecked()) {
                gradus2->click();
                return;
            }
        }
        break;
    case 3: {
        // Every photograph checked once the strip has read them.
        if (photos == nullptr)
            return Fail("no photograph page");
        CKZARN_ThumbnailWnd* strip = photos->Strip();
        if (!AllLoaded(strip))
            return;
        for (int i = 0; i < strip->GetCount(); ++i) {
            ExifInputValues copy;
            strip->GetRecordByPath(strip->GetRecordAt(i)->path, &copy);
            if (!copy.checked) {
                strip->ToggleCheck(i);
                return;
            }
        }
        if (strip->GetSelectedIndex() != 0) {
            strip->Select(0, 1);
            return;
        }
        break;
    }
    case 4: {
        // Each photograph looked at, so its corners are found and confirmed; the last one stays shown.
        if (photos == nullptr)
            return Fail("no photograph page");
        CKZARN_ThumbnailWnd* strip = photos->Strip();
        if (!AllLoaded(strip))
            return;
        for (int i = 0; i < strip->GetCount(); ++i) {
            ExifInputValues copy;
            strip->GetRecordByPath(strip->GetRecordAt(i)->path, &copy);
            if (!copy.cornersConfirmed) {
                strip->Select(i, 1);
                return;
            }
        }
        break;
    }
    default:
        break;
    }
    if (!next->isEnabled())
        return;
    Keep(wizard, "wizard-step" + std::to_string(step));
    actedOnStep_ = step;
    if (step == 3)
        photographsChosen_ = true;
    if (step == 5)
        stage_ = Stage::Chooser;
    Press(next);
}
