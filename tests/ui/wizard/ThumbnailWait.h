// Waits, running the event loop, until the strip's loader has reached every photograph (a real-time
// limit only guards against a loader that never finishes).
#pragma once

#include "ui/wizard/CKZARN_ThumbnailWnd.h"
#include "ui/wizard/ExifInputValues.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace wizardtest {

inline bool WaitForThumbnails(CKZARN_ThumbnailWnd* strip)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 30000) {
        QCoreApplication::processEvents();
        bool all = true;
        for (int i = 0; i < strip->GetCount(); ++i) {
            ExifInputValues* record = strip->GetRecordAt(i);
            record->Lock();
            all = all && record->loadResult != ExifInputValues::kNotLoaded;
            record->Unlock();
        }
        if (all)
            return true;
    }
    return false;
}

} // namespace wizardtest
