// What a window offers to receive window messages: one procedure for every message, posted or
// sent, like the window procedure of the original platform.
#pragma once

#include "platform/WinTypes.h"

class WindowMessageHandler {
public:
    virtual ~WindowMessageHandler() = default;
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};
