#include "ui/controls/CCustomEdit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>

#include <atomic>
#include <clocale>

namespace {

std::atomic<char> g_applicationDecimal{0};

bool IsDigit(char32_t ch)
{
    return ch >= U'0' && ch <= U'9';
}

bool IsAsciiAlnum(char32_t ch)
{
    return IsDigit(ch) || (ch >= U'a' && ch <= U'z') || (ch >= U'A' && ch <= U'Z');
}

// The character a key press types, as a WM_CHAR would carry it: its text, or for Ctrl+letter the
// control character. 0 for keys that type nothing (arrows, Delete, Shift+Insert...).
char32_t TypedChar(const QKeyEvent* event)
{
    const QString text = event->text();
    if (!text.isEmpty()) {
        return static_cast<char32_t>(text.toUcs4().value(0));
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && event->key() >= Qt::Key_A &&
        event->key() <= Qt::Key_Z) {
        return static_cast<char32_t>(event->key() - Qt::Key_A + 1);
    }
    return 0;
}

} // namespace

CCustomEdit::CCustomEdit(QWidget* parent, char decimal) : QLineEdit(parent)
{
    decimalChar = decimal != 0 ? decimal : ApplicationDecimalChar();
    connect(this, &QLineEdit::textChanged, this, &CCustomEdit::OnTextChanged);
}

CCustomEdit::~CCustomEdit() = default;

void CCustomEdit::SetApplicationDecimalChar(char decimal)
{
    g_applicationDecimal.store(decimal);
}

char CCustomEdit::ApplicationDecimalChar()
{
    const char noted = g_applicationDecimal.load();
    if (noted != 0) {
        return noted;
    }
    const std::lconv* conv = std::localeconv();
    return conv != nullptr && conv->decimal_point != nullptr && conv->decimal_point[0] != 0
               ? conv->decimal_point[0]
               : '.';
}

void CCustomEdit::SubclassWithText(QWidget* parent, const std::string& text, int x, int y, int cx, int cy)
{
    setParent(parent);
    fixedRect = FixedRect{x, y, cx, cy};
    placing_ = true;
    setGeometry(x, y, cx, cy);
    placing_ = false;
    setText(QString::fromStdString(text));
    show();
}

std::string CCustomEdit::EndEdit()
{
    const std::string result = text().toStdString();
    hide();
    setParent(nullptr);
    fixedRect = FixedRect{};
    return result;
}

BOOL CCustomEdit::FilterChar(char32_t ch, const QString& candidate) const
{
    if (ch == 8 || inputMode == 99) {
        return TRUE;
    }
    if (ch < 0x20 || ch == 0x7F) {
        return FALSE;
    }
    const qsizetype length = candidate.size();
    const char32_t dec = static_cast<unsigned char>(decimalChar);
    auto has = [&candidate](char32_t c) { return candidate.contains(QChar(static_cast<char16_t>(c))); };
    const bool digit = IsDigit(ch);
    const bool oneDecimal = dec != 0 && ch == dec && !has(dec);

    switch (inputMode) {
    case 0:
        return length < 4 && digit;
    case 1:
        return length < 4 && (digit || oneDecimal || ((ch == U'm' || ch == U's') && !has(U'm') && !has(U's')));
    case 2:
        return length < 4 && (digit || oneDecimal);
    case 3:
        return length < 1 && digit;
    case 4:
    case 10:
        return length < 5 &&
               (digit || oneDecimal || (ch == U'+' && !has(U'+')) || (ch == U'-' && !has(U'-')));
    case 7:
        return length < 9 && (digit || oneDecimal);
    case 8:
        return length < 8 && (digit || oneDecimal);
    case 9:
        // The meter's name field shows ASCII only: ASCII letters and digits, the decimal character,
        // "-" and space.
        return length < 31 && (IsAsciiAlnum(ch) || ch == dec || ch == U'-' || ch == U' ');
    case 11:
        return length < maxLength() && digit;
    default:
        return FALSE;
    }
}

