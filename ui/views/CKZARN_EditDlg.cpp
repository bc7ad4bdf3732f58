#include "ui/views/CKZARN_EditDlg.h"

#include "core/CFileLockManager.h"
#include "core/CKZARN_Common.h"
#include "core/CKestrinZarnApp.h"
#include "core/ZarnMainWindow.h"
#include "core/ZarnProfileMessages.h"
#include "core/util/DecimalText.h"
#include "core/util/CLangTable.h"
#include "platform/PromptService.h"
#include "platform/qt/WindowMessageEvent.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/controls/CHAlignLabel.h"
#include "ui/controls/CStaticDeltaSymbol.h"
#include "ui/controls/QtPromptService.h"
#include "ui/views/CKZARN_GparhWindow.h"
#include "ui/views/CKZARN_ProfileFileSaver.h"
#include "ui/views/ZarnViewCurves.h"
#include "ui/views/CKZARN_SaveNameChooser.h"
#include "ui/views/ZarnViewIcons.h"

#include "ui/views/ZarnViewLayout.h"
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <array>
#include <cstdio>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_EditDlg::kTemplateId, 5000, 0, 0, 1050, 650},
    {1156, 0, 10, 5, 260, 190},
    {1143, 100, 15, 25, 250, 13},
    {1031, 0, 15, 50, 250, 180},
    {1072, 105, 15, 93, 140, 13},
    {1118, 0, 160, 90, 105, 180},
    {1115, 108, 15, 128, 140, 13},
    {1119, 0, 160, 125, 105, 180},
    {1052, 114, 15, 163, 140, 13},
    {1154, 0, 160, 160, 105, 180},
    {1155, 0, 10, 200, 260, 255},
    {1205, 148, 100, 220, 100, 13},
    {1204, 149, 205, 220, 60, 13},
    {1061, 118, 15, 240, 125, 26},
    {1206, 0, 145, 244, 10, 16},
    {1066, 0, 160, 240, 40, 24},
    {1023, 0, 215, 240, 40, 24},
    {1062, 119, 15, 285, 125, 26},
    {1207, 0, 145, 289, 10, 16},
    {1067, 0, 160, 285, 40, 24},
    {1024, 0, 215, 285, 40, 24},
    {1063, 120, 15, 330, 130, 26},
    {1068, 0, 160, 330, 40, 24},
    {1064, 121, 15, 375, 125, 26},
    {1209, 0, 145, 379, 10, 16},
    {1069, 0, 160, 375, 40, 24},
    {1027, 0, 215, 375, 40, 24},
    {1065, 122, 15, 420, 125, 26},
    {1210, 0, 145, 424, 10, 16},
    {1070, 0, 160, 420, 40, 24},
    {1032, 0, 215, 420, 40, 24},
    {1095, 0, 280, 10, 745, 475},
    {1203, 0, 280, 490, 745, 120},
    {1202, 5006, 288, 504, 729, 98},
    {1046, 4002, 10, 575, 88, 23},
    {0, 0, 0, 0, 0, 0},
};

constexpr ComboTextItem kLightItems[] = {{106, 0}, {107, 1}, {0, 0}};
constexpr ComboTextItem kMeteringItems[] = {{111, 0}, {112, 1}, {0, 0}};

constexpr int kPlaceholderTextId = 132;
constexpr int kReadOnlyTextId = 20003;
constexpr int kSaveFailedTextId = 20004;
constexpr int kAskSaveTextId = 5001;

// The point of each field, and each point's (level field, EV field); CNT has no EV field.
struct PointFields {
    int level;
    int ev;
};
constexpr PointFields kPointFields[5] = {
    {CKZARN_EditValueRules::kLevelCpm, CKZARN_EditValueRules::kEvCpm},
    {CKZARN_EditValueRules::kLevelDrm, CKZARN_EditValueRules::kEvDrm},
    {CKZARN_EditValueRules::kLevelCnt, 0},
    {CKZARN_EditValueRules::kLevelDrp, CKZARN_EditValueRules::kEvDrp},
    {CKZARN_EditValueRules::kLevelCpp, CKZARN_EditValueRules::kEvCpp},
};
constexpr std::array<int, 9> kFieldIds = {1024, 1067, 1027, 1069, 1068, 1023, 1066, 1032, 1070};

QString Text(int id)
{
    return CKZARN_Common::ToWidgetText(GetLangString(id));
}

std::string LevelText(int level)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", level);
    return text;
}

