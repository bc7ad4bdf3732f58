// The child window that paints one graph without flicker and, when interactive, lets the user drag
// CPM, DRM, DRP and CPP along the EV axis with the mouse or step the selected one with the Left and
// Right keys. Every move goes to the owner's callback.
//
// Keys: only Left and Right are taken, and only while a marker is selected in an interactive window.
// A press steps once at once; while the key is held a timer steps every 100 ms (Right when both are
// held); releasing the last held arrow stops it.
// Every other key (Tab, Esc, Enter among them) goes on to the dialog.
#pragma once

#include "platform/WinTypes.h"
#include "ui/views/CET_GraphDraw.h"

#include <QTimer>
#include <QWidget>

// (context, marker index 0..4, new EV).
using GraphMarkerCallback = void (*)(void* context, int index, double ev);

class CKZARN_GparhWindow : public QWidget {
    Q_OBJECT
public:
    static constexpr int kKeyStepMs = 100;
    static constexpr double kKeyStepEv = 0.1;

    explicit CKZARN_GparhWindow(QWidget* parent = nullptr, const ZarnFontBuilder* fonts = nullptr);
    ~CKZARN_GparhWindow() override;

    // Kind 1 when interactive, else 0. Does not repaint; owners update the window.
    void SetGraph(int interactive, const std::string& title1, const std::string& title2, const std::string& title3,
                  const std::vector<CET_GraphLine*>* curves, const CharacteristicPoints* points, int layout,
                  const CET_GraphStyle* style, int aspectWidth, int aspectHeight);
    // Kind 2 (the compact EV strip) when interactive, else 0; aspect 30 : 15.
    void SetGraphFixedScale(int interactive, const std::string& title1, const std::string& title2,
                            const std::string& title3, const std::vector<CET_GraphLine*>* curves,
                            const CharacteristicPoints* points, int layout, const CET_GraphStyle* style);

    // The rectangle of a marker's triangle under the plot of the last Draw.
    RECT GetMarkerRect(int index) const;

    void OnPaint(QPainter& painter);
    void Paint(QPainter& dc, int left, int top, int right, int bottom);
    void OnLButtonDown(int x, int y);
    void OnLButtonUp(int x, int y);
    void OnMouseMove(int x, int y);
    // The key hook: true when the key was taken by the window.
    bool PreTranslateMessage(QKeyEvent* event);
    // One step of the held arrow key (the timer's tick).
    void OnKeyStepTimer();
    bool IsKeyStepping() const { return leftHeld_ || rightHeld_; }

    int m_bInteractive = 0;
    CET_GraphDraw m_graph;
    RECT m_rcPage{};
    int m_nDragIndex = -1;
    int m_nSelectedIndex = -1;
    int m_nLastMouseX = 0;
    int m_bLiveDrag = 1;
    GraphMarkerCallback m_pfnCallback = nullptr;
    void* m_pCallbackContext = nullptr;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void RedrawNow();
    void StepSelected(int direction);
    void StopKeyStepping();

    QTimer keyTimer_;
    // The arrow keys held down; while both are, Right wins.
    bool leftHeld_ = false;
    bool rightHeld_ = false;
};
