#include "ui/wizard/CKZARN_WizArea7PreviewForm.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/ShellPathUtility.h"
#include "core/util/CLangTable.h"
#include "core/util/PathUtility.h"
#include "platform/PromptService.h"
#include "platform/qt/QtMessageSink.h"
#include "profilelib/ZarnExif_File.h"
#include "profilelib/ZarnLib_ChartCorners.h"
#include "profilelib/ZarnLib_Image.h"
#include "ui/wizard/CKZARN_ExifInputDlg.h"
#include "ui/wizard/CKZARN_ImageWnd.h"
#include "ui/wizard/CKZARN_ThumbnailWnd.h"
#include "ui/wizard/CKZARN_WizardDlg.h"
#include "ui/wizard/ExifInputValues.h"
#include "ui/wizard/WizardData.h"

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_WizArea7PreviewForm::kTemplateId, 0, 0, 0, 721, 433},
    {CKZARN_WizArea7PreviewForm::kViewId, 0, 1, 1, 719, 280},
    {CKZARN_WizArea7PreviewForm::kStripId, 0, 1, 286, 719, 144},
    {0, 0, 0, 0, 0, 0},
};

// Text shown when a photograph cannot be opened in the view at the corner step.
constexpr int kPhotoNotOpenedText = 3080;

} // namespace

CKZARN_WizArea7PreviewForm::CKZARN_WizArea7PreviewForm(QWidget* parent)
    : CKZARN_WizAreaBaseForm(kTemplateId, parent), strip_(new CKZARN_ThumbnailWnd(this)), view_(new CKZARN_ImageWnd(this))
{
    AddControl(kViewId, view_);
    AddControl(kStripId, strip_);
    handle_ = QtMessageSink::Instance().Register(this, this);
}

CKZARN_WizArea7PreviewForm::~CKZARN_WizArea7PreviewForm()
{
    // The view draws the display image: it forgets it before the image goes.
    view_->Reset();
    display_.reset();
    source_.reset();
    delete view_;
    delete strip_;
    QtMessageSink::Instance().Unregister(handle_);
}

BOOL CKZARN_WizArea7PreviewForm::OnInitDialog()
{
    strip_->Create(0, RECT{20, 20, 720, 170}, this, kStripId);
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    view_->SetOwner(this);
    view_->OnImageReset();
    view_->Reset();
    view_->SetMode(0);
    view_->show();
    strip_->ResetLayout(0);
    strip_->show();
    return TRUE;
}

int CKZARN_WizArea7PreviewForm::Step() const
{
    return owner != nullptr ? owner->GetStep() : -1;
}

void CKZARN_WizArea7PreviewForm::Refresh()
{
    if (Step() == 3)
        view_->SetMode(0);
    else if (Step() == 4)
        view_->SetMode(CKZARN_ImageWnd::kCornerMode);
}

void CKZARN_WizArea7PreviewForm::ClearPhotos()
{
    strip_->ResetLayout(0);
    strip_->SetCornerMode(1);
    strip_->SetFiles({});
    view_->Reset();
}

void CKZARN_WizArea7PreviewForm::LoadFolder(const std::string& folder)
{
    strip_->SetCornerMode(0);
    strip_->LoadFolder(folder);
}

void CKZARN_WizArea7PreviewForm::SetPhotoList(const std::vector<std::string>& paths)
{
    strip_->SetCornerMode(1);
    strip_->SetFiles(paths);
}

void CKZARN_WizArea7PreviewForm::GetCheckedPaths(std::vector<std::string>* paths, int /*checkedOnly*/)
{
    strip_->GetCheckedPaths(paths);
}

void CKZARN_WizArea7PreviewForm::GetAllPaths(std::vector<std::string>* paths, int /*checkedOnly*/)
{
    strip_->GetAllPaths(paths);
}

BOOL CKZARN_WizArea7PreviewForm::GetRecordByPath(const std::string& path, ExifInputValues* record)
{
    return strip_->GetRecordByPath(path, record) ? TRUE : FALSE;
}

BOOL CKZARN_WizArea7PreviewForm::UpdateRecord(const std::string& path, ExifInputValues* record, int takeCorners)
{
    if (record == nullptr)
        return FALSE;
    if (takeCorners != 0 && view_->HasImageRect())
        view_->GetCornerPoints(record->corners, &record->scale);
    strip_->UpdateRecord(path, *record);
    return TRUE;
}

