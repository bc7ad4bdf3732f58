#include "ui/wizard/CKZARN_WizardDlg.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/ShellFileUtility.h"
#include "core/ShellPathUtility.h"
#include "core/util/CLangTable.h"
#include "core/util/PathUtility.h"
#include "meter/ZarnMeterMessages.h"
#include "platform/PromptService.h"
#include "platform/qt/QtMessageSink.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ChartCorners.h"
#include "profilelib/ZarnLib_ExposureSeries.h"
#include "profilelib/ZarnLib_KestrinPatchElement.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "ui/wizard/CKZARN_ProgressThreadDlg.h"
#include "ui/wizard/CKZARN_WizAreaBaseForm.h"
#include "ui/wizard/CKZARN_WizFileData.h"
#include "ui/wizard/PhotoMeasurePool.h"
#include "ui/wizard/WizardAppLink.h"
#include "ui/wizard/WizardCalcThread.h"
#include "ui/wizard/WizardCalculation.h"
#include "ui/wizard/WizardCineCodes.h"
#include "ui/wizard/WizardPageFactory.h"
#include "ui/wizard/WizardPhotoDataPage.h"
#include "ui/wizard/WizardPhotoPage.h"
#include "ui/wizard/WizardRefusalText.h"
#include "ui/wizard/WizardResultEditor.h"
#include "ui/wizard/WizardResultGraphPage.h"
#include "ui/wizard/WizardResultTablePage.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <cmath>
#include <ctime>
#include <filesystem>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_WizardDlg::kTemplateId, 0, 0, 0, 1025, 750},
    {1149, 0, 10, 5, 252, 253},
    {1021, 0, 11, 12, 250, 245},
    {1150, 0, 10, 265, 252, 315},
    {1022, 0, 11, 307, 250, 307},
    {1151, 0, 270, 5, 727, 137},
    {1091, 0, 271, 12, 725, 129},
    {1152, 0, 270, 142, 727, 445},
    {1094, 0, 273, 151, 721, 433},
    {1153, 0, 270, 586, 727, 102},
    {1093, 0, 278, 598, 717, 88},
    {1047, 0, 10, 595, 120, 23},
    {1048, 0, 10, 595, 252, 23},
    {1046, 3021, 10, 630, 120, 23},
    {1027, 3020, 142, 630, 120, 23},
    {1049, 3024, 76, 665, 120, 23},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kGroupIds[5] = {1149, 1150, 1151, 1152, 1153};

// The remembered cine settings: shutter index, frame-rate code, shutter-angle code, aperture index.
int g_cineSettings[4] = {54, 24, 180, 20};

QString Text(int id)
{
    return CKZARN_Common::ToWidgetText(GetLangString(id));
}

} // namespace

