// Ends a reference view once its event loop runs: with its back button, or through the close box.
#pragma once

#include <QTimer>

template <typename View>
void EndViewSoon(View* dialog, bool back)
{
    QTimer::singleShot(0, dialog, [dialog, back]() {
        if (back) {
            dialog->OnBack();
        } else {
            dialog->close();
        }
    });
}
