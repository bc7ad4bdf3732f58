#include "ui/main/CKZARN_MainProfileForm.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/ShellFileUtility.h"
#include "core/ShellPathUtility.h"
#include "core/util/CLangTable.h"
#include "meter/CKZARN_TransferData.h"
#include "meter/MeterFamily.h"
#include "platform/PromptService.h"
#include "ui/controls/CKZARN_ProfileListCtrl.h"
#include "ui/controls/CStaticIcon.h"
#include "ui/controls/QtPromptService.h"
#include "ui/main/CKZARN_ProfileCommands.h"
#include "meter/CKZARN_LMCtrl.h"
#include "ui/meter/CZarnManager.h"

#include <QGroupBox>
#include <QMenu>
#include <QMetaObject>
#include <QPointer>
#include <QPushButton>
#include <QShowEvent>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_MainProfileForm::kTemplateId, 1000, 0, 0, 545, 680},
    {CKZARN_MainProfileForm::IDC_PC_GROUP, 0, 10, 28, 220, 253},
    {CKZARN_MainProfileForm::IDC_PC_HEADING, 1001, 18, 44, 203, 17},
    {CKZARN_MainProfileForm::IDC_PC_LIST, 0, 18, 66, 203, 204},
    {CKZARN_MainProfileForm::IDC_ASSIGN, 1002, 245, 100, 44, 23},
    {CKZARN_MainProfileForm::IDC_SEND_GROUP, 0, 305, 28, 220, 253},
    {CKZARN_MainProfileForm::IDC_SEND_HEADING, 1005, 313, 44, 203, 17},
    {CKZARN_MainProfileForm::IDC_SEND_LIST, 0, 313, 66, 203, 180},
    {CKZARN_MainProfileForm::IDC_CLEAR, 1008, 381, 250, 64, 23},
    {CKZARN_MainProfileForm::IDC_METER_GROUP, 0, 305, 328, 220, 253},
    {CKZARN_MainProfileForm::IDC_METER_HEADING, 1006, 313, 344, 203, 17},
    {CKZARN_MainProfileForm::IDC_METER_LIST, 0, 313, 366, 203, 204},
    {CKZARN_MainProfileForm::IDC_NEW, 1013, 35, 415, 225, 33},
    {CKZARN_MainProfileForm::IDC_REF, 1014, 35, 460, 225, 33},
    {CKZARN_MainProfileForm::IDC_EDIT, 1015, 35, 505, 225, 33},
    {CKZARN_MainProfileForm::IDC_TX, 1016, 35, 550, 225, 33},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kTextInvalidName = 10002;
constexpr int kTextReserved = 10011;
constexpr int kTextForbidden = 10013;
constexpr int kTextSendQuestion = 7051;
constexpr int kTextDelete = 1200;
constexpr int kTextRename = 1201;
constexpr const char* kForbiddenChars = "\\/:*?\"<>|,";

// The button face colour of the slot lists' number column (0x00BBGGRR).
constexpr COLORREF kButtonFace = RGB(240, 240, 240);

CZarnManager* Facade()
{
    return CZarnManager::CreateInstance(nullptr); // the existing facade, or none
}

bool AnyMeterConnected()
{
    CZarnManager* facade = Facade();
    return facade != nullptr &&
           (facade->GetT310State() == 1 || facade->GetT140State() == 1 || facade->GetT520State() == 1);
}

bool IsSuspended()
{
    CZarnManager* facade = Facade();
    return facade != nullptr && facade->IsSuspended() != 0;
}

} // namespace

