// A filled triangle pointing up across the whole control, in `fillColour` with a thin outline.
#pragma once

#include "platform/WinTypes.h"

#include <QWidget>

class CStaticDeltaSymbol : public QWidget {
    Q_OBJECT
public:
    explicit CStaticDeltaSymbol(QWidget* parent = nullptr);

    COLORREF fillColour = 0;

protected:
    void paintEvent(QPaintEvent* event) override;
};
