#include "ui/wizard/WizardCalcThread.h"

WizardCalcThread::WizardCalcThread(std::function<int()> work) : work_(std::move(work)) {}

WizardCalcThread::~WizardCalcThread()
{
    Wait();
}

void WizardCalcThread::Resume()
{
    if (started_)
        return;
    started_ = true;
    thread_ = std::thread([this] {
        exitCode_ = work_ ? work_() : 0;
        ended_.store(true);
    });
}

void WizardCalcThread::Wait()
{
    if (thread_.joinable())
        thread_.join();
}
