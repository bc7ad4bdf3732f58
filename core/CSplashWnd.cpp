#include "core/CSplashWnd.h"

#include "core/CKZARN_Common.h"
#include "core/CKestrinZarnApp.h"
#include "core/ZarnMainWindow.h"

#include <QApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

BOOL CSplashWnd::s_enabled = FALSE;
BOOL CSplashWnd::s_closeMainWindow = FALSE;
CSplashWnd* CSplashWnd::s_current = nullptr;

CSplashWnd::CSplashWnd(QWidget* owner, const QPixmap& bitmap)
    : QWidget(owner, Qt::SplashScreen | Qt::FramelessWindowHint), bitmap_(bitmap), timer_(this)
{
    setAttribute(Qt::WA_DeleteOnClose, false);
    setCursor(Qt::ArrowCursor);
    setFixedSize(bitmap_.size());
    timer_.setSingleShot(true);
    timer_.setInterval(kShowMilliseconds);
    connect(&timer_, &QTimer::timeout, this, &CSplashWnd::OnTimer);
}

CSplashWnd::~CSplashWnd()
{
    if (s_current == this) {
        s_current = nullptr;
        if (qApp != nullptr) {
            qApp->removeEventFilter(this);
        }
    }
}

void CSplashWnd::EnableSplashScreen(BOOL enable, BOOL closeMainWindow)
{
    s_enabled = enable;
    s_closeMainWindow = closeMainWindow;
}

BOOL CSplashWnd::IsEnabled()
{
    return s_enabled;
}

BOOL CSplashWnd::ClosesMainWindow()
{
    return s_closeMainWindow;
}

BOOL CSplashWnd::IsSplashShown()
{
    return s_current != nullptr ? TRUE : FALSE;
}

CSplashWnd* CSplashWnd::Current()
{
    return s_current;
}

std::string CSplashWnd::BitmapPath()
{
    return CKZARN_Common::GetFolderPath(5) + kBitmapFileName;
}

BOOL CSplashWnd::ShowSplashScreen(QWidget* parent)
{
    if (!s_enabled) {
        return FALSE;
    }
    if (s_current != nullptr) {
        return TRUE;
    }
    const QPixmap bitmap(QString::fromStdString(BitmapPath()));
    if (bitmap.isNull()) {
        // The old way waited for a splash that never came and so never closed the main window.
        if (s_closeMainWindow) {
            EndMainWindow();
        }
        return FALSE;
    }
    auto* splash = new CSplashWnd(parent, bitmap);
    s_current = splash;
    splash->CenterOnOwner();
    splash->show();
    qApp->installEventFilter(splash);
    splash->timer_.start();
    splash->repaint();
    return TRUE;
}

void CSplashWnd::CenterOnOwner()
{
    QRect area;
    if (parentWidget() != nullptr && parentWidget()->isVisible()) {
        area = parentWidget()->frameGeometry();
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        area = screen->availableGeometry();
    }
    if (area.isValid()) {
        move(area.center() - QPoint(width() / 2, height() / 2));
    }
}

void CSplashWnd::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, bitmap_);
}

void CSplashWnd::OnTimer()
{
    HideSplashScreen();
}

void CSplashWnd::HideSplashScreen()
{
    CSplashWnd* splash = s_current;
    if (splash != nullptr) {
        s_current = nullptr;
        qApp->removeEventFilter(splash);
        splash->timer_.stop();
        splash->hide();
        // Deleted once the event that brought us here has been handled.
        splash->deleteLater();
    }
    if (s_closeMainWindow) {
        EndMainWindow();
    } else if (CKestrinZarnApp* app = CKestrinZarnApp::GetApp(); app != nullptr && app->GetMainWindow() != nullptr) {
        if (QWidget* main = app->GetMainWindow()->Widget()) {
            main->update();
        }
    }
}

void CSplashWnd::EndMainWindow()
{
    CKestrinZarnApp* app = CKestrinZarnApp::GetApp();
    if (app != nullptr && app->GetMainWindow() != nullptr) {
        app->GetMainWindow()->DestroyWindow();
    }
}

BOOL CSplashWnd::PreTranslateAppMessage(QObject*, QEvent* event)
{
    if (s_current == nullptr || event == nullptr) {
        return FALSE;
    }
    switch (event->type()) {
    case QEvent::ShortcutOverride:
        // Claimed so that no shortcut fires; the key press that follows removes the splash.
        event->accept();
        return TRUE;
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
    case QEvent::NonClientAreaMouseButtonDblClick:
        HideSplashScreen();
        return TRUE;
    default:
        return FALSE;
    }
}

bool CSplashWnd::eventFilter(QObject* watched, QEvent* event)
{
    // An owner shown after the splash (the main window shows it while it initialises) is not yet
    // placed when its show event comes (its frame still lies at the origin): the splash stays
    // centred on the screen, and above it.
    if (watched == parentWidget() && event->type() == QEvent::Show) {
        raise();
        return false;
    }
    return PreTranslateAppMessage(watched, event) != FALSE;
}
