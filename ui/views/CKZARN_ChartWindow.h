// The child window that shows one data table. With a page rectangle it imitates a printed page: a
// black frame around a white sheet with the table in the page's printable part.
#pragma once

#include "platform/WinTypes.h"
#include "ui/views/CET_ChartDraw.h"

#include <QWidget>

class CKZARN_ChartWindow : public QWidget {
    Q_OBJECT
public:
    explicit CKZARN_ChartWindow(QWidget* parent = nullptr, const ZarnFontBuilder* fonts = nullptr);
    ~CKZARN_ChartWindow() override;

    // The table with preview flag 1; does not repaint.
    void SetChart(const std::vector<std::string>& titles, const std::vector<std::string>& headers,
                  const std::vector<CET_ChartData*>& rows, COLORREF background, COLORREF header, COLORREF band);

    // Paints the client rectangle through an off-screen image.
    void OnPaint(QPainter& painter);
    // The paint routine: the table alone, or the imitated page when a page rectangle is set.
    void Paint(QPainter& dc, int left, int top, int right, int bottom);

    CET_ChartDraw m_chart;
    RECT m_rcPage{}; // client coordinates; empty: the table fills the client area

protected:
    void paintEvent(QPaintEvent* event) override;
};