char DecimalChar()
{
    const CKestrinZarnApp* app = CKestrinZarnApp::GetApp();
    return app != nullptr ? app->GetDecimalChar() : CCustomEdit::ApplicationDecimalChar();
}

} // namespace

CKZARN_EditDlg::CKZARN_EditDlg(QWidget* parent) : CKZARN_ModalBaseDlg(kTemplateId, parent)
{
    askSaveName = [this](const std::string& preset, std::string* chosen) {
        return CKZARN_SaveNameChooser::Ask(this, preset, chosen);
    };
}

CKZARN_EditDlg::~CKZARN_EditDlg()
{
    // The fields go after this object: they must not report their focus to it any more.
    for (const int id : kFieldIds) {
        if (CCustomEdit* field = Field(id)) {
            field->removeEventFilter(this);
        }
    }
    // The dialog's end: every shown file is closed and forgotten.
    if (initialised) {
        CFileLockManager::GetInstance()->RemoveAll();
    }
}

int CKZARN_EditDlg::exec()
{
    OnInitDialog();
    return QDialog::exec();
}

void CKZARN_EditDlg::BuildControls()
{
    auto addLabel = [this](int id) {
        auto* label = new QLabel(this);
        AddControl(id, label);
        return label;
    };
    AddControl(1156, new QGroupBox(this));
    AddControl(1155, new QGroupBox(this));
    AddControl(1203, new QGroupBox(this));
    addLabel(1143);
    addLabel(1072);
    addLabel(1115);
    addLabel(1052);
    addLabel(1205)->setAlignment(Qt::AlignCenter);
    addLabel(1204)->setAlignment(Qt::AlignCenter);
    QLabel* hint = addLabel(1202);
    hint->setWordWrap(true);
    hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    isoCombo = new QComboBox(this);
    profileCombo = new QComboBox(this);
    backButton = new QPushButton(this);
    meteringCombo = new QComboBox(this);
    lightCombo = new QComboBox(this);
    AddControl(kIsoComboId, isoCombo);
    AddControl(kProfileComboId, profileCombo);
    AddControl(kBackId, backButton);
    AddControl(kMeteringComboId, meteringCombo);
    AddControl(kLightComboId, lightCombo);
    backButton->setAutoDefault(false);

    CCustomEdit** fields[9] = {&drpEv, &drpLevel, &drmEv, &drmLevel, &cntLevel, &cppEv, &cppLevel, &cpmEv, &cpmLevel};
    for (std::size_t i = 0; i < kFieldIds.size(); ++i) {
        auto* edit = new CCustomEdit(this);
        const int id = kFieldIds[i];
        const bool evField = id == 1023 || id == 1024 || id == 1027 || id == 1032;
        edit->inputMode = evField ? 4 : 0;
        edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        edit->installEventFilter(this);
        AddControl(id, edit);
        *fields[i] = edit;
    }
    const struct {
        int id;
        COLORREF colour;
    } triangleRows[4] = {{1206, 0x0000FF}, {1207, 0x00FF00}, {1209, 0x00FF00}, {1210, 0x0000FF}};
    for (int i = 0; i < 4; ++i) {
        triangles[i] = new CStaticDeltaSymbol(this);
        triangles[i]->fillColour = triangleRows[i].colour;
        AddControl(triangleRows[i].id, triangles[i]);
    }
    for (int i = 0; i < 5; ++i) {
        labels[i] = new CHAlignLabel(this);
        labels[i]->alignment = 2;
        labels[i]->setWordWrap(true);
        AddControl(1061 + i, labels[i]);
    }
    graphWindow = new CKZARN_GparhWindow(this);
    graphWindow->setFocusPolicy(Qt::StrongFocus);
    graphWindow->m_pfnCallback = &CKZARN_EditDlg::OnMarkerMoved;
    graphWindow->m_pCallbackContext = this;
    AddControl(kGraphId, graphWindow);
    graphWindow->show();
}

