// Zarnflash: sets up Qt and the prompt service (questions on the error stream with ZARN_PROMPT_ECHO),
// then hands the process to the application object.
#include "core/EchoPromptService.h"
#include "flash/ui/CZarnflashApp.h"
#include "ui/controls/QtPromptService.h"

#include <QApplication>

#ifdef ZARN_WITH_SIMULATED_METER
#include "tests/support/flashswitch/SimulatedFlashSwitch.h"
#endif

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    const char* display = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (!(display && *display) && !(wayland && *wayland) && !(platform && *platform)) {
        std::fprintf(stderr, "Zarnflash needs a graphical display (DISPLAY or WAYLAND_DISPLAY), or\n"
                             "QT_QPA_PLATFORM=offscreen.\n");
        return 1;
    }
    QApplication qtApp(argc, argv);
    QtPromptService dialogs;
    EchoPromptService echo;
    PromptService::Install(EchoPromptService::Requested() ? static_cast<PromptService*>(&echo) : &dialogs);
    CZarnflashApp app;
#ifdef ZARN_WITH_SIMULATED_METER
    // Test builds only: a simulated meter in place of the real devices when the variable asks for it.
    std::unique_ptr<SimulatedFlashSwitch> simulated = SimulatedFlashSwitch::FromEnvironment();
    if (simulated != nullptr) app.prepareDialog = [&simulated](CZarnflashDlg& dialog) { simulated->Prepare(dialog); };
#endif
    app.InitInstance(std::vector<std::string>(argv, argv + argc));
    PromptService::Install(nullptr);
    return 0;
}
