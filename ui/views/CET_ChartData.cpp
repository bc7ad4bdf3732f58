#include "ui/views/CET_ChartData.h"

#include "core/util/DecimalText.h"
#include "ui/controls/CCustomEdit.h"

#include <cmath>

std::string CET_ChartData::GetText(int column) const
{
    if (column < 0 || column > 4 || !hasValues) {
        return std::string();
    }
    const double x = values[column];
    const double t = std::trunc(std::fabs(x) * 10.0 + 0.5);
    // Shown with the application's decimal character, written without the C library's locale.
    return DecimalText::Fixed(t == 0.0 ? 0.0 : (x < 0.0 ? -t : t) * 0.1, 1, CCustomEdit::ApplicationDecimalChar(),
                              t != 0.0);
}
