#include "platform/qt/QtMessageSink.h"

#include "platform/qt/WindowMessageEvent.h"
#include "platform/qt/WindowMessageFilter.h"
#include "platform/qt/WindowMessageHandler.h"

#include <QCoreApplication>
#include <QThread>

QtMessageSink::QtMessageSink() = default;

QtMessageSink::~QtMessageSink()
{
    std::lock_guard lock(mutex_);
    windows_.clear();
}

QtMessageSink& QtMessageSink::Instance()
{
    static QtMessageSink instance;
    return instance;
}

HWND QtMessageSink::Register(QObject* window, WindowMessageHandler* handler)
{
    if (window == nullptr || handler == nullptr) {
        return HWND();
    }
    std::uint64_t id = 0;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [existingId, entry] : windows_) {
            if (entry.window == window) {
                return HWND(existingId);
            }
        }
        id = nextId_++;
        windows_.emplace(id, Entry{window, handler});
    }
    new WindowMessageFilter(window, handler, this, HWND(id));
    // destroyed() comes before the object's memory goes and before Qt discards the events still
    // queued for it; removing the entry under the lock means no post can reach a dead window.
    connect(window, &QObject::destroyed, this, [this, id] { Forget(id); }, Qt::DirectConnection);
    return HWND(id);
}

void QtMessageSink::Unregister(HWND window)
{
    Forget(window.Id());
}

void QtMessageSink::Forget(std::uint64_t id)
{
    std::lock_guard lock(mutex_);
    windows_.erase(id);
}

BOOL QtMessageSink::PostMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!WindowMessageEvent::IsPostable(message)) {
        return FALSE;
    }
    // The lock is held while posting so that the window cannot finish its destruction between
    // the look-up and the post; QCoreApplication::postEvent is safe from any thread.
    std::lock_guard lock(mutex_);
    const auto it = windows_.find(window.Id());
    if (it == windows_.end()) {
        return FALSE;
    }
    QCoreApplication::postEvent(it->second.window, new WindowMessageEvent(message, wParam, lParam));
    return TRUE;
}

BOOL QtMessageSink::IsWindow(HWND window) const
{
    std::lock_guard lock(mutex_);
    return windows_.count(window.Id()) != 0 ? TRUE : FALSE;
}

LRESULT QtMessageSink::SendMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowMessageHandler* handler = nullptr;
    {
        std::lock_guard lock(mutex_);
        const auto it = windows_.find(window.Id());
        if (it == windows_.end() || it->second.window->thread() != QThread::currentThread()) {
            return 0;
        }
        handler = it->second.handler;
    }
    // Called without the lock: the handler may post or send further messages.
    return handler->WindowProc(message, wParam, lParam);
}

QObject* QtMessageSink::FindWindow(HWND window) const
{
    std::lock_guard lock(mutex_);
    const auto it = windows_.find(window.Id());
    return it == windows_.end() ? nullptr : it->second.window;
}

HWND QtMessageSink::FindHandle(const QObject* window) const
{
    std::lock_guard lock(mutex_);
    for (const auto& [id, entry] : windows_) {
        if (entry.window == window) {
            return HWND(id);
        }
    }
    return HWND();
}
