// The window-message stand-in on Qt: a registry of live windows by handle. A window registers with
// its message handler and gets a handle that any thread may post to; the registration ends when
// the window is destroyed (or is ended explicitly), after which posts to it are dropped.
// SendMessage is a direct call of the handler on the window's own thread.
#pragma once

#include "platform/MessageSink.h"

#include <QObject>

#include <cstdint>
#include <mutex>
#include <unordered_map>

class WindowMessageHandler;

class QtMessageSink final : public QObject, public MessageSink {
    Q_OBJECT
public:
    QtMessageSink();
    ~QtMessageSink() override;

    // The process-wide registry that the program's windows use.
    static QtMessageSink& Instance();

    // Registers a window (call on its thread); posted messages reach handler->WindowProc on that
    // thread. A window registered already keeps its handle. Null arguments give a null handle.
    HWND Register(QObject* window, WindowMessageHandler* handler);
    // Ends a registration early (e.g. from the window's destructor); later posts are dropped.
    void Unregister(HWND window);

    BOOL PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    BOOL IsWindow(HWND window) const override;

    // Calls the window's handler at once and returns its result. Only the window's own thread may
    // send; from another thread, or to a window that no longer exists, nothing is called and the
    // result is 0.
    LRESULT SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // The registered object of a handle (null when gone), and the handle of an object (null when
    // not registered). For Qt code on the user-interface thread.
    QObject* FindWindow(HWND window) const;
    HWND FindHandle(const QObject* window) const;

private:
    struct Entry {
        QObject* window;
        WindowMessageHandler* handler;
    };

    void Forget(std::uint64_t id);

    mutable std::mutex mutex_;
    std::unordered_map<std::uint64_t, Entry> windows_;
    std::uint64_t nextId_ = 1;
};
