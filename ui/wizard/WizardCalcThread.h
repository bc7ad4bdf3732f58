// The calculation's thread object: created suspended with its work, started by the progress dialog
// that waits for it, and joined before anyone reads its result.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

class WizardCalcThread {
public:
    // work: the thread's body; its return value is the thread's exit code.
    explicit WizardCalcThread(std::function<int()> work);
    ~WizardCalcThread(); // joins a started thread
    WizardCalcThread(const WizardCalcThread&) = delete;
    WizardCalcThread& operator=(const WizardCalcThread&) = delete;

    // Starts the thread (once).
    void Resume();
    // True from Resume until the body has returned.
    bool IsActive() const { return started_ && !ended_.load(); }
    // Waits for the end of a started thread.
    void Wait();
    int ExitCode() const { return exitCode_; }

private:
    std::function<int()> work_;
    std::thread thread_;
    bool started_ = false;
    std::atomic<bool> ended_{false};
    int exitCode_ = 0;
};
