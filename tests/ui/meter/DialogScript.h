// Runs a step as soon as a dialog of type T is shown by a modal run, from inside that run's own
// event loop: the step plays the worker's part (posting its messages) or the user's.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QMetaObject>
#include <QPointer>

#include <functional>

template <typename T>
class DialogScript final : public QObject {
public:
    explicit DialogScript(std::function<void(T*)> step) : step_(std::move(step)) { qApp->installEventFilter(this); }
    ~DialogScript() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Show) {
            if (auto* dialog = qobject_cast<T*>(watched)) {
                QPointer<T> guard(dialog);
                QMetaObject::invokeMethod(
                    dialog, [this, guard] { if (guard) step_(guard.data()); }, Qt::QueuedConnection);
            }
        }
        return false;
    }

private:
    std::function<void(T*)> step_;
};
