// What a window offers to receive window messages: one procedure for every message, posted or
// sent, so a window handles its messages in one place whichever way they arrive.
#pragma once

#include "platform/WinTypes.h"

class WindowMessageHandler {
public:
    virtual ~WindowMessageHandler() = default;
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};
