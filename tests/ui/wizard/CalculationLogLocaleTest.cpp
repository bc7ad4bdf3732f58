// The calculation log is a file: its numbers carry a point under every locale, so the bytes written
// under a German locale are those written under the C locale.
#include "tests/ui/wizard/CommaLocale.h"
#include "ui/wizard/CKZARN_WizFileData.h"
#include "ui/wizard/WizardCalculation.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>

namespace {

TEST(CalculationLog, ACommaLocaleWritesTheSameBytesAsTheCLocale)
{
    ::setenv("TZ", "UTC", 1);
    ::tzset();
    ExifInputValues values;
    values.scale = 1.0;
    CKZARN_WizFileData photo("/photos/a.jpg", values);
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> curves;
    curves.Alloc(1, true);
    const _ZARNLIB_VECTOR2 points[3] = {{-1.5, 20.25}, {1.0 / 3.0, 118.5}, {2.675, 1234567.0}};
    ASSERT_EQ(0, curves[0].SetPoints(points, 3, false));
    std::setlocale(LC_ALL, "C");
    const std::string underC = WizardCalculation::FormatLog(86400, {&photo}, curves);
    std::string underComma;
    {
        wizardtest::CommaLocale locale;
        ZARN_REQUIRE_COMMA_LOCALE(locale);
        underComma = WizardCalculation::FormatLog(86400, {&photo}, curves);
    }
    EXPECT_EQ(underC, underComma);
    EXPECT_NE(underC.find("\r\n-1.5, 20.25\r\n0.333333, 118.5\r\n2.675, 1.23457e+06\r\n"), std::string::npos) << underC;
}

} // namespace
