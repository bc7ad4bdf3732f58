// Delivers the window messages posted to one registered window to its handler. Installed as an
// event filter on the window and kept as its child, so it lives exactly as long as the window.
// A message that was queued before the registration ended is dropped on arrival.
#pragma once

#include "platform/WindowHandle.h"

#include <QObject>
#include <QPointer>

class QtMessageSink;
class WindowMessageHandler;

class WindowMessageFilter final : public QObject {
    Q_OBJECT
public:
    WindowMessageFilter(QObject* window, WindowMessageHandler* handler, QtMessageSink* sink, HWND handle);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QObject* window_;
    WindowMessageHandler* handler_;
    QPointer<QtMessageSink> sink_;
    HWND handle_;
};
