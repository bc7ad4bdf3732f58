// A part of the test switch: with ZARN_SIMULATED_CLOSE_ON_INPUT set, the first line on the standard
// input closes the program as a user would, whatever it is doing: the modal dialog that is up (as
// its close box does), then the main window. It says "closing" on the error stream first, so that
// the driving test can time the end from there.
#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

class SimulatedCloseOnInput final : public QObject {
    Q_OBJECT
public:
    static constexpr const char* kVariable = "ZARN_SIMULATED_CLOSE_ON_INPUT";

    // Null when the variable is unset.
    static std::unique_ptr<SimulatedCloseOnInput> FromEnvironment();
    SimulatedCloseOnInput();
    ~SimulatedCloseOnInput() override;

private:
    void OnInput();

    std::unique_ptr<QSocketNotifier> notifier_;
};
