// Where the downloader's worker posts its thread messages: the user-interface thread's queue in the
// program, a recording queue in tests. Post may be called from any thread and never waits for the
// receiver.
#pragma once

#include "platform/WinTypes.h"

class FlashMessageTarget {
public:
    virtual ~FlashMessageTarget() = default;
    virtual void PostThreadMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;
};
