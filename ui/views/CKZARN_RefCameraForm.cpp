#include "ui/views/CKZARN_RefCameraForm.h"

#include "core/CFileLockManager.h"
#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "ui/controls/CStaticHLine.h"
#include "ui/views/CKZARN_RefMultiDlg.h"
#include "ui/views/ZarnViewCurves.h"
#include "ui/views/ZarnViewProfileCombo.h"

#include "ui/views/ZarnViewLayout.h"
#include "ui/views/ZarnViewLineSamples.h"
#include <QComboBox>
#include <QLabel>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_RefCameraForm::kTemplateId, 0, 0, 0, 292, 339},
    {1052, 114, 10, 15, 155, 13},
    {1122, 0, 175, 12, 95, 180},
    {1000, 100, 10, 45, 260, 13},
    {1123, 4003, 10, 70, 20, 13},
    {1163, 0, 30, 75, 60, 2},
    {1031, 0, 10, 85, 260, 180},
    {1126, 4004, 10, 115, 20, 13},
    {1164, 0, 30, 120, 60, 2},
    {1032, 0, 10, 130, 260, 180},
    {1129, 4005, 10, 160, 20, 13},
    {1165, 0, 30, 165, 60, 2},
    {1034, 0, 10, 175, 260, 180},
    {1131, 4006, 10, 205, 20, 13},
    {1166, 0, 30, 210, 60, 2},
    {1035, 0, 10, 220, 260, 180},
    {1132, 4007, 10, 250, 20, 13},
    {1167, 0, 30, 255, 60, 2},
    {1036, 0, 10, 265, 260, 180},
    {1161, 0, 30, 306, 60, 2},
    {1159, 127, 100, 300, 170, 13},
    {1162, 0, 30, 326, 60, 2},
    {1160, 128, 100, 320, 170, 13},
    {0, 0, 0, 0, 0, 0},
};

// Slots 1 to 5: profile combo and line sample.
constexpr int kSlotCombos[5] = {1031, 1032, 1034, 1035, 1036};
constexpr int kSlotSamples[5] = {1163, 1164, 1165, 1166, 1167};

} // namespace

CKZARN_RefCameraForm::CKZARN_RefCameraForm(CKZARN_RefMultiDlg* newOwner, QWidget* parent)
    : CKZARN_RefBaseForm(kTemplateId, parent), owner(newOwner)
{
}

CKZARN_RefCameraForm::~CKZARN_RefCameraForm() = default;

BOOL CKZARN_RefCameraForm::OnInitDialog()
{
    CKZARN_RefBaseForm::OnInitDialog();
    InitControls();
    return TRUE;
}

QComboBox* CKZARN_RefCameraForm::ProfileCombo(int slot) const
{
    return slot >= 1 && slot <= 5 ? static_cast<QComboBox*>(FindControl(kSlotCombos[slot - 1])) : nullptr;
}

CStaticHLine* CKZARN_RefCameraForm::Sample(int slot) const
{
    return slot >= 1 && slot <= 7 ? samples[slot - 1] : nullptr;
}

void CKZARN_RefCameraForm::InitControls()
{
    for (const int id : {1052, 1000, 1123, 1126, 1129, 1131, 1132, 1159, 1160}) {
        AddControl(id, new QLabel(this));
    }
    constexpr int kMemberOrder[5] = {1036, 1035, 1034, 1032, 1031};
    for (int i = 0; i < 5; ++i) {
        profileCombos[i] = new QComboBox(this);
        AddControl(kMemberOrder[i], profileCombos[i]);
    }
    isoCombo = new QComboBox(this);
    AddControl(kIsoComboId, isoCombo);
    ZarnViewLineSamples::Create(this, samples);
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    ZarnViewLayout::FitComboHeights(this);

    CKZARN_Common::FillIsoCombo(isoCombo);
    CKZARN_Common::SelectComboItemByData(isoCombo, 100);
    for (int slot = 1; slot <= 5; ++slot) {
        QComboBox* combo = ProfileCombo(slot);
        ZarnViewProfileCombo::Fill(combo, 1);
        connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this, slot, combo](int) {
            CFileLockManager::GetInstance()->UnregisterId(slot);
            OnProfileChange(combo);
        });
    }
    connect(isoCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnIsoChange(); });
}

int CKZARN_RefCameraForm::GetIso() const
{
    return CKZARN_Common::GetComboItemData(isoCombo, isoCombo->currentIndex());
}

void CKZARN_RefCameraForm::BuildCurves(std::vector<CET_GraphLine*>* curves, int light, int photo)
{
    if (curves == nullptr || isoCombo->currentIndex() < 0) {
        return;
    }
    ZarnLib_PatchKey key;
    key.SetIso(GetIso());
    key.SetLightSource(light);
    CFileLockManager* locks = CFileLockManager::GetInstance();
    locks->UnlockAll();
    for (int slot = 1; slot <= 5; ++slot) {
        QComboBox* combo = ProfileCombo(slot);
        std::string name = combo->currentText().toStdString();
        if (CKZARN_Common::IsPlaceholderText(name)) {
            name.clear();
        }
        if (name.empty()) {
            continue;
        }
        const std::string path = CKZARN_Common::GetProfilePath(name);
        if (path.empty()) {
            continue;
        }
        const bool isDefault = CKZARN_Common::IsDefaultProfileName(name) != 0;
        ZarnLib_Profile profile;
        const ZarnLibString kpf(path.c_str());
        if (LoadProfile(&kpf, &profile) != 0) {
            continue;
        }
        key.SetChartKind(profile.GetChartKind());
        ZarnLib_Buffer<ZarnLib_CnvPolyLine> buffer;
        bool interpolated = false;
        if (!ZarnViewCurves::ReadCurve(profile, key, photo, &buffer, &interpolated)) {
            continue;
        }
        locks->RegisterWithId(slot, path);
        CET_GraphLine* line = ZarnViewCurves::NewLine(buffer, name, slot - 1, isDefault || interpolated);
        curves->push_back(line);
        CStaticHLine* sample = Sample(slot);
        sample->lineStyle = line->dashed ? 1 : 0;
        sample->repaint();
    }
    locks->LockAll();
}

void CKZARN_RefCameraForm::OnIsoChange()
{
    if (owner != nullptr) {
        owner->RedrawGraph();
    }
}

void CKZARN_RefCameraForm::OnProfileChange(QComboBox* combo)
{
    const std::string name = combo->currentText().toStdString();
    if (!CKZARN_Common::IsPlaceholderText(name) && !CKZARN_Common::CanLoadProfile(name)) {
        ZarnViewProfileCombo::RejectChoice(combo);
    }
    if (owner != nullptr) {
        owner->RedrawGraph();
    }
}
