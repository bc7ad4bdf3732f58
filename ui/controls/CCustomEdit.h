// A line edit that filters what is typed by its input mode and checks the whole text after every
// change. A refused character is swallowed with a beep; a text that breaks the mode's rule (also
// when pasted) is replaced by the last valid one, with a beep. Owners set `inputMode` before use
// and read text() from their textChanged handlers (a broken text is already undone by then).
#pragma once

#include "platform/WinTypes.h"

#include <QLineEdit>

#include <string>

class CCustomEdit : public QLineEdit {
    Q_OBJECT
public:
    // decimal: the decimal character; 0 takes the application's (see SetApplicationDecimalChar).
    explicit CCustomEdit(QWidget* parent = nullptr, char decimal = 0);
    ~CCustomEdit() override;

    // The application's decimal character, noted once at start-up; every edit created afterwards
    // copies it. Until it is set, the C library's current decimal point is used.
    static void SetApplicationDecimalChar(char decimal);
    static char ApplicationDecimalChar();

    // Places the edit as an in-place editor on the parent at x, y, cx, cy, keeps that rectangle
    // as the fixed one and sets the text.
    void SubclassWithText(QWidget* parent, const std::string& text, int x, int y, int cx, int cy);
    void EnableFixedRect(BOOL flag) { fixedRectOn = flag; }
    // Ends an in-place edit: returns the text, takes the edit off its parent and clears the rectangle.
    std::string EndEdit();

    // Whether the character may be typed into the candidate text (the text without the selection).
    BOOL FilterChar(char32_t ch, const QString& candidate) const;
    // Whether the whole text obeys the mode's rule.
    BOOL ValidateText(const QString& text) const;

    int inputMode = -1;
    std::string lastValidText;
    char decimalChar = 0;
    BOOL fixedRectOn = 0;
    struct FixedRect {
        int x = 0;
        int y = 0;
        int cx = 0;
        int cy = 0;
    } fixedRect;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    // Sounds the refusal; tests count it.
    virtual void Beep();

private:
    void OnTextChanged(const QString& text);
    void KeepFixedRect();

    bool restoring_ = false;
    bool placing_ = false;
};
