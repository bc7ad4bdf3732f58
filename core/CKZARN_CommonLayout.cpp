// Dialog layout tables, combo-box helpers, value tables and small widget and registry helpers.
#include "core/CKZARN_Common.h"

#include "core/util/CLangTable.h"
#include "core/util/CodePageUtility.h"
#include "platform/CodePage.h"
#include "platform/RegistryStore.h"
#include "profilelib/ZarnLib_Scales.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QIcon>
#include <QItemSelectionModel>
#include <QMetaProperty>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

using TextFunction = int (*)(int, ZarnLibString*);

std::string ScaleText(TextFunction function, int code)
{
    ZarnLibString text;
    if (function(code, &text) != 0) {
        return GetLangString(CKZARN_Common::kPlaceholderTextId);
    }
    return text.GetText();
}

void FillCombo(QComboBox* combo, std::span<const int> table, std::string (*toText)(int))
{
    if (combo == nullptr) {
        return;
    }
    combo->clear();
    for (const int code : table) {
        combo->addItem(CKZARN_Common::ToWidgetText(toText(code)), code);
    }
}

// Sets the text a control shows: its "text" property (labels, buttons, edits), else its "title"
// (group boxes), else its window title.
void SetControlText(QWidget* control, const QString& text)
{
    const QMetaObject* meta = control->metaObject();
    for (const char* property : {"text", "title"}) {
        const int index = meta->indexOfProperty(property);
        if (index >= 0 && meta->property(index).isWritable()) {
            control->setProperty(property, text);
            return;
        }
    }
    control->setWindowTitle(text);
}

// Expands %NAME% references from the environment; false when the result needs 260 bytes or more.
bool ExpandEnvironment(const std::string& text, std::string& out)
{
    out.clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('%', pos);
        if (open == std::string::npos) {
            out += text.substr(pos);
            break;
        }
        const std::size_t close = text.find('%', open + 1);
        if (close == std::string::npos) {
            out += text.substr(pos);
            break;
        }
        out += text.substr(pos, open - pos);
        const std::string name = text.substr(open + 1, close - open - 1);
        const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
        if (value != nullptr) {
            out += value;
            pos = close + 1;
        } else {
            out += text.substr(open, close - open); // an unknown name stays, its second % may open another
            pos = close;
        }
    }
    return out.size() + 1 < 260;
}

} // namespace

QString CKZARN_Common::ToWidgetText(const std::string& text)
{
    if (CodePage::Ansi() == CP_UTF8) {
        return QString::fromStdString(text);
    }
    const std::u16string wide = MultiByteToWideString(text, CP_ACP);
    return QString::fromUtf16(wide.data(), static_cast<qsizetype>(wide.size()));
}

int CKZARN_Common::ApplyDialogLayout(ControlHost* dialog, std::span<const DialogLayoutItem> table, BOOL /*unused*/)
{
    if (dialog == nullptr || table.empty() || table[0].id == 0) {
        return 0;
    }
    std::size_t row = 0;
    if (dialog->FindControl(table[0].id) == nullptr) {
        QWidget* window = dialog->HostWidget();
        if (window != nullptr) {
            if (table[0].textId != 0) {
                window->setWindowTitle(ToWidgetText(GetLangString(table[0].textId)));
            }
            // The row gives the whole window's size; take the frame off to size the client area.
            const int frameW = window->frameGeometry().width() - window->width();
            const int frameH = window->frameGeometry().height() - window->height();
            window->resize(std::max(0, table[0].width - frameW), std::max(0, table[0].height - frameH));
        }
        row = 1;
    }
    for (; row < table.size() && table[row].id != 0; ++row) {
        const DialogLayoutItem& item = table[row];
        QWidget* control = dialog->FindControl(item.id);
        if (control == nullptr) {
            continue;
        }
        if (item.textId != 0) {
            SetControlText(control, ToWidgetText(GetLangString(item.textId)));
        }
        control->setGeometry(item.x, item.y, item.width, item.height);
    }
    return 1;
}

void CKZARN_Common::FillComboFromTable(QComboBox* combo, std::span<const ComboTextItem> rows)
{
    if (combo == nullptr) {
        return;
    }
    for (const ComboTextItem& row : rows) {
        if (row.textId == 0) {
            break;
        }
        combo->addItem(ToWidgetText(GetLangString(row.textId)), row.value);
    }
}

int CKZARN_Common::GetComboItemData(QComboBox* combo, int index)
{
    if (combo == nullptr || index < 0 || index >= combo->count()) {
        return -1;
    }
    return combo->itemData(index).toInt();
}

int CKZARN_Common::FindComboIndexByData(QComboBox* combo, int value)
{
    if (combo == nullptr) {
        return -1;
    }
    for (int i = 0; i < combo->count(); ++i) {
        const QVariant data = combo->itemData(i);
        if (data.isValid() && data.toInt() == value) {
            return i;
        }
    }
    return -1;
}

void CKZARN_Common::SelectComboItemByData(QComboBox* combo, int value)
{
    const int index = FindComboIndexByData(combo, value);
    if (index >= 0) {
        combo->setCurrentIndex(index);
    }
}


std::string CKZARN_Common::IsoToText(int code) { return ScaleText(IsoValueToText, code); }
std::string CKZARN_Common::ShutterTimeToText(int code) { return ScaleText(ShutterIndexToText, code); }
std::string CKZARN_Common::FrameRateToText(int code) { return ScaleText(FrameRateCodeToText, code); }
std::string CKZARN_Common::ShutterAngleToText(int code) { return ScaleText(ShutterAngleCodeToText, code); }
std::string CKZARN_Common::ApertureToText(int code) { return ScaleText(ApertureIndexToText, code); }

