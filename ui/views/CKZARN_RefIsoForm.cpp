#include "ui/views/CKZARN_RefIsoForm.h"

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
#include "ui/views/ZarnViewIcons.h"

#include "ui/views/ZarnViewLayout.h"
#include "ui/views/ZarnViewLineSamples.h"
#include <QComboBox>
#include <QLabel>

#include <cstdio>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_RefIsoForm::kTemplateId, 0, 0, 0, 292, 339},
    {1000, 100, 10, 15, 260, 13},
    {1031, 0, 10, 30, 260, 180},
    {1052, 114, 10, 70, 260, 13},
    {1135, 4003, 10, 88, 20, 13},
    {1163, 0, 30, 93, 60, 2},
    {1212, 0, 170, 85, 100, 180},
    {1136, 4004, 10, 133, 20, 13},
    {1164, 0, 30, 138, 60, 2},
    {1213, 0, 170, 130, 100, 180},
    {1137, 4005, 10, 178, 20, 13},
    {1165, 0, 30, 183, 60, 2},
    {1214, 0, 170, 175, 100, 180},
    {1138, 4006, 10, 223, 20, 13},
    {1166, 0, 30, 228, 60, 2},
    {1215, 0, 170, 220, 100, 180},
    {1139, 4007, 10, 268, 20, 13},
    {1167, 0, 30, 273, 60, 2},
    {1216, 0, 170, 265, 100, 180},
    {1161, 0, 30, 306, 60, 2},
    {1159, 127, 100, 300, 170, 13},
    {1162, 0, 30, 326, 60, 2},
    {1160, 128, 100, 320, 170, 13},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kPlaceholderTextId = 132;
constexpr int kNoIso = -1;

} // namespace

CKZARN_RefIsoForm::CKZARN_RefIsoForm(CKZARN_RefMultiDlg* newOwner, QWidget* parent)
    : CKZARN_RefBaseForm(kTemplateId, parent), owner(newOwner)
{
}

CKZARN_RefIsoForm::~CKZARN_RefIsoForm() = default;

BOOL CKZARN_RefIsoForm::OnInitDialog()
{
    CKZARN_RefBaseForm::OnInitDialog();
    InitControls();
    return TRUE;
}

QComboBox* CKZARN_RefIsoForm::IsoCombo(int slot) const
{
    return slot >= 1 && slot <= 5 ? static_cast<QComboBox*>(FindControl(1211 + slot)) : nullptr;
}

CStaticHLine* CKZARN_RefIsoForm::Sample(int slot) const
{
    return slot >= 1 && slot <= 7 ? samples[slot - 1] : nullptr;
}

void CKZARN_RefIsoForm::InitControls()
{
    for (const int id : {1000, 1052, 1135, 1136, 1137, 1138, 1139, 1159, 1160}) {
        AddControl(id, new QLabel(this));
    }
    constexpr int kMemberOrder[5] = {1216, 1215, 1214, 1213, 1212};
    for (int i = 0; i < 5; ++i) {
        isoCombos[i] = new QComboBox(this);
        AddControl(kMemberOrder[i], isoCombos[i]);
    }
    profileCombo = new QComboBox(this);
    AddControl(kProfileComboId, profileCombo);
    ZarnViewLineSamples::Create(this, samples);
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    ZarnViewLayout::FitComboHeights(this);

    ZarnViewProfileCombo::Fill(profileCombo, 1);
    connect(profileCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnProfileChange(); });
    for (int slot = 1; slot <= 5; ++slot) {
        QComboBox* combo = IsoCombo(slot);
        combo->clear();
        CKZARN_Common::FillIsoComboEx(combo, nullptr, {});
        combo->insertItem(0, CKZARN_Common::ToWidgetText(GetLangString(kPlaceholderTextId)), kNoIso);
        CKZARN_Common::SelectComboItemByData(combo, kNoIso);
        connect(combo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnIsoChange(); });
    }
}

void CKZARN_RefIsoForm::GetProfileName(std::string* name) const
{
    if (name == nullptr) {
        return;
    }
    *name = profileCombo->currentText().toStdString();
    if (CKZARN_Common::IsPlaceholderText(*name)) {
        name->clear();
    }
}

void CKZARN_RefIsoForm::SetIsoMark(int iso, int flag)
{
    const int index = CKZARN_Common::FindComboIndexByData(IsoCombo(1), iso);
    if (index < 0) {
        return;
    }
    for (int slot = 1; slot <= 5; ++slot) {
        IsoCombo(slot)->setItemIcon(index, flag ? ZarnViewIcons::TableMark() : QIcon());
    }
}