CKZARN_MainProfileForm::CKZARN_MainProfileForm(QWidget* parent) : CKZARN_MainBaseForm(kTemplateId, parent)
{
    // Group boxes first, so that the lists and headings inside them lie on top.
    pcGroup_ = new QGroupBox(this);
    sendGroup_ = new QGroupBox(this);
    meterGroup_ = new QGroupBox(this);
    tx_ = new QPushButton(this);
    ref_ = new QPushButton(this);
    new_ = new QPushButton(this);
    edit_ = new QPushButton(this);
    assign_ = new QPushButton(this);
    clear_ = new QPushButton(this);
    pcList_ = new CKZARN_ProfileListCtrl(this);
    sendList_ = new CKZARN_ProfileListCtrl(this);
    meterList_ = new CKZARN_ProfileListCtrl(this);
    pcHeading_ = new CStaticIcon(this);
    sendHeading_ = new CStaticIcon(this);
    meterHeading_ = new CStaticIcon(this);
    AddControl(IDC_TX, tx_);
    AddControl(IDC_REF, ref_);
    AddControl(IDC_NEW, new_);
    AddControl(IDC_EDIT, edit_);
    AddControl(IDC_PC_GROUP, pcGroup_);
    AddControl(IDC_SEND_GROUP, sendGroup_);
    AddControl(IDC_METER_GROUP, meterGroup_);
    AddControl(IDC_ASSIGN, assign_);
    AddControl(IDC_CLEAR, clear_);
    AddControl(IDC_PC_LIST, pcList_);
    AddControl(IDC_SEND_LIST, sendList_);
    AddControl(IDC_METER_LIST, meterList_);
    AddControl(IDC_PC_HEADING, pcHeading_);
    AddControl(IDC_SEND_HEADING, sendHeading_);
    AddControl(IDC_METER_HEADING, meterHeading_);
    // Three buttons of the page's template without a function: created hidden.
    for (int id : {IDC_BACK, IDC_UP, IDC_DOWN}) {
        auto* unused = new QPushButton(this);
        unused->hide();
        AddControl(id, unused);
    }

    connect(new_, &QPushButton::clicked, this, [this] { OnBnClickedNew(); });
    connect(ref_, &QPushButton::clicked, this, [this] { OnBnClickedRef(); });
    connect(edit_, &QPushButton::clicked, this, [this] { OnBnClickedEdit(); });
    connect(tx_, &QPushButton::clicked, this, [this] { OnBnClickedTx(); });
    connect(assign_, &QPushButton::clicked, this, [this] { OnBnClickedAssign(); });
    connect(clear_, &QPushButton::clicked, this, [this] { OnBnClickedClear(); });
    connect(pcList_, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateAssignButton(); });
    connect(sendList_, &QTreeWidget::itemSelectionChanged, this, [this] { UpdateAssignButton(); });
    for (CKZARN_ProfileListCtrl* list : {pcList_, sendList_}) {
        connect(list, &CKZARN_ProfileListCtrl::beginDragRequested, this,
                [this, list](int item, QPoint point) { list->BeginDrag(item, point, this); });
    }
    connect(pcList_, &CKZARN_ProfileListCtrl::labelEditEnded, this,
            [this](int item, std::optional<std::string> text) { OnEndLabelEdit(item, text); });
    pcList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pcList_, &QWidget::customContextMenuRequested, this, [this](QPoint point) { ShowContextMenu(point); });
}

CKZARN_MainProfileForm::~CKZARN_MainProfileForm() = default;

QPushButton* CKZARN_MainProfileForm::Button(int id) const
{
    return qobject_cast<QPushButton*>(FindControl(id));
}

BOOL CKZARN_MainProfileForm::OnInitDialog()
{
    CKZARN_MainBaseForm::OnInitDialog();
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);

    // Headings: the page's font, 2 larger, bold.
    headingFont_ = font();
    if (headingFont_.pixelSize() > 0) {
        headingFont_.setPixelSize(headingFont_.pixelSize() + 2);
    } else if (headingFont_.pointSizeF() > 0) {
        headingFont_.setPointSizeF(headingFont_.pointSizeF() + 2);
    }
    headingFont_.setWeight(QFont::Bold);
    const std::pair<CStaticIcon*, int> headings[] = {{pcHeading_, 1001}, {sendHeading_, 1005}, {meterHeading_, 1006}};
    for (const auto& [heading, textId] : headings) {
        heading->SetCaption(GetLangString(textId));
        heading->setFont(headingFont_);
    }

    // PC list: only version-3 profiles, like every later refresh.
    pcList_->setFont(font());
    pcList_->EnableDrag(1);
    pcList_->pcList = 1;
    RefreshPcList();

    for (CKZARN_ProfileListCtrl* list : {sendList_, meterList_}) {
        list->EnableDrag(list == sendList_ ? 1 : 0);
        list->pcList = 0;
        list->SetSlotNumbering(1, std::string());
        list->columnColour = kButtonFace;
        list->setFont(font());
        list->setSelectionMode(list == sendList_ ? QAbstractItemView::ExtendedSelection
                                                 : QAbstractItemView::SingleSelection);
        ResetList(list, 0);
    }

    UpdateAssignButton();
    tx_->setEnabled(CanTransmit() != FALSE);
    const bool connected = AnyMeterConnected();
    meterHeading_->setEnabled(connected);
    meterGroup_->setEnabled(connected);
    return TRUE;
}

