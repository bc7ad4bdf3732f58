#include "ui/views/CKZARN_GparhWindow.h"

#include "ui/views/ZarnDrawing.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace {

void PaintGraph(QPainter& dc, int left, int top, int right, int bottom, void* context, int)
{
    static_cast<CKZARN_GparhWindow*>(context)->Paint(dc, left, top, right, bottom);
}

constexpr int kDraggable[4] = {CharacteristicPoints::kCPM, CharacteristicPoints::kDRM, CharacteristicPoints::kDRP,
                               CharacteristicPoints::kCPP};

bool Holds(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

CKZARN_GparhWindow::CKZARN_GparhWindow(QWidget* parent, const ZarnFontBuilder* fonts)
    : QWidget(parent), m_graph(fonts)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::ClickFocus);
    keyTimer_.setInterval(kKeyStepMs);
    connect(&keyTimer_, &QTimer::timeout, this, &CKZARN_GparhWindow::OnKeyStepTimer);
}

CKZARN_GparhWindow::~CKZARN_GparhWindow() = default;

void CKZARN_GparhWindow::SetGraph(int interactive, const std::string& title1, const std::string& title2,
                                  const std::string& title3, const std::vector<CET_GraphLine*>* curves,
                                  const CharacteristicPoints* points, int layout, const CET_GraphStyle* style,
                                  int aspectWidth, int aspectHeight)
{
    m_bInteractive = interactive;
    m_graph.SetGraph(interactive ? CET_GraphDraw::kInteractive : CET_GraphDraw::kWindow, title1, title2, title3,
                     curves, points, layout, style, aspectWidth, aspectHeight);
}

void CKZARN_GparhWindow::SetGraphFixedScale(int interactive, const std::string& title1, const std::string& title2,
                                            const std::string& title3, const std::vector<CET_GraphLine*>* curves,
                                            const CharacteristicPoints* points, int layout,
                                            const CET_GraphStyle* style)
{
    m_bInteractive = interactive;
    m_graph.SetGraph(interactive ? CET_GraphDraw::kStrip : CET_GraphDraw::kWindow, title1, title2, title3, curves,
                     points, layout, style, 30, 15);
}

RECT CKZARN_GparhWindow::GetMarkerRect(int index) const
{
    const double ev = index >= 0 && index < CharacteristicPoints::kCount ? m_graph.GetPoints().ev[index] : 0.0;
    const int x = m_graph.ValueToPoint(ev, m_graph.GetStyle().yMin).x;
    const int bottom = m_graph.GetPlotRect().bottom;
    return RECT{x - 5, bottom + 1, x + 5, bottom + 17};
}

void CKZARN_GparhWindow::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    OnPaint(painter);
}

void CKZARN_GparhWindow::OnPaint(QPainter& painter)
{
    DrawDoubleBuffered(painter, RECT{0, 0, width(), height()}, PaintGraph, this, 0);
}

void CKZARN_GparhWindow::Paint(QPainter& dc, int left, int top, int right, int bottom)
{
    if (IsRectEmpty(m_rcPage)) {
        m_graph.Draw(dc, RECT{left, top, right, bottom});
    } else {
        DrawRectOutline(dc, SolidPen(0x000000, 3), left + 1, top + 1, right - 2, bottom - 2);
        FillSolidRect(dc, RECT{left + 2, top + 2, right - 4, bottom - 4}, 0xFFFFFF);
        m_graph.Draw(dc, m_rcPage);
    }
    if (!m_bInteractive) {
        return;
    }
    // The triangles, the selected one last so that it lies on top.
    auto triangle = [&](int index) {
        const RECT r = GetMarkerRect(index);
        QPolygon shape;
        shape << QPoint((r.left + r.right) / 2, r.top) << QPoint(r.right, r.bottom) << QPoint(r.left, r.bottom);
        dc.save();
        dc.setPen(SolidPen(0x000000, 1));
        dc.setBrush(ColorFromRef(m_graph.GetStyle().markerColour[index]));
        dc.drawPolygon(shape);
        dc.restore();
    };
    for (int index : kDraggable) {
        if (index != m_nSelectedIndex) {
            triangle(index);
        }
    }
    if (m_nSelectedIndex >= 0 && m_nSelectedIndex != CharacteristicPoints::kCNT &&
        m_nSelectedIndex < CharacteristicPoints::kCount) {
        triangle(m_nSelectedIndex);
    }
}

void CKZARN_GparhWindow::RedrawNow()
{
    update();
    repaint();
}

