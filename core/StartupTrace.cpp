#include "core/StartupTrace.h"

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

bool Enabled()
{
    static const bool enabled = [] {
        const char* value = std::getenv(StartupTrace::kVariable);
        return value != nullptr && *value != '\0';
    }();
    return enabled;
}

class FirstPaintWatcher final : public QObject {
public:
    FirstPaintWatcher(QWidget* window, const char* step) : QObject(window), step_(step) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == parent() && event->type() == QEvent::Paint) {
            StartupTrace::Mark(step_);
            watched->removeEventFilter(this);
            deleteLater();
        }
        return false;
    }

private:
    const char* step_;
};

} // namespace

void StartupTrace::Mark(const char* step)
{
    if (!Enabled()) return;
    static const auto start = std::chrono::steady_clock::now();
    const auto ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "zarn-startup: %.1f %s\n", ms, step);
    std::fflush(stderr);
}

void StartupTrace::MarkFirstPaint(QWidget* window, const char* step)
{
    if (!Enabled() || window == nullptr) return;
    window->installEventFilter(new FirstPaintWatcher(window, step));
}