BOOL CKZARN_EditDlg::OnInitDialog()
{
    if (initialised) {
        return TRUE;
    }
    initialised = true;
    BuildControls();
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    ZarnViewLayout::FitComboHeights(this);

    CKZARN_Common::FillComboFromTable(lightCombo, kLightItems);
    CKZARN_Common::SelectComboItemByData(lightCombo, 0);
    CKZARN_Common::FillComboFromTable(meteringCombo, kMeteringItems);
    CKZARN_Common::SelectComboItemByData(meteringCombo, 0);
    CKZARN_Common::FillIsoComboEx(isoCombo, nullptr, {});
    CKZARN_Common::SelectComboItemByData(isoCombo, 100);
    FillProfileCombo();
    profileCombo->setCurrentIndex(0);

    connect(lightCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { RefreshGraph(); });
    connect(meteringCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { RefreshGraph(); });
    connect(isoCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) {
        isoIcons = 0;
        RefreshGraph();
        isoIcons = 1;
    });
    connect(profileCombo, QOverload<int>::of(&QComboBox::activated), this, [this](int) { OnProfileChange(); });
    connect(backButton, &QPushButton::clicked, this, [this]() { OnBack(); });

    RefreshGraph();
    return TRUE;
}

void CKZARN_EditDlg::FillProfileCombo()
{
    CKZARN_Common::FillProfileCombo(profileCombo, 0, 2, 1);
    profileCombo->insertItem(0, Text(kPlaceholderTextId));
}

void CKZARN_EditDlg::SelectProfileName(const std::string& name)
{
    const int index = profileCombo->findText(CKZARN_Common::ToWidgetText(name), Qt::MatchFixedString);
    profileCombo->setCurrentIndex(index >= 0 ? index : 0);
}

CCustomEdit* CKZARN_EditDlg::Field(int controlId) const
{
    for (const int id : kFieldIds) {
        if (id == controlId) {
            return static_cast<CCustomEdit*>(FindControl(id));
        }
    }
    return nullptr;
}

void CKZARN_EditDlg::RefreshGraph()
{
    key = ZarnLib_PatchKey();
    key.SetIso(CKZARN_Common::GetComboItemData(isoCombo, isoCombo->currentIndex()));
    key.SetLightSource(CKZARN_Common::GetComboItemData(lightCombo, lightCombo->currentIndex()));
    block = CKZARN_Common::GetComboItemData(meteringCombo, meteringCombo->currentIndex());
    access.reset();
    if (loaded) {
        key.SetChartKind(profile.GetChartKind());
        access = std::make_unique<CKZARN_ProfileTableAccess>(&profile, key, block);
    }
    rules.Attach(access.get());
    const bool withCurve = rules.ReadTable();
    curve = CET_GraphLine();
    if (withCurve) {
        curve.name = GetLangString(133);
        curve.colour = CKZARN_Common::GetGraphLineColor(0);
        curve.dashed = 0;
        ZarnViewCurves::AppendPolylines(rules.ShownCurves(), &curve);
    }
    constexpr int kStyleCaptions[CET_GraphStyle::kCaptionCount] = {122, 121, 120, 119, 118, 153,
                                                                   152, 120, 151, 150, 139, 140};
    style.SetDefaults();
    for (int i = 0; i < CET_GraphStyle::kCaptionCount; ++i) {
        style.caption[i] = GetLangString(kStyleCaptions[i]);
    }
    ShowGraph();

    for (const int id : kFieldIds) {
        Field(id)->setEnabled(withCurve);
    }
    if (withCurve) {
        ShowAllFields();
    } else {
        for (const int id : kFieldIds) {
            Field(id)->setText(QString());
        }
    }
    if (isoIcons == 1) {
        UpdateIsoIcons();
    }
}

void CKZARN_EditDlg::UpdateIsoIcons()
{
    ++isoIconPasses;
    const QIcon mark = ZarnViewIcons::TableMark();
    for (int i = 0; i < isoCombo->count(); ++i) {
        bool has = false;
        if (loaded) {
            ZarnLib_PatchKey isoKey;
            isoKey.SetIso(CKZARN_Common::GetComboItemData(isoCombo, i));
            isoKey.SetLightSource(key.GetLightSource());
            _ZARNLIB_VECTOR2 five[5];
            double extra = 0.0;
            has = profile.GetTablePoints(isoKey, block, five, &extra) == 0;
        }
        isoCombo->setItemIcon(i, has ? mark : QIcon());
    }
    isoCombo->update();
}

void CKZARN_EditDlg::ShowPointFields(int point)
{
    const CharacteristicPoints& p = rules.Points();
    if (CCustomEdit* level = Field(kPointFields[point].level)) {
        level->setText(CKZARN_Common::ToWidgetText(LevelText(p.level[point])));
        level->repaint();
    }
    if (CCustomEdit* ev = Field(kPointFields[point].ev)) {
        ev->setText(CKZARN_Common::ToWidgetText(CKZARN_EditValueRules::FormatEv(p.ev[point], DecimalChar())));
        ev->repaint();
    }
}

