// A key press as the windows' pre-translation sees it: the message, the virtual key and whether
// Ctrl was held. Keys carry their virtual-key numbers (VK_*), which the shortcut tables hold.
#pragma once

#include "platform/WinTypes.h"

#include <QKeyEvent>

constexpr UINT WM_KEYDOWN = 0x0100;
constexpr WPARAM VK_RETURN = 0x0D;
constexpr WPARAM VK_ESCAPE = 0x1B;

struct KeyMessage {
    UINT message = 0;
    WPARAM virtualKey = 0;
    bool control = false;

    // Letters and digits keep their upper-case character as key number, as virtual keys do.
    static KeyMessage FromKeyEvent(const QKeyEvent& event)
    {
        KeyMessage msg;
        msg.message = event.type() == QEvent::KeyPress ? WM_KEYDOWN : 0;
        const int key = event.key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            msg.virtualKey = VK_RETURN;
        } else if (key == Qt::Key_Escape) {
            msg.virtualKey = VK_ESCAPE;
        } else if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9)) {
            msg.virtualKey = static_cast<WPARAM>(key);
        }
        msg.control = (event.modifiers() & Qt::ControlModifier) != 0;
        return msg;
    }
};