void CKZARN_GparhWindow::OnLButtonDown(int x, int y)
{
    m_nDragIndex = -1;
    if (!m_bInteractive) {
        return;
    }
    // Before the first paint there is no scale to hit-test with.
    int taken = -1;
    if (m_graph.GetXScale() != 0.0) {
        if (m_nSelectedIndex >= 0 && Holds(GetMarkerRect(m_nSelectedIndex), x, y)) {
            taken = m_nSelectedIndex;
        } else {
            for (int index : kDraggable) {
                if (!Holds(GetMarkerRect(index), x, y) || !m_graph.CanMoveMarker(index)) {
                    continue;
                }
                int chosen = index;
                if (m_graph.IsMarkerAtLimit(chosen)) {
                    chosen = chosen == CharacteristicPoints::kCPM   ? CharacteristicPoints::kDRM
                             : chosen == CharacteristicPoints::kCPP ? CharacteristicPoints::kDRP
                                                                     : chosen;
                    if (m_graph.IsMarkerTooClose(chosen)) {
                        chosen = chosen == CharacteristicPoints::kDRM ? CharacteristicPoints::kCPM
                                                                      : CharacteristicPoints::kCPP;
                    }
                }
                taken = chosen;
                break;
            }
        }
    }
    if (taken >= 0) {
        m_nDragIndex = taken;
        m_nSelectedIndex = taken;
        RedrawNow();
        grabMouse();
    }
    setFocus(Qt::MouseFocusReason);
}

void CKZARN_GparhWindow::OnMouseMove(int x, int)
{
    if (m_nDragIndex < 0 || m_graph.GetXScale() == 0.0) {
        return;
    }
    m_nLastMouseX = x;
    const double kept = m_graph.SetMarker(m_nDragIndex, m_graph.PixelToX(x));
    if (m_pCallbackContext && m_bLiveDrag == 1 && m_pfnCallback) {
        m_pfnCallback(m_pCallbackContext, m_nDragIndex, kept);
    }
    RedrawNow();
}

void CKZARN_GparhWindow::OnLButtonUp(int x, int)
{
    if (m_nDragIndex < 0) {
        return;
    }
    const int index = m_nDragIndex;
    m_nDragIndex = -1;
    releaseMouse();
    if (m_graph.GetXScale() == 0.0) {
        return;
    }
    m_nLastMouseX = x;
    const double kept = m_graph.SetMarker(index, m_graph.PixelToX(x));
    // The owners' callbacks read their form through the context, so it is called only with one.
    if (m_pfnCallback && m_pCallbackContext) {
        m_pfnCallback(m_pCallbackContext, index, kept);
    }
}

void CKZARN_GparhWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        OnLButtonDown(event->position().toPoint().x(), event->position().toPoint().y());
    }
    QWidget::mousePressEvent(event);
}

void CKZARN_GparhWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        OnLButtonUp(event->position().toPoint().x(), event->position().toPoint().y());
    }
    QWidget::mouseReleaseEvent(event);
}

void CKZARN_GparhWindow::mouseMoveEvent(QMouseEvent* event)
{
    OnMouseMove(event->position().toPoint().x(), event->position().toPoint().y());
    QWidget::mouseMoveEvent(event);
}

bool CKZARN_GparhWindow::PreTranslateMessage(QKeyEvent* event)
{
    if (!m_bInteractive || m_nSelectedIndex < 0 || !event) {
        return false;
    }
    const int key = event->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right) {
        return false;
    }
    bool& held = key == Qt::Key_Right ? rightHeld_ : leftHeld_;
    if (event->type() == QEvent::KeyRelease) {
        if (!event->isAutoRepeat()) {
            held = false;
            if (!leftHeld_ && !rightHeld_) {
                StopKeyStepping();
            }
        }
        return true;
    }
    // Held keys repeat; the timer sets the pace, so repeats only confirm the key. A second arrow
    // pressed while the first is held joins the running steps.
    const bool stepping = leftHeld_ || rightHeld_;
    held = true;
    if (!stepping) {
        StepSelected(rightHeld_ ? 1 : -1);
        keyTimer_.start();
    }
    return true;
}

void CKZARN_GparhWindow::OnKeyStepTimer()
{
    if ((!leftHeld_ && !rightHeld_) || m_nSelectedIndex < 0) {
        StopKeyStepping();
        return;
    }
    StepSelected(rightHeld_ ? 1 : -1);
}

void CKZARN_GparhWindow::StepSelected(int direction)
{
    const int index = m_nSelectedIndex;
    if (index < 0 || index >= CharacteristicPoints::kCount) {
        return;
    }
    const double old = m_graph.GetPoints().ev[index];
    const double kept = m_graph.SetMarker(index, old + direction * kKeyStepEv);
    if (kept != old) {
        RedrawNow();
        if (m_pCallbackContext && m_pfnCallback) {
            m_pfnCallback(m_pCallbackContext, index, kept);
        }
    }
}

void CKZARN_GparhWindow::StopKeyStepping()
{
    leftHeld_ = false;
    rightHeld_ = false;
    keyTimer_.stop();
}

void CKZARN_GparhWindow::keyPressEvent(QKeyEvent* event)
{
    if (PreTranslateMessage(event)) {
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

void CKZARN_GparhWindow::keyReleaseEvent(QKeyEvent* event)
{
    if (PreTranslateMessage(event)) {
        event->accept();
        return;
    }
    QWidget::keyReleaseEvent(event);
}

void CKZARN_GparhWindow::focusOutEvent(QFocusEvent* event)
{
    // A key released elsewhere never reaches the window: stop stepping when the focus leaves.
    StopKeyStepping();
    QWidget::focusOutEvent(event);
}