void CKZARN_EditDlg::ShowAllFields()
{
    for (int point = 0; point < 5; ++point) {
        ShowPointFields(point);
    }
}

void CKZARN_EditDlg::Beep()
{
    ++beeps;
    QApplication::beep();
}

void CKZARN_EditDlg::ApplyValue(int controlId, double value, int mode)
{
    const CKZARN_EditValueRules::Outcome out = rules.Apply(controlId, value, mode);
    if (out.refused) {
        Beep();
    } else if (out.changed || mode == CKZARN_EditValueRules::kModeEntered) {
        modified = 1;
    }
    if (!out.refused && out.centreAccepted) {
        RefreshGraph();
        return;
    }
    rules.StorePoints();
    ShowGraph();
    if (out.point >= 0) {
        ShowPointFields(out.point);
    }
    for (const int id : kFieldIds) {
        if (QApplication::focusWidget() == Field(id)) {
            Field(id)->selectAll();
        }
    }
}

void CKZARN_EditDlg::ShowGraph()
{
    if (rules.HasCurve()) {
        const std::vector<CET_GraphLine*> curves = {&curve};
        CharacteristicPoints shown = rules.Points();
        shown.hidden = 0;
        graphWindow->SetGraph(1, std::string(), GetLangString(129), GetLangString(130), &curves, &shown, 5, &style,
                              30, 14);
    } else {
        graphWindow->SetGraph(0, std::string(), GetLangString(129), std::string(), nullptr, nullptr, 5, &style, 30,
                              14);
    }
    graphWindow->repaint();
}

int CKZARN_EditDlg::RebuildCurve(int newLevel)
{
    return rules.RebuildCurve(newLevel);
}

void CKZARN_EditDlg::OnMarkerMoved(void* context, int marker, double ev)
{
    auto* dialog = static_cast<CKZARN_EditDlg*>(context);
    if (dialog == nullptr) {
        return;
    }
    constexpr int kMarkerFields[5] = {CKZARN_EditValueRules::kEvCpm, CKZARN_EditValueRules::kEvDrm, 0,
                                      CKZARN_EditValueRules::kEvDrp, CKZARN_EditValueRules::kEvCpp};
    if (marker < 0 || marker > 4 || kMarkerFields[marker] == 0) {
        return;
    }
    dialog->ApplyValue(kMarkerFields[marker], ev, CKZARN_EditValueRules::kModeDragged);
}

void CKZARN_EditDlg::OnFieldEntered(int controlId, int mode)
{
    CCustomEdit* field = Field(controlId);
    if (field == nullptr || field->isReadOnly() || !field->isEnabled() || inFieldApply) {
        return;
    }
    inFieldApply = true;
    double value = 0.0;
    // The application's decimal character, or a point as a user may paste or type it.
    if (DecimalText::ParseTyped(field->text().toStdString(), DecimalChar(), &value)) {
        ApplyValue(controlId, value, mode);
    } else {
        // An empty field or a lone sign means nothing: the point's values are shown again.
        for (int point = 0; point < 5; ++point) {
            if (kPointFields[point].level == controlId || kPointFields[point].ev == controlId) {
                ShowPointFields(point);
            }
        }
    }
    inFieldApply = false;
}

bool CKZARN_EditDlg::eventFilter(QObject* watched, QEvent* event)
{
    auto* field = qobject_cast<CCustomEdit*>(watched);
    if (field != nullptr && field->parentWidget() == this) {
        int id = 0;
        for (const int candidate : kFieldIds) {
            if (FindControl(candidate) == field) {
                id = candidate;
            }
        }
        if (id != 0 && event->type() == QEvent::KeyPress) {
            const auto* press = static_cast<QKeyEvent*>(event);
            if (press->key() == Qt::Key_Return || press->key() == Qt::Key_Enter) {
                OnFieldEntered(id, CKZARN_EditValueRules::kModeEntered);
                return true;
            }
        } else if (id != 0 && event->type() == QEvent::FocusOut) {
            OnEditKillFocus(id);
        }
    }
    return CKZARN_ModalBaseDlg::eventFilter(watched, event);
}

void CKZARN_EditDlg::RelockShownFile()
{
    CFileLockManager* locks = CFileLockManager::GetInstance();
    if (loaded && !profileName.empty()) {
        locks->Register(CKZARN_Common::GetProfilePath(profileName));
    }
    locks->LockAll();
}

