#include "platform/qt/WindowMessageEvent.h"

WindowMessageEvent::WindowMessageEvent(UINT message, WPARAM wParam, LPARAM lParam)
    : QEvent(static_cast<QEvent::Type>(message)), message_(message), wParam_(wParam), lParam_(lParam)
{
}

BOOL WindowMessageEvent::IsPostable(UINT message)
{
    return message >= WM_USER && message <= static_cast<UINT>(QEvent::MaxUser) ? TRUE : FALSE;
}

const WindowMessageEvent* WindowMessageEvent::From(const QEvent* event)
{
    // Other user events may share a number; only our own class carries message words.
    if (event == nullptr || event->type() < QEvent::User || event->type() > QEvent::MaxUser) {
        return nullptr;
    }
    return dynamic_cast<const WindowMessageEvent*>(event);
}
