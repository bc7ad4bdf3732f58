// A horizontal rule that fills the control's whole height with lines of `lineColour`: solid
// (`lineStyle` 0), dashed 7 on 4 off (1), dotted (2), dash-dot (3), dash-dot-dot (4), none (5) or
// solid inside the frame (6).
#pragma once

#include "platform/WinTypes.h"

#include <QWidget>

class CStaticHLine : public QWidget {
    Q_OBJECT
public:
    explicit CStaticHLine(QWidget* parent = nullptr);
    ~CStaticHLine() override;

    int lineStyle = 0;
    COLORREF lineColour = 0;
    void* themeData = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
};