BOOL CKZARN_WizArea7PreviewForm::IsMarked(const std::string& path)
{
    return strip_->IsMarked(path) != 0 ? TRUE : FALSE;
}

void CKZARN_WizArea7PreviewForm::MarkRefused(const std::vector<std::string>& paths)
{
    int first = -1;
    for (const std::string& path : paths) {
        int index = -1;
        ExifInputValues* record = strip_->FindRecordByPath(path, &index);
        if (record == nullptr)
            continue;
        record->Lock();
        const bool checked = record->checked != 0;
        record->Unlock();
        // Unchecked as the user unchecks it, so the page forgets what it would ask again.
        if (checked)
            strip_->ToggleCheck(index);
        if (first < 0)
            first = index;
    }
    // Scrolled into view and selected, so the photograph is shown as well.
    if (first >= 0)
        strip_->EnsureVisible(first);
    strip_->update();
}

void CKZARN_WizArea7PreviewForm::ApplyBrightness(int level, int redraw)
{
    if (view_->HasImageRect())
        view_->SetDisplayImage(nullptr);
    display_.reset();
    if (!source_)
        return;
    display_ = std::make_unique<ZarnLib_Image>(*source_);
    if (level != 0)
        display_->AdjustBrightness(level);
    if (redraw != 0)
        view_->SetDisplayImage(display_.get());
}

int CKZARN_WizArea7PreviewForm::ChartKind() const
{
    if (settings == nullptr)
        return 1;
    switch (settings->target) {
    case 0: return 1;
    case 1: return 2;
    case 5: return 6;
    case 2: return settings->colorCheckerVariant == 0 ? 4 : settings->colorCheckerVariant == 1 ? 3 : 5;
    default: return 1;
    }
}

bool CKZARN_WizArea7PreviewForm::ShowImage(const std::string& path, const ExifInputValues& record)
{
    view_->SetPhoto(nullptr, 0, 0, 0, nullptr, nullptr, nullptr);
    display_.reset();
    source_ = std::make_unique<ZarnLib_Image>();
    source_->Reset();
    const RECT& viewRect = view_->GetViewRect();
    RECT fit{};
    double scale = 0.0;
    if (source_->Load(ZarnExif_File::NativeToWide(path), 0x1, viewRect.right - viewRect.left,
                      viewRect.bottom - viewRect.top, &fit, &scale) != 0) {
        source_.reset();
        view_->Reset();
        return false;
    }
    display_ = std::make_unique<ZarnLib_Image>(*source_);
    if (record.brightnessLevel != 0)
        display_->AdjustBrightness(record.brightnessLevel);
    view_->SetPhoto(display_.get(), record.reserved2, record.reserved3, ChartKind(),
                    record.HasCornerPoints() ? record.corners : nullptr, &fit, &scale);
    return true;
}

int CKZARN_WizArea7PreviewForm::Warn(int textId)
{
    PromptService* prompt = PromptService::Installed();
    if (prompt == nullptr)
        return IDOK;
    return prompt->MessageBox(QtMessageSink::Instance().FindHandle(window()), GetLangString(textId),
                              GetLangString(1000), MB_OK | MB_ICONEXCLAMATION);
}

void CKZARN_WizArea7PreviewForm::StoreCurrentBrightness()
{
    const std::string current = owner != nullptr ? owner->GetCurrentImagePath() : std::string();
    if (current.empty() || Step() != 3)
        return;
    ExifInputValues copy;
    if (!strip_->GetRecordByPath(current, &copy))
        return;
    copy.brightnessAdjust = owner->GetBrightnessAdjust();
    UpdateRecord(current, &copy, 0);
}

LRESULT CKZARN_WizArea7PreviewForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ZARN_THUMB_SELECT: return OnThumbSelect(reinterpret_cast<ExifInputValues*>(wParam), lParam);
    case WM_ZARN_THUMB_CHECK: return OnThumbCheck(reinterpret_cast<ExifInputValues*>(wParam), lParam);
    case WM_ZARN_IMAGE_LBUTTONDOWN: return OnImageLButtonDown(wParam, lParam);
    default: return 0;
    }
}