void CKZARN_RefIsoForm::ClearIsoMarks()
{
    for (int slot = 1; slot <= 5; ++slot) {
        QComboBox* combo = IsoCombo(slot);
        for (int i = 0; i < combo->count(); ++i) {
            combo->setItemIcon(i, QIcon());
        }
        combo->update();
    }
}

bool CKZARN_RefIsoForm::IsoMarked(int iso) const
{
    const int index = CKZARN_Common::FindComboIndexByData(IsoCombo(1), iso);
    return index >= 0 && !IsoCombo(1)->itemIcon(index).isNull();
}

void CKZARN_RefIsoForm::BuildCurves(std::vector<CET_GraphLine*>* curves, int light, int photo)
{
    std::string name;
    GetProfileName(&name);
    if (curves == nullptr || name.empty()) {
        return;
    }
    const std::string path = CKZARN_Common::GetProfilePath(name);
    if (path.empty()) {
        return;
    }
    const bool isDefault = CKZARN_Common::IsDefaultProfileName(name) != 0;
    CFileLockManager* locks = CFileLockManager::GetInstance();
    locks->UnlockAll();
    ZarnLib_Profile profile;
    const ZarnLibString kpf(path.c_str());
    const bool loaded = LoadProfile(&kpf, &profile) == 0;
    if (!loaded) {
        // A file that failed half-way marks nothing.
        profile.ClearTables();
    } else {
        locks->RegisterWithId(kLockId, path);
        locks->LockAll();
        ZarnLib_PatchKey key;
        key.SetLightSource(light);
        for (int slot = 1; slot <= 5; ++slot) {
            QComboBox* combo = IsoCombo(slot);
            if (combo->currentIndex() < 0) {
                const int found = combo->findText(combo->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
                if (found >= 0) {
                    combo->setCurrentIndex(found);
                }
            }
            const int iso = combo->currentIndex() >= 0 ? CKZARN_Common::GetComboItemData(combo, combo->currentIndex())
                                                       : kNoIso;
            if (iso == kNoIso) {
                continue;
            }
            key.SetIso(iso);
            key.SetChartKind(profile.GetChartKind());
            ZarnLib_Buffer<ZarnLib_CnvPolyLine> buffer;
            bool interpolated = false;
            if (!ZarnViewCurves::ReadCurve(profile, key, photo, &buffer, &interpolated)) {
                continue;
            }
            char caption[96];
            std::snprintf(caption, sizeof caption, "%s %d", GetLangString(114).c_str(), iso);
            CET_GraphLine* line = ZarnViewCurves::NewLine(buffer, caption, slot - 1, isDefault || interpolated);
            curves->push_back(line);
            CStaticHLine* sample = Sample(slot);
            sample->lineStyle = line->dashed ? 1 : 0;
            sample->repaint();
        }
    }
    if (isoMarkPass == 1) {
        if (isDefault || !loaded) {
            ClearIsoMarks();
        } else {
            ZarnLib_PatchKey markKey;
            markKey.SetLightSource(light);
            QComboBox* first = IsoCombo(1);
            for (int i = 0; i < first->count(); ++i) {
                const int iso = CKZARN_Common::GetComboItemData(first, i);
                markKey.SetIso(iso);
                _ZARNLIB_VECTOR2 five[5];
                double extra = 0.0;
                SetIsoMark(iso, profile.GetTablePoints(markKey, photo, five, &extra) == 0 ? 1 : 0);
            }
            for (int slot = 1; slot <= 5; ++slot) {
                IsoCombo(slot)->update();
            }
        }
    }
    isoMarkPass = 1;
}

void CKZARN_RefIsoForm::OnProfileChange()
{
    CFileLockManager::GetInstance()->UnregisterId(kLockId);
    const std::string name = profileCombo->currentText().toStdString();
    if (!CKZARN_Common::IsPlaceholderText(name) && !CKZARN_Common::CanLoadProfile(name)) {
        ZarnViewProfileCombo::RejectChoice(profileCombo);
    }
    if (owner != nullptr) {
        owner->RedrawGraph();
    }
}

void CKZARN_RefIsoForm::OnIsoChange()
{
    isoMarkPass = 0;
    if (owner != nullptr) {
        owner->RedrawGraph();
    }
    isoMarkPass = 1;
}
