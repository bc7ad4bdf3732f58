// The borderless picture window shown when the main window opens and again when it closes. It
// goes away after two seconds or at the first key or mouse-button press anywhere in the program,
// which it swallows. With the close-main-window switch set, its end also ends the main window.
#pragma once

#include "platform/WinTypes.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

#include <string>

class CSplashWnd final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kTimerId = 1;
    static constexpr int kShowMilliseconds = 2000;
    static constexpr int kBitmapWidth = 701;
    static constexpr int kBitmapHeight = 300;
    static constexpr const char* kBitmapFileName = "Splash.png";

    ~CSplashWnd() override;

    static void EnableSplashScreen(BOOL enable, BOOL closeMainWindow);
    // Shows the splash over the parent when enabled and none exists. Returns TRUE when a splash
    // exists afterwards (also one that was up already), FALSE when none is shown. When the picture
    // or the window cannot be made while the close-main-window switch is set, the main window is
    // ended at once: no splash will come to end it.
    static BOOL ShowSplashScreen(QWidget* parent);
    // Removes the splash; then ends the main window (close-main-window switch) or repaints it.
    static void HideSplashScreen();
    // For every event of the program while a splash exists: key and mouse-button presses remove
    // it and are swallowed (TRUE); everything else goes on (FALSE).
    static BOOL PreTranslateAppMessage(QObject* receiver, QEvent* event);
    static BOOL IsSplashShown();
    static CSplashWnd* Current();
    static BOOL IsEnabled();
    static BOOL ClosesMainWindow();

    // The picture: "Splash.png" in the program folder.
    static std::string BitmapPath();

    // The timer's end (also called by tests instead of waiting two seconds).
    void OnTimer();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CSplashWnd(QWidget* owner, const QPixmap& bitmap);
    // Centres on the owner when it is shown already (the closing splash), else on the screen.
    void CenterOnOwner();
    static void EndMainWindow();

    QPixmap bitmap_;
    QTimer timer_;

    static BOOL s_enabled;
    static BOOL s_closeMainWindow;
    static CSplashWnd* s_current;
};
