#include "platform/qt/WindowMessageFilter.h"

#include "platform/qt/QtMessageSink.h"
#include "platform/qt/WindowMessageEvent.h"
#include "platform/qt/WindowMessageHandler.h"

WindowMessageFilter::WindowMessageFilter(QObject* window, WindowMessageHandler* handler,
                                         QtMessageSink* sink, HWND handle)
    : QObject(window), window_(window), handler_(handler), sink_(sink), handle_(handle)
{
    setObjectName(QStringLiteral("WindowMessageFilter"));
    window->installEventFilter(this);
}

bool WindowMessageFilter::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_) {
        if (const WindowMessageEvent* message = WindowMessageEvent::From(event)) {
            if (sink_ != nullptr && sink_->IsWindow(handle_)) {
                handler_->WindowProc(message->Message(), message->WParam(), message->LParam());
            }
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
