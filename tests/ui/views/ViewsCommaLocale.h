// The process under a German locale, as the program runs there: the C library's decimal point is
// the comma, and the comma is the application's decimal character. Restores the C locale and the
// noted character when it ends. Make it before the dialogs under test: edits copy the decimal
// character when they are made.
#pragma once

#include "ui/controls/CCustomEdit.h"

#include <clocale>

class ViewsCommaLocale {
public:
    ViewsCommaLocale()
    {
        available_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        CCustomEdit::SetApplicationDecimalChar(',');
    }
    ~ViewsCommaLocale()
    {
        CCustomEdit::SetApplicationDecimalChar(0);
        std::setlocale(LC_ALL, "C");
    }
    ViewsCommaLocale(const ViewsCommaLocale&) = delete;
    ViewsCommaLocale& operator=(const ViewsCommaLocale&) = delete;

    // False when the machine lacks the locale (scripts/setup.sh generates it).
    bool Available() const { return available_; }

private:
    bool available_ = false;
};

// Skips the test on a machine without the German locale.
#define ZARN_VIEWS_REQUIRE_COMMA_LOCALE(locale)                                                          \
    if (!(locale).Available())                                                                            \
    GTEST_SKIP() << "locale de_DE.UTF-8 is missing (scripts/setup.sh generates it)"
