// The process under a German locale, as the program runs there: the C library's decimal point is
// the comma, and the program notes the comma as its decimal character at start-up. Restores the
// C locale and the noted characters when it ends. Make it before the windows under test: edits
// copy the decimal character when they are made.
#pragma once

#include "ui/controls/CCustomEdit.h"
#include "ui/wizard/WizardAppLink.h"

#include <clocale>

namespace wizardtest {

class CommaLocale {
public:
    CommaLocale()
    {
        available_ = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
        CCustomEdit::SetApplicationDecimalChar(',');
        WizardAppLink::SetDecimalChar(',');
    }
    ~CommaLocale()
    {
        WizardAppLink::SetDecimalChar(0);
        CCustomEdit::SetApplicationDecimalChar(0);
        std::setlocale(LC_ALL, "C");
    }
    CommaLocale(const CommaLocale&) = delete;
    CommaLocale& operator=(const CommaLocale&) = delete;

    // False when the machine lacks the locale (scripts/setup.sh generates it).
    bool Available() const { return available_; }

private:
    bool available_ = false;
};

} // namespace wizardtest

// Skips the test on a machine without the German locale.
#define ZARN_REQUIRE_COMMA_LOCALE(locale)                                                                \
    if (!(locale).Available())                                                                            \
    GTEST_SKIP() << "locale de_DE.UTF-8 is missing (scripts/setup.sh generates it)"
