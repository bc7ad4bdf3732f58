// Zarndesk: sets up Qt and the prompt service, then hands the process to the application object,
// which runs the main window and ends the program in order.
#include "core/CKestrinZarnApp.h"
#include "core/EchoPromptService.h"
#include "core/StartupTrace.h"
#include "ui/ZarndeskParts.h"
#include "ui/controls/QtPromptService.h"

#include <QApplication>

#ifdef ZARN_WITH_SIMULATED_METER
#include "tests/support/switch/SimulatedMeterSwitch.h"
#endif

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Without a display Qt would stop with a message about platform plug-ins; say what is missing.
bool HasDisplay()
{
    return IsSet("QT_QPA_PLATFORM") || IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

} // namespace

int main(int argc, char** argv)
{
    StartupTrace::Mark("main");
    if (!HasDisplay()) {
        std::fprintf(stderr,
                     "Zarndesk needs a graphical display, and none is set (neither DISPLAY nor WAYLAND_DISPLAY).\n"
                     "Start it from a desktop session, under a virtual display (xvfb-run scripts/run.sh),\n"
                     "or without a window at all with QT_QPA_PLATFORM=offscreen.\n");
        return 1;
    }
    QApplication qtApp(argc, argv);
    StartupTrace::Mark("qt application");

    QtPromptService dialogs;
    EchoPromptService echo;
    const bool echoing = EchoPromptService::Requested();
    PromptService::Install(echoing ? static_cast<PromptService*>(&echo) : &dialogs);

#ifdef ZARN_WITH_SIMULATED_METER
    // Test builds only: a simulated meter in place of the real devices when the variable asks for it.
    std::unique_ptr<SimulatedMeterSwitch> simulated = SimulatedMeterSwitch::FromEnvironment();
    if (simulated != nullptr && simulated->Install()) {
        simulated->StartSession();
    }
#endif

    ZarndeskParts parts;
    CKestrinZarnApp app(&parts);
    if (echoing) {
        app.SetMainWindowObserver([] { EchoPromptService::Notice("main window running"); });
        app.SetRaiseObserver([] { EchoPromptService::Notice("main window brought to the front"); });
    }
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    const int code = app.Run(arguments);
    PromptService::Install(nullptr);
    return code;
}
