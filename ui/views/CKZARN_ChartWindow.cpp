#include "ui/views/CKZARN_ChartWindow.h"

#include "ui/views/ZarnDrawing.h"

#include <QPainter>

namespace {

void PaintChart(QPainter& dc, int left, int top, int right, int bottom, void* context, int)
{
    static_cast<CKZARN_ChartWindow*>(context)->Paint(dc, left, top, right, bottom);
}

} // namespace

CKZARN_ChartWindow::CKZARN_ChartWindow(QWidget* parent, const ZarnFontBuilder* fonts)
    : QWidget(parent), m_chart(fonts)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CKZARN_ChartWindow::~CKZARN_ChartWindow() = default;

void CKZARN_ChartWindow::SetChart(const std::vector<std::string>& titles, const std::vector<std::string>& headers,
                                  const std::vector<CET_ChartData*>& rows, COLORREF background, COLORREF header,
                                  COLORREF band)
{
    m_chart.SetData(1, titles, headers, rows, background, header, band);
}

void CKZARN_ChartWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    OnPaint(painter);
}

void CKZARN_ChartWindow::OnPaint(QPainter& painter)
{
    DrawDoubleBuffered(painter, RECT{0, 0, width(), height()}, PaintChart, this, 0);
}

void CKZARN_ChartWindow::Paint(QPainter& dc, int left, int top, int right, int bottom)
{
    if (IsRectEmpty(m_rcPage)) {
        m_chart.Draw(dc, left, top, right, bottom);
        return;
    }
    DrawRectOutline(dc, SolidPen(0x000000, 3), left + 1, top + 1, right - 2, bottom - 2);
    FillSolidRect(dc, RECT{left + 2, top + 2, right - 4, bottom - 4}, 0xFFFFFF);
    m_chart.Draw(dc, m_rcPage.left, m_rcPage.top, m_rcPage.right, m_rcPage.bottom);
}