std::string CKZARN_Common::GetDigitText(int value)
{
    if (value >= 0 && value <= 9) {
        return std::string(1, static_cast<char>('0' + value));
    }
    return GetLangString(kPlaceholderTextId);
}

BOOL CKZARN_Common::IsPlaceholderText(const std::string& text)
{
    const std::string placeholder = GetLangString(kPlaceholderTextId);
    if (text.size() != placeholder.size()) {
        return FALSE;
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(text[i]) != lower(placeholder[i])) {
            return FALSE;
        }
    }
    return TRUE;
}

void CKZARN_Common::FillIsoCombo(QComboBox* combo) { FillCombo(combo, CKZARN_Common::IsoTable(), IsoToText); }
void CKZARN_Common::FillShutterTimeCombo(QComboBox* combo) { FillCombo(combo, CKZARN_Common::ShutterTimeTable(), ShutterTimeToText); }
void CKZARN_Common::FillFrameRateCombo(QComboBox* combo) { FillCombo(combo, CKZARN_Common::FrameRateTable(), FrameRateToText); }
void CKZARN_Common::FillShutterAngleCombo(QComboBox* combo)
{
    FillCombo(combo, CKZARN_Common::ShutterAngleTable(), ShutterAngleToText);
}
void CKZARN_Common::FillApertureCombo(QComboBox* combo) { FillCombo(combo, CKZARN_Common::ApertureTable(), ApertureToText); }
void CKZARN_Common::FillDigitCombo(QComboBox* combo) { FillCombo(combo, CKZARN_Common::DigitTable(), GetDigitText); }

void CKZARN_Common::FillIsoComboEx(QComboBox* combo, const int* imageIndex, const std::vector<QIcon>& images)
{
    if (combo == nullptr) {
        return;
    }
    combo->clear();
    for (std::size_t row = 0; row < CKZARN_Common::IsoTable().size(); ++row) {
        const int code = CKZARN_Common::IsoTable()[row];
        const int image = imageIndex != nullptr ? imageIndex[row] : -1;
        if (image >= 0 && static_cast<std::size_t>(image) < images.size()) {
            combo->addItem(images[static_cast<std::size_t>(image)], ToWidgetText(IsoToText(code)), code);
        } else {
            combo->addItem(ToWidgetText(IsoToText(code)), code);
        }
    }
}

void CKZARN_Common::FillProfileCombo(QComboBox* combo, int includeDefault, int versionFilter, int subVersionFilter)
{
    std::vector<std::string> names;
    ListProfileNames(&names, includeDefault, versionFilter, subVersionFilter);
    if (combo == nullptr) {
        return;
    }
    combo->clear();
    for (const auto& name : names) {
        combo->addItem(ToWidgetText(name));
    }
}

int CKZARN_Common::GetSelectedListItem(QAbstractItemView* list)
{
    if (list == nullptr || list->selectionMode() != QAbstractItemView::SingleSelection ||
        list->selectionModel() == nullptr) {
        return -1;
    }
    int first = -1;
    for (const QModelIndex& index : list->selectionModel()->selectedIndexes()) {
        if (first < 0 || index.row() < first) {
            first = index.row();
        }
    }
    return first;
}

COLORREF CKZARN_Common::GetGraphLineColor(int line)
{
    static constexpr COLORREF kColors[] = {0x800000, 0xFF00FF, 0x00FFFF, 0xFFFF00, 0x008000};
    return (line >= 0 && line < 5) ? kColors[line] : 0;
}

int CKZARN_Common::JoinToMultiString(char* buffer, std::size_t bufferSize, const std::vector<std::string>& strings)
{
    std::size_t total = 1;
    for (const auto& s : strings) {
        total += s.size() + 1;
    }
    if (buffer != nullptr && bufferSize >= total) {
        char* out = buffer;
        for (const auto& s : strings) {
            std::memcpy(out, s.data(), s.size());
            out += s.size();
            *out++ = '\0';
        }
        *out = '\0';
    }
    return static_cast<int>(total);
}

std::string CKZARN_Common::RegReadString(HKEY root, const std::string& subKey, const std::string& valueName)
{
    const RegistryStore store(RegistryStore::DefaultPath());
    RegistryKey key;
    if (store.OpenKey(root, subKey, RegAccess::Read, &key) != RegStatus::Ok) {
        return {};
    }
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (key.QueryValue(valueName, &type, &data) != RegStatus::Ok || data.size() > 256 ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return {};
    }
    std::string text(data.begin(), data.end());
    text = text.substr(0, text.find('\0'));
    if (type == REG_SZ) {
        return text;
    }
    std::string expanded;
    return ExpandEnvironment(text, expanded) ? expanded : std::string();
}

DWORD CKZARN_Common::RegReadDword(HKEY root, const std::string& subKey, const std::string& valueName)
{
    const RegistryStore store(RegistryStore::DefaultPath());
    RegistryKey key;
    if (store.OpenKey(root, subKey, RegAccess::Read, &key) != RegStatus::Ok) {
        return 0;
    }
    DWORD type = REG_NONE;
    std::vector<BYTE> data;
    if (key.QueryValue(valueName, &type, &data) != RegStatus::Ok || type != REG_DWORD || data.size() != 4) {
        return 0;
    }
    return static_cast<DWORD>(data[0]) | (static_cast<DWORD>(data[1]) << 8) | (static_cast<DWORD>(data[2]) << 16) |
           (static_cast<DWORD>(data[3]) << 24);
}
