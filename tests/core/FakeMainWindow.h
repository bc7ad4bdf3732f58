// A main window for the application object's tests: a plain dialog that records what the
// application asks of it, and runs a callback in place of its modal loop.
#pragma once

#include "core/ZarnMainWindow.h"

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class FakeMainWindow final : public ZarnMainWindow {
public:
    explicit FakeMainWindow(std::vector<std::string>* log) : log_(log) {}

    QWidget* Widget() override { return &dialog_; }
    int DoModal() override
    {
        log_->push_back("modal");
        if (duringModal) duringModal();
        return 1;
    }
    void DestroyWindow() override
    {
        log_->push_back("destroy window");
        ++destroyed;
    }
    int OnExternalProgramStarting(const std::string& file, const std::string&) override
    {
        log_->push_back("starting " + file);
        return 1;
    }
    LRESULT OnExternalProgramEnded(WPARAM wParam, LPARAM) override
    {
        log_->push_back("ended");
        lastEndedWParam = wParam;
        return 1;
    }

    std::function<void()> duringModal;
    int destroyed = 0;
    WPARAM lastEndedWParam = 0;

private:
    std::vector<std::string>* log_;
    QDialog dialog_;
};
