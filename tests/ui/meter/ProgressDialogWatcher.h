// Watches every progress dialog of the application: records the progress and done messages that
// reach it, the texts it shows when it goes, and presses OK once the reply has been shown (as a
// user would), so that a modal run ends without anyone at the keyboard.
#pragma once

#include "meter/ZarnMeterMessages.h"
#include "ui/meter/CKZARN_ProgressDlg.h"
#include "platform/qt/WindowMessageEvent.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QMetaObject>
#include <QPointer>

#include <utility>
#include <vector>

class ProgressDialogWatcher final : public QObject {
public:
    struct Run {
        std::vector<std::pair<WPARAM, LPARAM>> progress;
        int doneCount = 0;
        int progressAfterDone = 0;
        LPARAM result = -1;
        QString caption;  // when the dialog went
        QString message;
        bool okFocused = false; // when the reply had been shown
        bool pressedOk = false;
    };

    explicit ProgressDialogWatcher(bool pressOk = true) : pressOk_(pressOk) { qApp->installEventFilter(this); }
    ~ProgressDialogWatcher() override { qApp->removeEventFilter(this); }

    const std::vector<Run>& Runs() const { return runs_; }
    const Run& Last() const { return runs_.back(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* dialog = qobject_cast<CKZARN_ProgressDlg*>(watched);
        if (dialog == nullptr) return false;
        if (event->type() == QEvent::Show) {
            runs_.emplace_back();
            current_ = dialog;
        }
        if (dialog != current_ || runs_.empty()) return false;
        Run& run = runs_.back();
        if (const WindowMessageEvent* message = WindowMessageEvent::From(event)) {
            if (message->Message() == WM_ZARN_PROGRESS) {
                run.progress.emplace_back(message->WParam(), message->LParam());
                if (run.doneCount > 0) ++run.progressAfterDone;
            } else if (message->Message() == WM_ZARN_COMMAND_DONE) {
                ++run.doneCount;
                run.result = message->LParam();
                // After the dialog has handled the reply: press OK where it waits for it.
                QPointer<CKZARN_ProgressDlg> guard(dialog);
                QMetaObject::invokeMethod(
                    dialog,
                    [this, guard] {
                        if (!guard || runs_.empty()) return;
                        auto* ok = static_cast<QAbstractButton*>(guard->FindControl(CKZARN_ProgressDlg::kOkButtonId));
                        runs_.back().okFocused = guard->focusWidget() == ok;
                        if (pressOk_ && guard->isVisible() && !ok->isHidden()) {
                            runs_.back().pressedOk = true;
                            ok->click();
                        }
                    },
                    Qt::QueuedConnection);
            }
        } else if (event->type() == QEvent::Hide) {
            run.caption = dialog->windowTitle();
            run.message = static_cast<QLabel*>(dialog->FindControl(CKZARN_ProgressDlg::kMessageId))->text();
        }
        return false;
    }

private:
    bool pressOk_;
    const CKZARN_ProgressDlg* current_ = nullptr;
    std::vector<Run> runs_;
};
