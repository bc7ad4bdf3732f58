#include "flash/ui/QtFlashMessageTarget.h"

#include <QCoreApplication>

QEvent::Type FlashThreadMessageEvent::EventType()
{
    static const int type = QEvent::registerEventType();
    return static_cast<QEvent::Type>(type);
}

FlashThreadMessageEvent::FlashThreadMessageEvent(UINT msg, WPARAM w, LPARAM l)
    : QEvent(EventType()), message(msg), wParam(w), lParam(l)
{
}

void QtFlashMessageTarget::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // postEvent is safe from any thread; the receiver lives as long as the application.
    QCoreApplication::postEvent(receiver_, new FlashThreadMessageEvent(message, wParam, lParam));
}
