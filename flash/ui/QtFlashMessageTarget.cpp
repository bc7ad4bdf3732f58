#include "flash/ui/QtFlashMessageTarget.h"

#include <QCoreApplication>

#include <atomic>

namespace {

// Every post releases, every take acquires: the order Qt's queue gives anyway, stated in C++.
std::atomic<unsigned long> g_posted{0};

} // namespace

QEvent::Type FlashThreadMessageEvent::EventType()
{
    static const int type = QEvent::registerEventType();
    return static_cast<QEvent::Type>(type);
}

const FlashThreadMessageEvent* FlashThreadMessageEvent::Take(const QEvent* e)
{
    g_posted.load(std::memory_order_acquire);
    return e->type() == EventType() ? static_cast<const FlashThreadMessageEvent*>(e) : nullptr;
}

FlashThreadMessageEvent::FlashThreadMessageEvent(UINT msg, WPARAM w, LPARAM l)
    : QEvent(EventType()), message(msg), wParam(w), lParam(l)
{
}

void QtFlashMessageTarget::PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    // postEvent is safe from any thread; the receiver lives as long as the application.
    auto* event = new FlashThreadMessageEvent(message, wParam, lParam);
    g_posted.fetch_add(1, std::memory_order_release);
    QCoreApplication::postEvent(receiver_, event);
}
