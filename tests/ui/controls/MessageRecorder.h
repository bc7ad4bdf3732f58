// A window that records the messages it receives, for the message tests.
#pragma once

#include "platform/qt/WindowMessageHandler.h"

#include <QCoreApplication>
#include <QObject>

#include <mutex>
#include <vector>

namespace message_test {

struct Received {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

class Recorder : public QObject, public WindowMessageHandler {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        std::lock_guard lock(mutex);
        received.push_back({message, wParam, lParam});
        return static_cast<LRESULT>(wParam) + 100;
    }
    std::mutex mutex; // the test reads while other threads post; delivery is on this thread only
    std::vector<Received> received;
};

inline void Deliver()
{
    QCoreApplication::sendPostedEvents();
}

} // namespace message_test