BOOL CKZARN_MainProfileForm::RefreshPcList()
{
    // The list holds the profiles of the current format only, at start-up and after every refresh:
    // a profile of the older format is brought in by import, which converts it. The folder is read
    // afresh each time, so files added or removed outside the program show; the selected profile
    // stays selected.
    const int selected = pcList_->GetNextSelectedItem(-1);
    const std::string selectedName = selected >= 0 ? pcList_->GetItemText(selected) : std::string();
    std::vector<std::string> names;
    CKZARN_Common::ListProfileNames(&names, 1, 2, 0);
    pcList_->DeleteAllItems();
    for (std::size_t i = 0; i < names.size(); ++i) {
        pcList_->InsertItem(static_cast<int>(i), names[i]);
        if (!selectedName.empty() && names[i] == selectedName) {
            pcList_->SelectItem(static_cast<int>(i), true, true);
        }
    }
    pcList_->AutoSizeColumns();
    pcList_->viewport()->update();
    EmptyMissingSlots();
    return TRUE;
}

void CKZARN_MainProfileForm::EmptyMissingSlots()
{
    // A slot whose profile file is gone (deleted here or elsewhere) could only fail at TX: it is
    // emptied at once, and TX follows.
    bool changed = false;
    for (int i = 0; i < sendList_->GetItemCount(); ++i) {
        const std::string name = sendList_->GetItemText(i);
        if (!name.empty() && !CKZARN_Common::ProfileFileExists(name)) {
            sendList_->SetItemText(i, std::string());
            changed = true;
        }
    }
    if (changed) {
        sendList_->viewport()->update();
        sendList_->AutoSizeColumns();
        UpdateMeterButtons();
    }
}

void CKZARN_MainProfileForm::FollowRename(const std::string& oldName, const std::string& newName)
{
    bool changed = false;
    for (int i = 0; i < sendList_->GetItemCount(); ++i) {
        if (CompareNoCaseMbcs(sendList_->GetItemText(i), oldName) == 0) {
            sendList_->SetItemText(i, newName);
            changed = true;
        }
    }
    if (changed) {
        sendList_->viewport()->update();
        sendList_->AutoSizeColumns();
        UpdateMeterButtons();
    }
}

void CKZARN_MainProfileForm::showEvent(QShowEvent* event)
{
    CKZARN_MainBaseForm::showEvent(event);
    // Each time the page comes into view (a tab switch, the window shown again) the Profile folder
    // is read again; the first showing follows the initialisation's own reading.
    if (!event->spontaneous() && shownBefore_) {
        RefreshPcList();
    }
    shownBefore_ = true;
}

void CKZARN_MainProfileForm::ResetList(CKZARN_ProfileListCtrl* list, int rows)
{
    list->DeleteAllItems();
    list->AutoSizeColumns();
    for (int i = 0; i < rows; ++i) list->InsertItem(i, std::string());
    list->viewport()->update();
    list->SelectItem(0, true, true);
}

void CKZARN_MainProfileForm::FillMeterList(const std::vector<std::string>& names)
{
    ResetList(meterList_, static_cast<int>(names.size()));
    for (std::size_t i = 0; i < names.size(); ++i) meterList_->SetItemText(static_cast<int>(i), names[i]);
    meterList_->AutoSizeColumns();
}

