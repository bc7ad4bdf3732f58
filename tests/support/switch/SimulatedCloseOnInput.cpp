#include "tests/support/switch/SimulatedCloseOnInput.h"

#include "ui/main/CKZARN_MainDlg.h"

#include <QApplication>
#include <QSocketNotifier>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

std::unique_ptr<SimulatedCloseOnInput> SimulatedCloseOnInput::FromEnvironment()
{
    const char* value = std::getenv(kVariable);
    if (value == nullptr || *value == '\0') return nullptr;
    return std::make_unique<SimulatedCloseOnInput>();
}

SimulatedCloseOnInput::SimulatedCloseOnInput()
    : notifier_(std::make_unique<QSocketNotifier>(STDIN_FILENO, QSocketNotifier::Read))
{
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] { OnInput(); });
}

SimulatedCloseOnInput::~SimulatedCloseOnInput() = default;

void SimulatedCloseOnInput::OnInput()
{
    notifier_->setEnabled(false);
    char buffer[64];
    (void)::read(STDIN_FILENO, buffer, sizeof buffer);
    std::fprintf(stderr, "zarndesk: closing\n");
    std::fflush(stderr);
    if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
    // The main window once the dialog's own run has ended.
    QTimer::singleShot(0, [] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* main = qobject_cast<CKZARN_MainDlg*>(widget); main != nullptr && !main->IsDestroyed()) {
                main->close();
            }
        }
    });
}