void CKZARN_EditDlg::PostProfilesChanged()
{
    const CKestrinZarnApp* app = CKestrinZarnApp::GetApp();
    ZarnMainWindow* main = app != nullptr ? app->GetMainWindow() : nullptr;
    if (main != nullptr && main->Widget() != nullptr) {
        QCoreApplication::postEvent(main->Widget(), new WindowMessageEvent(WM_ZARN_PROFILES_CHANGED, 0, 0));
    }
}

int CKZARN_EditDlg::ConfirmSave()
{
    if (!modified) {
        return 1;
    }
    const std::vector<std::string> texts = {GetLangString(CKestrinZarnApp::kMainTitleTextId),
                                            GetLangString(kAskSaveTextId),
                                            GetLangString(5002),
                                            GetLangString(5003),
                                            GetLangString(5004),
                                            GetLangString(5005)};
    PromptService& prompts = QtPromptService::Current();
    const int answer = prompts.AskFourButtons(HWND{}, texts, IDI_EXCLAMATION, 260);
    if (answer == 259) {
        modified = 0;
        return 1;
    }
    if (answer != 257 && answer != 258) {
        return 0;
    }
    CFileLockManager::GetInstance()->UnlockAll();
    std::string name = profileName;
    if (answer == 258) {
        std::string chosen;
        if (!askSaveName || !askSaveName(profileName, &chosen) || chosen.empty()) {
            RelockShownFile();
            return 0;
        }
        name = chosen;
    }
    const std::string path = CKZARN_Common::GetProfilePath(name);
    const int result = CKZARN_ProfileFileSaver::Save(path, profile);
    if (result != CKZARN_ProfileFileSaver::kSaved) {
        // Nothing was written: the changes stay in memory, marked for saving, and the shown file
        // is locked again.
        prompts.MessageBox(HWND{}, GetLangString(result == CKZARN_ProfileFileSaver::kReadOnly ? kReadOnlyTextId
                                                                                               : kSaveFailedTextId),
                           GetLangString(CKestrinZarnApp::kMainTitleTextId), MB_OK | MB_ICONEXCLAMATION);
        RelockShownFile();
        return 0;
    }
    if (name != profileName) {
        // Saved under a new name: that file is the one shown from now on.
        profileName = name;
        FillProfileCombo();
        SelectProfileName(profileName);
    }
    modified = 0;
    RelockShownFile();
    PostProfilesChanged();
    return 1;
}

void CKZARN_EditDlg::OnProfileChange()
{
    // The profile the user chose; saving under a new name on the way refills the combo.
    std::string name = profileCombo->currentText().toStdString();
    CFileLockManager* locks = CFileLockManager::GetInstance();
    locks->UnlockAll();
    if (ConfirmSave() == 0) {
        SelectProfileName(profileName.empty() ? GetLangString(kPlaceholderTextId) : profileName);
        locks->LockAll();
        return;
    }
    FillProfileCombo();
    if (!CKZARN_Common::IsPlaceholderText(name) && !CKZARN_Common::CanLoadProfile(name)) {
        SelectProfileName(name);
        QtPromptService::Current().MessageBox(HWND{}, CKZARN_Common::CannotLoadProfileText(name),
                                              GetLangString(CKestrinZarnApp::kMainTitleTextId),
                                              MB_OK | MB_ICONEXCLAMATION);
        name = GetLangString(kPlaceholderTextId);
    }
    SelectProfileName(name);
    profileName = CKZARN_Common::IsPlaceholderText(name) ? std::string() : name;

    locks->RemoveAll();
    profile.ClearTables();
    loaded = 0;
    if (!profileName.empty()) {
        const std::string path = CKZARN_Common::GetProfilePath(profileName);
        const ZarnLibString kpf(path.c_str());
        if (LoadProfile(&kpf, &profile) == 0) {
            locks->Register(path);
            locks->LockAll();
            loaded = 1;
        } else {
            profile.ClearTables();
        }
    }
    RefreshGraph();
}

void CKZARN_EditDlg::OnBack()
{
    if (ConfirmSave() == 1) {
        done(IDOK);
    }
}

void CKZARN_EditDlg::OnEditKillFocus(int controlId)
{
    OnFieldEntered(controlId, CKZARN_EditValueRules::kModeLeft);
}

void CKZARN_EditDlg::OnCancel()
{
    OnBack();
}

void CKZARN_EditDlg::accept() {}

void CKZARN_EditDlg::reject()
{
    OnCancel();
}