BOOL CKZARN_MainProfileForm::RefreshMeterList()
{
    if (!AnyMeterConnected()) {
        ResetList(meterList_, 0);
        meterList_->AutoSizeColumns();
        UpdateMeterButtons();
        return TRUE;
    }
    std::vector<std::string> names;
    if (Facade()->ReceiveProfileNames(&names) != 0) {
        return FALSE;
    }
    FillMeterList(names);
    UpdateMeterButtons();
    return TRUE;
}

void CKZARN_MainProfileForm::UpdateAssignButton()
{
    assign_->setEnabled(!pcList_->GetSelectedItems().empty() && !sendList_->GetSelectedItems().empty());
}

void CKZARN_MainProfileForm::UpdateMeterButtons()
{
    tx_->setEnabled(CanTransmit() != FALSE);
    const bool connected = AnyMeterConnected();
    meterHeading_->setEnabled(connected);
    meterGroup_->setEnabled(connected);
}

int CKZARN_MainProfileForm::ConnectedFamily()
{
    CZarnManager* facade = Facade();
    if (facade == nullptr) return -1;
    if (facade->GetT310State() == 1) return MeterFamilyT310;
    if (facade->GetT140State() == 1) return MeterFamilyT140;
    if (facade->GetT520State() == 1) return MeterFamilyT520;
    return -1;
}

BOOL CKZARN_MainProfileForm::CanTransmit()
{
    // While a child program has the meter the worker takes no command.
    if (IsSuspended()) return FALSE;
    const int family = ConnectedFamily();
    if (family < 0) return FALSE;
    const int limit = CKZARN_TransferData::GetProfileCount(family);
    for (int i = 0; i < limit && i < sendList_->GetItemCount(); ++i) {
        if (!sendList_->GetItemText(i).empty()) return TRUE;
    }
    return FALSE;
}

BOOL CKZARN_MainProfileForm::OnMeterInfoChanged()
{
    CZarnManager* facade = Facade();
    const std::string model = facade != nullptr ? facade->GetPhotometerType() : std::string();
    int rows = 0;
    if (model == "T-310D/DR" || model == "T-310CINE") {
        rows = 3;
    } else if (model == "T-140D" || model == "T-140DR" || model == "T-140DR-EL" || model == "T-140DR-PX" ||
               model == "T-520D") {
        rows = 10;
    }
    if (rows == 0) {
        ResetList(sendList_, 0);
        assign_->setEnabled(false);
    } else if (sendList_->GetItemCount() == 0) {
        ResetList(sendList_, rows);
    }
    return TRUE;
}

BOOL CKZARN_MainProfileForm::OnExternalProgramStarting(const std::string& program, const std::string& arguments)
{
    CKZARN_MainBaseForm::OnExternalProgramStarting(program, arguments);
    // Polling is suspended now: TX waits until the child program has ended.
    UpdateMeterButtons();
    return TRUE;
}

BOOL CKZARN_MainProfileForm::OnExternalProgramEnded(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    ResetList(sendList_, 0);
    ResetList(meterList_, 0);
    assign_->setEnabled(false);
    tx_->setEnabled(false);
    meterHeading_->setEnabled(false);
    meterGroup_->setEnabled(false);
    return TRUE;
}

BOOL CKZARN_MainProfileForm::AcceptsReturnKey()
{
    return pcList_->IsEditingLabel();
}

void CKZARN_MainProfileForm::Exclaim(const std::string& text, UINT icon)
{
    QtPromptService::Current().MessageBox(nullptr, text, GetLangString(1000), MB_OK | icon);
}

// ---- assigning ----

void CKZARN_MainProfileForm::OnBnClickedAssign()
{
    const int pcItem = pcList_->GetNextSelectedItem(-1);
    const int sendItem = sendList_->GetNextSelectedItem(-1);
    if (pcItem < 0 || sendItem < 0) return;
    const std::string name = pcList_->GetItemText(pcItem);
    if (!CKZARN_Common::CanLoadProfile(name)) {
        Exclaim(CKZARN_Common::CannotLoadProfileText(name), MB_ICONEXCLAMATION);
        return;
    }
    sendList_->SetItemText(sendItem, name);
    sendList_->viewport()->update();
    sendList_->AutoSizeColumns();
    UpdateMeterButtons();
}

