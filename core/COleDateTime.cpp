#include "core/COleDateTime.h"

#include <cmath>

namespace {

// Days from 1 March of year 0 style civil calendar to 1970-01-01 (proleptic Gregorian).
long long DaysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const auto yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const auto doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

const long long kEpoch = DaysFromCivil(1899, 12, 30);

} // namespace

bool COleDateTime::FromFields(int year, int month, int day, int hour, int minute, int second, double& date)
{
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59 || second < 0 || second > 59) {
        return false;
    }
    const long long days = DaysFromCivil(year, static_cast<unsigned>(month), 1) + (day - 1) - kEpoch;
    const double fraction = (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
    // Before the epoch the integer part counts backwards while the fraction still counts forwards.
    date = days >= 0 ? static_cast<double>(days) + fraction : static_cast<double>(days) - fraction;
    return true;
}

bool COleDateTime::ToFields(double date, int& year, int& month, int& day, int& hour, int& minute, int& second)
{
    if (!std::isfinite(date) || date < -657435.0 || date >= 2958466.0) {
        return false;
    }
    double whole = std::trunc(date);
    double fraction = std::fabs(date - whole);
    long long seconds = std::llround(fraction * 86400.0);
    if (seconds >= 86400) {
        seconds -= 86400;
        whole += date >= 0 ? 1.0 : -1.0;
    }
    long long y = 0;
    unsigned m = 0;
    unsigned d = 0;
    CivilFromDays(static_cast<long long>(whole) + kEpoch, y, m, d);
    year = static_cast<int>(y);
    month = static_cast<int>(m);
    day = static_cast<int>(d);
    hour = static_cast<int>(seconds / 3600);
    minute = static_cast<int>((seconds / 60) % 60);
    second = static_cast<int>(seconds % 60);
    return true;
}
