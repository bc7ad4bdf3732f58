// Conversion between the program's COLORREF values (0x00BBGGRR) and Qt colours.
#pragma once

#include "platform/WinTypes.h"

#include <QColor>

inline QColor ColorRefToQColor(COLORREF colour)
{
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

inline COLORREF QColorToColorRef(const QColor& colour)
{
    return RGB(static_cast<BYTE>(colour.red()), static_cast<BYTE>(colour.green()), static_cast<BYTE>(colour.blue()));
}
