// Carries the worker's thread messages to the user-interface thread: each post becomes a Qt event
// for the receiving object, delivered in order on the thread that owns it.
#pragma once

#include "flash/FlashMessageTarget.h"

#include <QEvent>
#include <QObject>
#include <QPointer>

class FlashThreadMessageEvent final : public QEvent {
public:
    static QEvent::Type EventType();
    // The message an event carries, or null for any other event. Call it on the receiving thread
    // before looking at the event at all: it pairs with the post, so the event's fields are ordered
    // after their writing on the posting thread also where only Qt's own (uninstrumented) lock
    // orders them, which ThreadSanitizer cannot see.
    static const FlashThreadMessageEvent* Take(const QEvent* e);
    FlashThreadMessageEvent(UINT message, WPARAM wParam, LPARAM lParam);
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class QtFlashMessageTarget final : public FlashMessageTarget {
public:
    explicit QtFlashMessageTarget(QObject* receiver) : receiver_(receiver) {}
    void PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    QObject* receiver_;
};
