// A date and time as an OLE Automation date (days since 30 December 1899, the time of day as the
// fraction) with a validity status, the form in which the windows keep photograph dates.
#pragma once

class COleDateTime {
public:
    enum DateTimeStatus { valid = 0, invalid = 1 };

    double m_dt = 0.0;
    DateTimeStatus m_status = valid;

    // The fields of a date in 100..9999 to an OLE date; false for fields out of range. A day beyond
    // the end of its month runs on into the next month.
    static bool FromFields(int year, int month, int day, int hour, int minute, int second, double& date);
    // The OLE date back to its fields (to the nearest second); false outside 100..9999.
    static bool ToFields(double date, int& year, int& month, int& day, int& hour, int& minute, int& second);
};