void CKZARN_MainProfileForm::OnBnClickedClear()
{
    sendList_->ClearSelectedTexts();
    sendList_->viewport()->update();
    sendList_->AutoSizeColumns();
    UpdateAssignButton();
    UpdateMeterButtons();
}

LRESULT CKZARN_MainProfileForm::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return message == WM_ZARN_PROFILE_DROPPED ? OnProfileDropped(wParam, lParam) : 0;
}

LRESULT CKZARN_MainProfileForm::OnProfileDropped(WPARAM wParam, LPARAM lParam)
{
    auto* from = reinterpret_cast<CKZARN_ProfileListCtrl*>(wParam);
    auto* to = reinterpret_cast<CKZARN_ProfileListCtrl*>(lParam);
    if (from == nullptr || to == nullptr) return 0;
    if (from == pcList_ && to == sendList_) {
        sendList_->SetItemText(sendList_->dropItem, pcList_->GetItemText(pcList_->dragItem));
        sendList_->DeselectAll();
        sendList_->SelectItem(sendList_->dropItem, true, true);
        sendList_->AutoSizeColumns();
    } else if (from == sendList_ && to == sendList_) {
        const int source = sendList_->dragItem;
        const int target = sendList_->dropItem;
        sendList_->SetItemText(target, sendList_->GetItemText(source));
        sendList_->SetItemText(source, std::string());
        sendList_->SelectItem(target, true, true);
        sendList_->SelectItem(source, false, false);
    }
    UpdateAssignButton();
    UpdateMeterButtons();
    return 1;
}

// ---- context menu, delete and in-place rename ----

BOOL CKZARN_MainProfileForm::IsItemCommandEnabled() const
{
    const int item = pcList_->GetNextSelectedItem(-1);
    return item >= 0 && !CKZARN_Common::IsDefaultProfileName(pcList_->GetItemText(item)) ? TRUE : FALSE;
}

QMenu* CKZARN_MainProfileForm::MakeContextMenu()
{
    auto* menu = new QMenu(this);
    QAction* remove = menu->addAction(CKZARN_Common::ToWidgetText(GetLangString(kTextDelete)));
    remove->setData(ID_PROFILE_DELETE_ITEM);
    QAction* rename = menu->addAction(CKZARN_Common::ToWidgetText(GetLangString(kTextRename)));
    rename->setData(ID_PROFILE_RENAME_ITEM);
    const bool enabled = IsItemCommandEnabled() != FALSE;
    remove->setEnabled(enabled);
    rename->setEnabled(enabled);
    connect(remove, &QAction::triggered, this, [this] { OnDeleteProfile(); });
    connect(rename, &QAction::triggered, this, [this] { OnRenameProfile(); });
    return menu;
}

void CKZARN_MainProfileForm::ShowContextMenu(QPoint listPoint)
{
    QPoint point = listPoint;
    const int item = pcList_->GetNextSelectedItem(-1);
    if (item >= 0 && !pcList_->viewport()->rect().contains(point)) {
        const QRect rect = pcList_->visualItemRect(pcList_->topLevelItem(item));
        point = QPoint(rect.left(), rect.center().y());
    }
    QMenu* menu = MakeContextMenu();
    menu->exec(pcList_->viewport()->mapToGlobal(point));
    delete menu;
}

void CKZARN_MainProfileForm::OnDeleteProfile()
{
    if (!IsItemCommandEnabled()) return;
    const std::string name = pcList_->GetItemText(pcList_->GetNextSelectedItem(-1));
    DeleteFileList({CKZARN_Common::GetProfilePath(name)}, TRUE, FALSE);
    RefreshPcList();
}

void CKZARN_MainProfileForm::OnRenameProfile()
{
    const int item = pcList_->GetNextSelectedItem(-1);
    if (item < 0 || !IsItemCommandEnabled()) return;
    startingName_ = pcList_->GetItemText(item);
    pcList_->EditLabel(item);
}