CKZARN_WizardDlg::CKZARN_WizardDlg(QWidget* parent)
    : CKZARN_ModalBaseDlg(kTemplateId, parent),
      instruction_(new QLabel(this)),
      area7_(new QWidget(this)),
      area6_(new QWidget(this)),
      area4_(new QWidget(this)),
      spare_(new QPushButton(this)),
      extra_(new QPushButton(this)),
      next_(new QPushButton(this)),
      cancel_(new QPushButton(this)),
      back_(new QPushButton(this)),
      area3_(new QWidget(this)),
      data_(WizardAppLink::Settings().Target)
{
    g_cineSettings[0] = 54;
    g_cineSettings[1] = 24;
    g_cineSettings[2] = 180;
    g_cineSettings[3] = 20;
    for (int k = 0; k < 5; ++k) {
        groups_[k] = new QGroupBox(this);
        groups_[k]->lower();
        AddControl(kGroupIds[k], groups_[k]);
    }
    instruction_->setWordWrap(true);
    instruction_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    AddControl(kInstructionId, instruction_);
    AddControl(kArea7Id, area7_);
    AddControl(kArea6Id, area6_);
    AddControl(kArea4Id, area4_);
    AddControl(kSpareId, spare_);
    AddControl(kExtraId, extra_);
    AddControl(kNextId, next_);
    AddControl(kCancelId, cancel_);
    AddControl(kBackId, back_);
    AddControl(kArea3Id, area3_);
    for (QPushButton* button : {spare_, extra_, next_, cancel_, back_})
        button->setAutoDefault(false);
    connect(next_, &QPushButton::clicked, this, [this] { OnNext(); });
    connect(back_, &QPushButton::clicked, this, [this] { OnBack(); });
    connect(extra_, &QPushButton::clicked, this, [this] { OnExtra(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { OnCancelButton(); });
}

CKZARN_WizardDlg::~CKZARN_WizardDlg()
{
    OnDestroy();
}

void CKZARN_WizardDlg::SetMode(int m)
{
    if ((m == 0 || m == 1) && !initialised_)
        mode_ = m;
}

int CKZARN_WizardDlg::DoModal()
{
    if (!OnInitDialog())
        return IDCANCEL;
    return exec();
}

BOOL CKZARN_WizardDlg::Create()
{
    if (!OnInitDialog())
        return FALSE;
    show();
    return TRUE;
}

BOOL CKZARN_WizardDlg::OnInitDialog()
{
    initialised_ = true;
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);

    QString caption = Text(mode_ == 1 ? 3001 : 3000);
    if (!resultFileName_.empty())
        caption += QStringLiteral("   ") + CKZARN_Common::ToWidgetText(resultFileName_);
    setWindowTitle(caption);

    if (mode_ == 1) {
        area3_->resize(250, 210);
        groups_[0]->resize(252, 218);
        area4_->move(11, 272);
        groups_[1]->move(10, 265);
    } else {
        area3_->resize(250, 175);
        groups_[0]->resize(252, 183);
        area4_->move(11, 237);
        groups_[1]->move(10, 230);
    }

    temporaryPath_ = CKZARN_Common::GetFolderPath(0) + "/" + kTemporaryName;
    // A result left behind by a wizard that did not close properly belongs to no run of this one:
    // it must neither be offered as a stored result nor be saved by a cancel.
    std::error_code ignored;
    std::filesystem::remove(temporaryPath_, ignored);

    if (!resultFileName_.empty()) {
        const std::string path = CKZARN_Common::GetProfilePath(resultFileName_);
        const ZarnLibString file(path.c_str());
        if (LoadProfile(&file, &profile_) != 0) {
            // A profile that cannot be read cannot be edited: saving would replace the stored file
            // by what little was read.
            Ask(3063, MB_OK | MB_ICONEXCLAMATION);
            return FALSE;
        }
        profile_.SetVersion(3);
        profile_.SetSubVersion(0);
        const ZarnLibString temporary(temporaryPath_.c_str());
        SaveProfile(&temporary, &profile_);
    }

    CreatePages();
    previousStep_ = -1;
    step_ = 0;
    ChangeStep();
    return TRUE;
}

void CKZARN_WizardDlg::CreatePages()
{
    struct Made {
        CKZARN_WizAreaBaseForm** page;
        int templateId;
        QWidget* frame;
        bool shown;
    };
    const Made pages[] = {
        {&stepList_, WizardPageFactory::kStepList, area3_, true},
        {&photoData_, WizardPageFactory::kPhotoData, area4_, false},
        {&resultTable_, WizardPageFactory::kResultTable, area4_, false},
        {&exposureRange_, WizardPageFactory::kRange, area4_, false},
        {&cineReadings_, WizardPageFactory::kCine, area4_, false},
        {&summary_, WizardPageFactory::kSummary, area6_, true},
        {&chart_, WizardPageFactory::kChart, area7_, false},
        {&light_, WizardPageFactory::kLight, area7_, false},
        {&readings_, WizardPageFactory::kReadings, area7_, false},
        {&photos_, WizardPageFactory::kPhotos, area7_, false},
        {&resultGraph_, WizardPageFactory::kResultGraph, area7_, false},
    };
    for (const Made& made : pages) {
        CKZARN_WizAreaBaseForm* page = WizardPageFactory::Create(made.templateId, made.frame);
        page->owner = this;
        page->settings = &data_;
        page->Create(made.frame);
        page->setVisible(made.shown);
        page->resize(made.frame->size());
        *made.page = page;
    }
}

CKZARN_WizAreaBaseForm* CKZARN_WizardDlg::Page(int templateId) const
{
    for (CKZARN_WizAreaBaseForm* page : {stepList_, photoData_, resultTable_, exposureRange_, cineReadings_, summary_,
                                         chart_, light_, readings_, photos_, resultGraph_})
        if (page != nullptr && page->TemplateId() == templateId)
            return page;
    return nullptr;
}

WizardPhotoPage* CKZARN_WizardDlg::PhotoPage() const
{
    return dynamic_cast<WizardPhotoPage*>(photos_);
}

QWidget* CKZARN_WizardDlg::FindReadingControl(int id) const
{
    return readings_ != nullptr ? readings_->FindControl(id) : nullptr;
}

void CKZARN_WizardDlg::SetInstructionText(int textId)
{
    instruction_->setText(Text(textId));
}

int CKZARN_WizardDlg::Ask(int textId, UINT type)
{
    return Ask(GetLangString(textId), type);
}

int CKZARN_WizardDlg::Ask(const std::string& text, UINT type)
{
    PromptService* prompt = PromptService::Installed();
    if (prompt == nullptr)
        return IDCANCEL;
    return prompt->MessageBox(QtMessageSink::Instance().FindHandle(this), text, GetLangString(1000), type);
}

bool CKZARN_WizardDlg::ChosenSeriesIsSound()
{
    WizardPhotoPage* page = PhotoPage();
    if (page == nullptr)
        return true;
    std::vector<std::string> checked;
    page->GetCheckedPaths(&checked, 1);
    std::vector<double> exposures;
    for (const std::string& path : checked) {
        ExifInputValues record;
        GetPhotoRecord(path, &record);
        exposures.push_back(WizardCalculation::ExposureOf(data_, record));
    }
    const std::vector<ZarnLib_SeriesRefusal> refusals =
        ZarnLib_ExposureSeries::Judge(WizardCalculation::MeasurementChartKind(data_), exposures);
    if (refusals.empty())
        return true;
    // The first rule that refused, and where; the photographs it names are marked in the strip.
    Ask(WizardRefusalText::Message(refusals.front(), checked), MB_OK | MB_ICONEXCLAMATION);
    page->MarkRefused(WizardRefusalText::Named(refusals.front(), checked));
    return false;
}

void CKZARN_WizardDlg::GoToStep(int n)
{
    if (n < 0 || n > 6 || (n == 1 && mode_ == 0) || n == step_)
        return;
    previousStep_ = step_;
    step_ = n;
    ChangeStep();
}

int CKZARN_WizardDlg::InstructionOf(int step) const
{
    const bool expanded = data_.expandedRange == 1;
    switch (step) {
    case 0: return 3027;
    case 1: return 3028;
    case 2: return data_.cineMode == 0 ? 3029 : data_.cineMode == 1 ? 3059 : 0;
    case 3:
        switch (data_.target) {
        case 0: return expanded ? 3048 : 3047;
        case 1: return expanded ? 3050 : 3049;
        case 2: return expanded ? 3052 : 3051;
        case 5: return expanded ? 3061 : 3060;
        default: return 0;
        }
    case 4:
        switch (data_.target) {
        case 0: return 3053;
        case 1:
        case 5: return 3054;
        case 2:
            switch (data_.colorCheckerVariant) {
            case 0: return 3056;
            case 1: return 3055;
            case 2: return 3057;
            default: return 0;
            }
        default: return 0;
        }
    case 5: return mode_ == 1 ? 3033 : 3032;
    case 6: return 3034;
    default: return 0;
    }
}

void CKZARN_WizardDlg::SwitchArea(CKZARN_WizAreaBaseForm*& current, CKZARN_WizAreaBaseForm* wanted)
{
    if (wanted != current) {
        if (current != nullptr)
            current->hide();
        if (wanted != nullptr)
            wanted->show();
        current = wanted;
    }
    if (current != nullptr)
        current->Refresh();
}

void CKZARN_WizardDlg::ClearShownPhoto()
{
    currentImagePath_.clear();
    if (photoData_ != nullptr)
        photoData_->ShowPhoto(std::string(), nullptr);
}

void CKZARN_WizardDlg::ChangeStep()
{
    ZarnAppSettings& app = WizardAppLink::Settings();
    // Phase 1: leaving forward.
    if (previousStep_ < step_) {
        if (previousStep_ == 0) {
            app.Target = data_.target;
        } else if (previousStep_ == 1) {
            app.LightSource = data_.lightSource;
        } else if (previousStep_ == 2) {
            app.IsoSpeed = data_.isoSpeed;
            app.ShutterSpeedIL = data_.ilShutterIndex;
            app.FrameRateIL = data_.ilFrameRateCode;
            app.ShutterAngleIL = data_.ilShutterAngleCode;
            app.ApertureIL = data_.ilApertureIndex;
            app.TenthsIL = data_.ilTenths;
            app.ShutterSpeedRL = data_.rlShutterIndex;
            app.FrameRateRL = data_.rlFrameRateCode;
            app.ShutterAngleRL = data_.rlShutterAngleCode;
            app.ApertureRL = data_.rlApertureIndex;
            app.TenthsRL = data_.rlTenths;
            if (HasStoredResult(data_.isoSpeed, data_.lightSource) == 1 &&
                Ask(3042, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) {
                previousStep_ = step_;
                step_ = 2;
                ChangeStep();
                return;
            }
        }
    }

    // Phase 2: preparing.
    if (step_ == 3) {
        if (WizardPhotoPage* page = PhotoPage())
            page->ClearPhotos();
        ClearShownPhoto();
    }
    if (previousStep_ == 5 && step_ < 5 && resultPending_ == 1)
        DiscardRun();
    if (previousStep_ == 4 && step_ == 5) {
        if (auto* table = dynamic_cast<WizardResultTablePage*>(resultTable_)) {
            table->FillTable(nullptr);
            table->SetEditable(1);
        }
        if (auto* graph = dynamic_cast<WizardResultGraphPage*>(resultGraph_))
            graph->ClearGraph();
    }
    if (stepList_ != nullptr)
        stepList_->Refresh();
    if (summary_ != nullptr)
        summary_->Refresh();

    // Phase 3: switching.
    CKZARN_WizAreaBaseForm* area4 = nullptr;
    CKZARN_WizAreaBaseForm* area7 = nullptr;
    int nextText = 3020;
    int extraText = 0;
    switch (step_) {
    case 0: area4 = exposureRange_; area7 = chart_; break;
    case 1: area7 = light_; break;
    case 2: area4 = cineReadings_; area7 = readings_; break;
    case 3: area4 = photoData_; area7 = photos_; extraText = 147; break;
    case 4: area4 = photoData_; area7 = photos_; break;
    case 5:
        area4 = resultTable_;
        area7 = resultGraph_;
        nextText = 3022;
        extraText = mode_ == 1 ? 3023 : 0;
        break;
    case 6: nextText = 3025; break;
    default: break;
    }
    SwitchArea(currentArea4_, area4);
    SwitchArea(currentArea7_, area7);
    SetInstructionText(InstructionOf(step_));
    next_->setText(Text(nextText));
    next_->setEnabled(true);
    back_->setEnabled(step_ != 0);
    spare_->setText(Text(0));
    spare_->hide();
    extra_->setText(Text(extraText));
    extra_->setVisible(extraText != 0);
    repaint();

    // Phase 4: entering.
    if (step_ == 3)
        EnterPhotoStep();
    else if (step_ == 4)
        EnterCornerStep();
    else if (step_ == 5 && previousStep_ == 4)
        RunCalculation();
    else if (step_ == 6)
        SaveResult();
}

std::string CKZARN_WizardDlg::ChooseFolder()
{
    std::string folder;
    if (!WizardAppLink::ChooseFolder(this, GetLangString(3035), WizardAppLink::Settings().ImgDir, &folder))
        return std::string();
    return folder;
}

void CKZARN_WizardDlg::EnterPhotoStep()
{
    const bool fromReadings = previousStep_ == 2;
    const std::string folder = fromReadings ? ChooseFolder() : photoFolder_;
    if (folder.empty()) {
        previousStep_ = step_;
        step_ = 2;
        ChangeStep();
        return;
    }
    WizardPhotoPage* page = PhotoPage();
    if (page != nullptr)
        page->LoadFolder(folder);
    photoFolder_ = folder;
    WizardAppLink::Settings().ImgDir = folder;
    if (!fromReadings && page != nullptr) {
        // Back from a refused run, the photographs chosen for it stay checked with the exposures
        // they were measured with, and those to replace are marked: unchecked, the first selected.
        const bool refusedRun = !refusedPaths_.empty();
        for (CKZARN_WizFileData* photo : data_.allPhotos) {
            GetPhotoRecord(photo->path, &photo->values);
            photo->values.brightnessAdjust = photo->savedBrightnessAdjust;
            for (const CKZARN_WizFileData* chosen : data_.chosenPhotos) {
                if (refusedRun && chosen->path == photo->path) {
                    photo->values.AssignExposure(chosen->values);
                    photo->values.checked = 1;
                }
            }
            page->UpdateRecord(photo->path, &photo->values, 0);
        }
        if (refusedRun)
            page->MarkRefused(refusedPaths_);
    }
    refusedPaths_.clear();
    next_->setEnabled(false);
}

void CKZARN_WizardDlg::EnterCornerStep()
{
    if (previousStep_ == 5)
        return;
    WizardPhotoPage* page = PhotoPage();
    std::vector<std::string> shown;
    if (previousStep_ == 3) {
        std::vector<std::string> checked, all;
        if (page != nullptr) {
            page->GetCheckedPaths(&checked, 1);
            page->GetAllPaths(&all, 0);
        }
        const auto rebuild = [this](std::vector<CKZARN_WizFileData*>& list, const std::vector<std::string>& paths) {
            WizardData::ClearList(list);
            for (const std::string& path : paths) {
                ExifInputValues record;
                GetPhotoRecord(path, &record);
                list.push_back(new CKZARN_WizFileData(path, record));
            }
        };
        rebuild(data_.allPhotos, all);
        rebuild(data_.chosenPhotos, checked);
        shown = checked;
    } else {
        for (const CKZARN_WizFileData* photo : data_.chosenPhotos)
            shown.push_back(photo->path);
    }
    if (page != nullptr)
        page->ClearPhotos();
    ClearShownPhoto();
    if (page != nullptr) {
        page->SetPhotoList(shown);
        for (CKZARN_WizFileData* photo : data_.chosenPhotos)
            page->UpdateRecord(photo->path, &photo->values, 0);
    }
    next_->setEnabled(false);
}

void CKZARN_WizardDlg::RunCalculation()
{
    for (CKZARN_WizFileData* photo : data_.chosenPhotos)
        GetPhotoRecord(photo->path, &photo->values);

    // The run replaces the condition's table; the profile as it was comes back if the run is
    // discarded.
    beforeRun_.Take(profile_);

    const ZarnAppSettings& app = WizardAppLink::Settings();
    const WizardUserLevels levels{app.userCPM, app.userDRM, app.userDRP, app.userCPP, app.userCNT};
    const int threads = calculationThreads_ > 0 ? calculationThreads_
                                                : PhotoMeasurePool::DefaultThreadCount(data_.chosenPhotos.size());
    CKZARN_ProgressThreadDlg progress(this);
    CalcThreadParam param{&progress, &data_, &profile_, levels, threads, {}};
    WizardCalcThread thread([&param] { return CalcThreadProc(&param); });
    progress.SetThread(&thread);
    progress.DoModal();
    thread.Wait();
    const int result = progress.Result();

    int error = 0;
    if (result == WizardCalculation::kResultFailed) {
        error = WizardCalculation::kRunFailedError;
    } else {
        error = WizardCalculation::ReadResult(data_, &profile_, &curves_, &evaluationCurves_, &resultPoints_);
        if (app.calculationLog == 1)
            AppendTextToFile(CKZARN_Common::GetFolderPath(7) + "/" + kLogName,
                             WizardCalculation::FormatLog(std::time(nullptr), data_.chosenPhotos, curves_));
        if (error == 0)
            error = WizardCalculation::CheckReflectedBlock(data_, &profile_);
    }
    resultPending_ = 1;
    if (!param.refusals.empty()) {
        // The series check refused: the choice of photographs is to be mended, so the wizard goes
        // back to it (the run's table is discarded on the way), naming the first rule that refused
        // and the photographs it refused.
        std::vector<std::string> paths;
        for (const CKZARN_WizFileData* photo : data_.chosenPhotos)
            paths.push_back(photo->path);
        Ask(WizardRefusalText::Message(param.refusals.front(), paths), MB_OK | MB_ICONEXCLAMATION);
        refusedPaths_ = WizardRefusalText::Named(param.refusals.front(), paths);
        previousStep_ = step_;
        step_ = 3;
        ChangeStep();
        return;
    }
    if (error != 0) {
        Ask(3040, MB_OK | MB_ICONEXCLAMATION);
        previousStep_ = step_;
        step_ = 2;
        ChangeStep();
        return;
    }
    if (result == WizardCalculation::kResultLimited)
        Ask(3044, MB_OK | MB_ICONINFORMATION);
    if (auto* graph = dynamic_cast<WizardResultGraphPage*>(resultGraph_))
        graph->DrawResult(&profile_, &resultPoints_);
    if (auto* table = dynamic_cast<WizardResultTablePage*>(resultTable_)) {
        table->FillTable(&resultPoints_);
        table->SetEditable(mode_ == 0 ? 1 : 0);
    }
}

int CKZARN_WizardDlg::CalcThreadProc(CalcThreadParam* param)
{
    // The dialog registers its handle before it starts the thread, so the thread always sees it.
    const HWND dialog = param->dialog->Handle();
    int resultCode = WizardCalculation::kResultFailed;
    WizardCalculation calculation(param->data, param->profile, param->levels, param->threads);
    const int error = calculation.Run(
        [dialog](int done, int total) {
            QtMessageSink::Instance().PostMessage(dialog, WM_ZARN_PROGRESS, static_cast<WPARAM>(done),
                                                  static_cast<LPARAM>(total));
        },
        &resultCode);
    param->refusals = calculation.Refusals();
    QtMessageSink::Instance().PostMessage(dialog, WM_ZARN_COMMAND_DONE, 0, static_cast<LPARAM>(resultCode));
    return error;
}

void CKZARN_WizardDlg::DiscardRun()
{
    // The condition's earlier table (if any) comes back with the profile as it was before the run.
    if (!beforeRun_.RestoreInto(&profile_)) {
        ZarnLib_PatchKey key;
        key.SetIso(data_.isoSpeed);
        key.SetLightSource(data_.lightSource);
        profile_.RemoveTable(key);
    }
    resultPoints_ = CharacteristicPoints{};
    resultPoints_.hidden = 1;
    resultPending_ = 0;
}

BOOL CKZARN_WizardDlg::FinishAndSave(const std::string& path)
{
    profile_.SetVersion(3);
    profile_.SetSubVersion(0);
    for (int t = 0; t < profile_.TableCount(); ++t) {
        const ZarnLib_KestrinPatchElement* table = profile_.GetTableAt(t);
        if (table == nullptr)
            continue;
        const ZarnLib_PatchKey key = table->Key();
        profile_.SetIlOffset(key.GetIlCineOffset());
        profile_.SetRlOffset(key.GetRlCineOffset());
        profile_.SetChartKind(data_.target + 1);
    }
    const ZarnLibString file(path.c_str());
    if (SaveProfile(&file, &profile_) != 0) {
        // Nothing was saved: the result and the temporary file stay for another try.
        Ask(3062, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}

void CKZARN_WizardDlg::SaveResult()
{
    std::string path;
    if (!WizardAppLink::ChooseSavePath(this, resultFileName_, &path) || !FinishAndSave(path)) {
        previousStep_ = step_;
        step_ = 5;
        ChangeStep();
        return;
    }
    beforeRun_.Drop();
    resultRetained_ = 0;
    back_->setEnabled(false);
    cancel_->setEnabled(false);
    WizardAppLink::PostProfilesChanged();
    OnCancel();
}

void CKZARN_WizardDlg::OnNext()
{
    if (step_ == 6) {
        EndWizard(IDOK);
        return;
    }
    int target = step_ + 1;
    if (mode_ == 0 && step_ == 0)
        target = 2;
    if (target > 6)
        return;
    if (!currentImagePath_.empty()) {
        WizardPhotoPage* page = PhotoPage();
        ExifInputValues record;
        if (step_ == 3 && page != nullptr) {
            GetPhotoRecord(currentImagePath_, &record);
            record.brightnessAdjust = GetBrightnessAdjust();
            page->UpdateRecord(currentImagePath_, &record, 0);
        } else if (step_ == 4 && page != nullptr) {
            GetPhotoRecord(currentImagePath_, &record);
            page->UpdateRecord(currentImagePath_, &record, 1);
            POINT corners[4];
            record.GetCornerPoints(corners);
            if (!CheckChartCorners(corners)) {
                Ask(3043, MB_OK | MB_ICONEXCLAMATION);
                return;
            }
        }
    }
    // The calculation joins the photographs by their exposures: a broken series stays at the
    // photograph step, where the choice can be mended.
    if (step_ == 3 && !ChosenSeriesIsSound())
        return;
    GoToStep(target);
}

void CKZARN_WizardDlg::OnBack()
{
    if (step_ == 0)
        return;
    GoToStep(mode_ == 0 && step_ == 2 ? 0 : step_ - 1);
}

void CKZARN_WizardDlg::OnExtra()
{
    if (step_ == 3) {
        const std::string folder = ChooseFolder();
        if (folder.empty())
            return;
        WizardPhotoPage* page = PhotoPage();
        if (page != nullptr)
            page->ClearPhotos();
        ClearShownPhoto();
        if (page != nullptr)
            page->LoadFolder(folder);
        photoFolder_ = folder;
        WizardAppLink::Settings().ImgDir = folder;
        next_->setEnabled(false);
    } else if (step_ == 5 && mode_ == 1) {
        profile_.SetVersion(3);
        profile_.SetSubVersion(0);
        profile_.SetChartKind(data_.target + 1);
        const ZarnLibString file(temporaryPath_.c_str());
        if (SaveProfile(&file, &profile_) != 0) {
            // Not stored: the result stays pending on this step, to be stored or saved again.
            Ask(3062, MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        resultPending_ = 0;
        resultRetained_ = 1;
        beforeRun_.Drop();
        GoToStep(1);
    }
}

void CKZARN_WizardDlg::OnCancelButton()
{
    OnCancel();
}

void CKZARN_WizardDlg::OnCancel()
{
    if (resultRetained_ == 1 || step_ == 5) {
        const int answer = Ask(3041, MB_YESNOCANCEL | MB_ICONEXCLAMATION);
        if (answer == IDCANCEL)
            return;
        if (answer == IDYES) {
            std::string path;
            if (!WizardAppLink::ChooseSavePath(this, resultFileName_, &path))
                return;
            if (step_ != 5) {
                // The stored result is what gets saved: it must have been read back whole.
                ZarnLib_Profile stored;
                const ZarnLibString temporary(temporaryPath_.c_str());
                if (LoadProfile(&temporary, &stored) != 0) {
                    Ask(3064, MB_OK | MB_ICONEXCLAMATION);
                    return;
                }
                profile_.Swap(stored);
            }
            if (!FinishAndSave(path))
                return;
            resultRetained_ = 0;
            WizardAppLink::PostProfilesChanged();
        }
    }
    EndWizard(IDCANCEL);
}

void CKZARN_WizardDlg::EndWizard(int result)
{
    done(result);
    hide();
}

void CKZARN_WizardDlg::reject()
{
    // Esc and the close box end in the wizard's own cancel handling.
    OnCancel();
}

double CKZARN_WizardDlg::GetBrightnessAdjust()
{
    auto* page = dynamic_cast<WizardPhotoDataPage*>(photoData_);
    return page != nullptr ? page->GetBrightnessAdjust() : 0.0;
}

BOOL CKZARN_WizardDlg::GetPhotoRecord(const std::string& path, ExifInputValues* record)
{
    WizardPhotoPage* page = PhotoPage();
    return page != nullptr ? page->GetRecordByPath(path, record) : FALSE;
}

void CKZARN_WizardDlg::ApplyBrightnessAdjust(int level, BOOL redraw)
{
    WizardPhotoPage* page = PhotoPage();
    if (page == nullptr)
        return;
    ExifInputValues record;
    GetPhotoRecord(currentImagePath_, &record);
    record.brightnessLevel = level;
    page->UpdateRecord(currentImagePath_, &record, 0);
    if (redraw)
        page->ApplyBrightness(level, 1);
}

void CKZARN_WizardDlg::OnPhotoChecked(const std::string& path, const ExifInputValues& record, int checkedCount)
{
    if (!FileExists(path)) {
        GoToStep(2);
        return;
    }
    if (record.checked) {
        next_->setEnabled(checkedCount == data_.GetRequiredPhotoCount());
        if (path == currentImagePath_) {
            ExifInputValues stored;
            if (!GetPhotoRecord(path, &stored))
                stored.Assign(record);
            stored.brightnessAdjust = GetBrightnessAdjust();
            if (WizardPhotoPage* page = PhotoPage())
                page->UpdateRecord(path, &stored, 0);
            if (photoData_ != nullptr)
                photoData_->ShowPhoto(path, &stored);
        }
    } else {
        next_->setEnabled(false);
        if (path == currentImagePath_ && photoData_ != nullptr)
            photoData_->ShowPhoto(path, &record);
    }
}

void CKZARN_WizardDlg::OnPhotoSelected(const std::string& path, const ExifInputValues& record)
{
    if (!FileExists(path)) {
        GoToStep(2);
        return;
    }
    if (step_ != 3 && step_ != 4)
        return;
    currentImagePath_ = path;
    if (photoData_ != nullptr)
        photoData_->ShowPhoto(path, &record);
    if (step_ == 4) {
        bool othersMarked = true;
        WizardPhotoPage* page = PhotoPage();
        for (const CKZARN_WizFileData* photo : data_.chosenPhotos)
            if (photo->path != path && (page == nullptr || !page->IsMarked(photo->path)))
                othersMarked = false;
        next_->setEnabled(othersMarked);
    }
}

void CKZARN_WizardDlg::SetResultValue(int kind, double value, int source)
{
    if (!isVisible())
        return;
    ZarnLib_PatchKey key;
    key.SetIso(data_.isoSpeed);
    key.SetLightSource(data_.lightSource);
    WizardResultEditor editor(&profile_, key, &resultPoints_, &curves_, &evaluationCurves_, data_.expandedRange);
    const int result = editor.Apply(kind, value, source);
    if (result != 0)
        QApplication::beep();
    auto* graph = dynamic_cast<WizardResultGraphPage*>(resultGraph_);
    auto* table = dynamic_cast<WizardResultTablePage*>(resultTable_);
    if (result == 0 && editor.Rebased()) {
        if (graph != nullptr)
            graph->DrawResult(&profile_, &resultPoints_);
        if (table != nullptr)
            table->FillTable(&resultPoints_);
        return;
    }
    if (graph != nullptr) {
        graph->SetPoints(&resultPoints_);
        graph->RepaintGraph();
    }
    const int point = kind >= 5 ? kind - 5 : kind;
    if (table != nullptr && point >= 0 && point < 5) {
        table->ShowValue(point, resultPoints_.ev[point]);
        table->ShowValue(point + 5, resultPoints_.level[point]);
    }
}

int CKZARN_WizardDlg::RecalculateResult(int level)
{
    ZarnLib_PatchKey key;
    key.SetIso(data_.isoSpeed);
    key.SetLightSource(data_.lightSource);
    WizardResultEditor editor(&profile_, key, &resultPoints_, &curves_, &evaluationCurves_, data_.expandedRange);
    return editor.Recalculate(level, resultPoints_);
}

int CKZARN_WizardDlg::HasStoredResult(int iso, int lightSource)
{
    int flag = 0;
    LoadStoredResult(&iso, lightSource, &flag, 1);
    return flag;
}

void CKZARN_WizardDlg::LoadStoredResult(const int* isoList, int lightSource, int* flags, int count)
{
    for (int i = 0; i < count; ++i)
        flags[i] = 0;
    ZarnLib_Profile stored;
    const ZarnLibString file(temporaryPath_.c_str());
    if (temporaryPath_.empty() || LoadProfile(&file, &stored) != 0)
        return;
    for (int i = 0; i < count; ++i) {
        ZarnLib_PatchKey key;
        key.SetChartKind(stored.GetChartKind());
        key.SetIso(isoList[i]);
        key.SetLightSource(lightSource);
        // The table itself counts: one whose points are not set yet is still a stored result.
        flags[i] = stored.FindTable(key) != nullptr ? 1 : 0;
    }
}

int CKZARN_WizardDlg::GetCineSetting(int n)
{
    return n >= 1 && n <= 4 ? g_cineSettings[n - 1] : n;
}

void CKZARN_WizardDlg::SetCineSetting(int n, int value)
{
    if (n >= 1 && n <= 4)
        g_cineSettings[n - 1] = value;
}

double CKZARN_WizardDlg::FrameRateFromCode(int code)
{
    return WizardCineCodes::FrameRateFromCode(code);
}

double CKZARN_WizardDlg::ShutterAngleFromCode(int code)
{
    return WizardCineCodes::ShutterAngleFromCode(code);
}

void CKZARN_WizardDlg::OnDestroy()
{
    if (destroyed_ || !initialised_)
        return;
    destroyed_ = true;
    for (CKZARN_WizAreaBaseForm** page : {&stepList_, &photoData_, &resultTable_, &exposureRange_, &summary_,
                                          &resultGraph_, &light_, &readings_, &photos_, &chart_, &cineReadings_}) {
        delete *page;
        *page = nullptr;
    }
    currentArea4_ = currentArea7_ = nullptr;
    data_.ClearPhotos();
    if (!temporaryPath_.empty())
        DeleteFileList({temporaryPath_}, FALSE, FALSE);
}