LRESULT CKZARN_WizArea7PreviewForm::OnThumbSelect(ExifInputValues* record, LPARAM /*modifiers*/)
{
    if (record == nullptr)
        return 0;
    const std::string current = owner != nullptr ? owner->GetCurrentImagePath() : std::string();
    if (!current.empty()) {
        ExifInputValues copy;
        if (strip_->GetRecordByPath(current, &copy)) {
            if (Step() == 3) {
                copy.brightnessAdjust = owner->GetBrightnessAdjust();
                UpdateRecord(current, &copy, 0);
            } else if (Step() == 4) {
                UpdateRecord(current, &copy, 1);
                POINT corners[4];
                copy.GetCornerPoints(corners);
                if (CheckChartCorners(corners) == 0) {
                    Warn(3043);
                    return 0;
                }
            }
        }
    }
    ExifInputValues selected;
    if (strip_->GetSelectedRecord(&selected) != 0) {
        const bool shown = ShowImage(selected.path, selected);
        if (owner != nullptr)
            owner->OnPhotoSelected(selected.path, selected);
        if (Step() == 4 && !selected.HasCornerPoints()) {
            if (shown) {
                UpdateRecord(selected.path, &selected, 1);
                strip_->SetMarked(selected.path);
            } else {
                // Nothing was shown, so no corners were confirmed: the photograph stays unmarked.
                Warn(kPhotoNotOpenedText);
            }
        }
    } else {
        view_->Reset();
        if (owner != nullptr)
            owner->OnPhotoSelected(std::string(), ExifInputValues());
    }
    return 1;
}

LRESULT CKZARN_WizArea7PreviewForm::OnThumbCheck(ExifInputValues* record, LPARAM previous)
{
    if (record == nullptr)
        return 0;
    StoreCurrentBrightness();
    record->Lock();
    ExifInputValues copy(*record);
    record->Unlock();

    if (previous != 0 || copy.checked == 0) {
        // Values that did not come from Exif are asked again at the next check.
        record->Lock();
        if (record->isoFromExif == 0)
            record->iso = -1;
        if (record->shutterFromExif == 0)
            record->shutterIndex = -1;
        if (record->apertureFromExif == 0)
            record->apertureIndex = -1;
        if (record->frameRateFromExif == 0) {
            record->frameRateCode = -1;
            record->typedFrameRate = 0.0;
        }
        if (record->shutterAngleFromExif == 0) {
            record->shutterAngleCode = -1;
            record->typedShutterAngle = ExifInputValues::kNoTypedShutterAngle;
        }
        record->Unlock();
        ExifInputValues selected;
        if (owner != nullptr && strip_->GetSelectedRecord(&selected) != 0)
            owner->OnPhotoSelected(selected.path, selected);
        if (owner != nullptr)
            if (QWidget* next = owner->FindControl(CKZARN_WizardDlg::kNextId))
                next->setEnabled(false);
        return 1;
    }
    if (copy.loadResult != 0)
        return 0;
    if (!FileExists(copy.path))
        return 0;
    std::vector<std::string> checked;
    const int count = strip_->GetCheckedPaths(&checked);
    const int required = settings != nullptr ? settings->GetRequiredPhotoCount() : 0;
    if (count > required) {
        Warn(3036);
        return 0;
    }
    const int isoSpeed = settings != nullptr ? settings->isoSpeed : 0;
    if (copy.isoFromExif != 0 && copy.iso != isoSpeed) {
        Warn(3037);
        return 0;
    }
    const int cine = settings != nullptr ? settings->cineMode : 0;
    if (CKZARN_ExifInputDlg::IsInputNeeded(copy, cine)) {
        if (copy.isoFromExif == 0)
            copy.iso = isoSpeed;
        CKZARN_ExifInputDlg dialog(window());
        dialog.SetFileName(GetFileNameFromPath(copy.path));
        dialog.SetValues(copy);
        dialog.cineMode = cine;
        if (dialog.DoModal() != IDOK)
            return 0;
        copy.AssignExposure(*dialog.GetValues());
        record->Lock();
        record->AssignExposure(copy);
        record->Unlock();
    }
    if (owner != nullptr)
        owner->OnPhotoChecked(copy.path, copy, count);
    return 1;
}