void CKZARN_MainProfileForm::OnEndLabelEdit(int item, const std::optional<std::string>& text)
{
    if (!text.has_value() || text->empty()) {
        startingName_.clear();
        return;
    }
    const std::string& name = *text;
    bool refused = true;
    if (CKZARN_Common::HasInvalidFileNameChar(name)) {
        Exclaim(GetLangString(kTextForbidden) + "\n" + kForbiddenChars, MB_ICONSTOP);
    } else if (CKZARN_Common::IsDefaultProfileName(name) || CKZARN_Common::IsPlaceholderText(name)) {
        Exclaim(name + "\n" + GetLangString(kTextReserved), MB_ICONEXCLAMATION);
    } else if (name != startingName_ && CKZARN_Common::IsProfileNameTaken(name, startingName_)) {
        // Another profile holds the name in some spelling; a change of letter case alone is a rename.
        Exclaim(GetLangString(CKZARN_ProfileCommands::kTextNameExists), MB_ICONSTOP);
    } else if (!CKZARN_Common::IsProfileNameLengthValid(name) || !CKZARN_Common::IsAsciiText(name)) {
        Exclaim(GetLangString(kTextInvalidName), MB_ICONSTOP);
    } else {
        refused = false;
    }
    if (refused) {
        // The user corrects the name in a new edit of the same row.
        QPointer<CKZARN_ProfileListCtrl> list = pcList_;
        QMetaObject::invokeMethod(
            this, [list, item] { if (list) list->EditLabel(item); }, Qt::QueuedConnection);
        return;
    }
    const std::string oldName = pcList_->GetItemText(item);
    if (oldName != name) {
        if (const int failure = CKZARN_ProfileCommands::MoveProfile(oldName, name); failure != 0) {
            Exclaim(GetLangString(failure), MB_ICONSTOP);
        } else {
            FollowRename(oldName, name);
        }
    }
    RefreshPcList();
    startingName_.clear();
}

// ---- profile commands ----

void CKZARN_MainProfileForm::OnBnClickedNew()
{
    CKZARN_ProfileCommands::RunNew(this);
}

void CKZARN_MainProfileForm::OnBnClickedRef()
{
    CKZARN_ProfileCommands::RunRef(this);
}

void CKZARN_MainProfileForm::OnBnClickedEdit()
{
    CKZARN_ProfileCommands::RunEdit(this);
}

int CKZARN_MainProfileForm::BuildTransfer(CKZARN_TransferData* table)
{
    const int family = ConnectedFamily();
    const int limit = family < 0 ? 0 : CKZARN_TransferData::GetProfileCount(family);
    int mask = 0;
    for (int i = 0; i < sendList_->GetItemCount() && i < limit; ++i) {
        const std::string name = sendList_->GetItemText(i);
        if (name.empty()) continue;
        if (table->BuildFromResultFile(name, i) != 0) {
            mask |= 1 << i;
        } else {
            Exclaim(CKZARN_Common::CannotLoadProfileText(name), MB_ICONEXCLAMATION);
            sendList_->SetItemText(i, std::string());
            sendList_->viewport()->update();
        }
    }
    return mask;
}

void CKZARN_MainProfileForm::OnBnClickedTx()
{
    if (QtPromptService::Current().MessageBox(nullptr, GetLangString(kTextSendQuestion), GetLangString(1000),
                                              MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    const int family = ConnectedFamily();
    if (family < 0 || IsSuspended()) return;
    CKZARN_TransferData table;
    const int mask = BuildTransfer(&table);
    if (mask == 0) {
        UpdateAssignButton();
        UpdateMeterButtons();
        return;
    }
    CZarnManager* facade = Facade();
    int result = 0;
    if (family == MeterFamilyT310) {
        result = facade->SendProfilesT310(table, mask);
    } else if (family == MeterFamilyT140) {
        result = facade->SendProfilesT140(table, mask);
    } else {
        result = facade->SendProfilesT520(table, mask);
    }
    if (result != 0) return;
    if (AnyMeterConnected()) {
        std::vector<std::string> names;
        if (facade->ReceiveProfileNames(&names) == 0) {
            FillMeterList(names);
        }
        UpdateMeterButtons();
    } else {
        ResetList(meterList_, 0);
        UpdateMeterButtons();
    }
}