BOOL CCustomEdit::ValidateText(const QString& text) const
{
    if (text.isEmpty()) {
        return TRUE;
    }
    const QChar dec = QChar(static_cast<char16_t>(static_cast<unsigned char>(decimalChar)));
    const qsizetype length = text.size();
    const qsizetype firstZero = text.indexOf(QLatin1Char('0'));
    const qsizetype firstDecimal = decimalChar != 0 ? text.indexOf(dec) : -1;

    switch (inputMode) {
    case 0:
    case 2:
    case 3:
    case 99:
        return TRUE;
    case 9:
        // Pasted text too: nothing the meter's name field cannot show.
        for (const QChar c : text) {
            if (c.unicode() < 0x20 || c.unicode() >= 0x7F) {
                return FALSE;
            }
        }
        return TRUE;
    case 11:
        // Digits only, pasted text too: the port field must never hold anything else.
        for (const QChar c : text) {
            if (!IsDigit(c.unicode())) {
                return FALSE;
            }
        }
        return TRUE;
    case 1:
        for (qsizetype i = 0; i + 1 < length; ++i) {
            if (text[i] == QLatin1Char('m') || text[i] == QLatin1Char('s')) {
                return FALSE;
            }
        }
        return TRUE;
    case 4:
    case 10: {
        for (qsizetype i = 1; i < length; ++i) {
            if (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')) {
                return FALSE;
            }
        }
        if (firstZero == 0 && length > 1 && firstDecimal != 1) {
            return FALSE;
        }
        const bool signFirst = text[0] == QLatin1Char('+') || text[0] == QLatin1Char('-');
        if (firstZero == 1 && signFirst && length > 2 && firstDecimal != 2) {
            return FALSE;
        }
        return firstDecimal < 0 || length - firstDecimal - 1 <= 1;
    }
    case 7:
    case 8:
        if (firstZero == 0 && length > 1 && firstDecimal != 1) {
            return FALSE;
        }
        return firstDecimal < 0 || length - firstDecimal - 1 <= 3;
    default:
        return FALSE;
    }
}

void CCustomEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Backspace:
        // The dialog's keys never reach the edit as characters; Backspace is always allowed.
        QLineEdit::keyPressEvent(event);
        return;
    default:
        break;
    }
    const char32_t ch = TypedChar(event);
    if (ch == 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    QString candidate = text();
    if (hasSelectedText()) {
        candidate.remove(selectionStart(), selectedText().size());
    }
    if (FilterChar(ch, candidate)) {
        QLineEdit::keyPressEvent(event);
    } else {
        event->accept();
        Beep();
    }
}

void CCustomEdit::OnTextChanged(const QString& text)
{
    // The restored text is taken as it is: checking it again could undo it for ever when the
    // owner changed the mode after it was stored.
    if (restoring_) {
        return;
    }
    if (ValidateText(text)) {
        lastValidText = text.toStdString();
        return;
    }
    restoring_ = true;
    const QString restored = QString::fromStdString(lastValidText);
    setText(restored);
    setCursorPosition(static_cast<int>(restored.size()));
    restoring_ = false;
    Beep();
}

void CCustomEdit::contextMenuEvent(QContextMenuEvent* event)
{
    // Right-click selects the whole text; no menu.
    setFocus(Qt::MouseFocusReason);
    selectAll();
    event->accept();
}

void CCustomEdit::moveEvent(QMoveEvent* event)
{
    QLineEdit::moveEvent(event);
    KeepFixedRect();
}

void CCustomEdit::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    KeepFixedRect();
}

void CCustomEdit::KeepFixedRect()
{
    if (!fixedRectOn || placing_) {
        return;
    }
    const QRect wanted(fixedRect.x, fixedRect.y, fixedRect.cx, fixedRect.cy);
    if (geometry() != wanted) {
        placing_ = true;
        setGeometry(wanted);
        placing_ = false;
    }
}

void CCustomEdit::Beep()
{
    QApplication::beep();
}
