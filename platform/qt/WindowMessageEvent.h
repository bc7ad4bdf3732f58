// A posted window message: a QEvent whose type is the message number itself (WM_USER and WM_APP
// messages lie inside Qt's user event range), carrying the two message words.
#pragma once

#include "platform/WinTypes.h"

#include <QEvent>

class WindowMessageEvent final : public QEvent {
public:
    WindowMessageEvent(UINT message, WPARAM wParam, LPARAM lParam);

    UINT Message() const { return message_; }
    WPARAM WParam() const { return wParam_; }
    LPARAM LParam() const { return lParam_; }

    // TRUE when the number can travel as an event type: WM_USER (0x400) up to QEvent::MaxUser.
    static BOOL IsPostable(UINT message);
    // The event as a window message, or null for any other event.
    static const WindowMessageEvent* From(const QEvent* event);

private:
    UINT message_;
    WPARAM wParam_;
    LPARAM lParam_;
};
