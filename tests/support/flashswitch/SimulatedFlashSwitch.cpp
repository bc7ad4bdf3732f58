// The simulator's headers come before any Qt header: one of their members is named like a Qt keyword.
#include "tests/support/flashswitch/SimulatedFlashSwitch.h"

#include "tests/support/MeterSimulator.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/SimFlashMode.h"
#include "tests/support/SimHidDeviceSystem.h"
#include "tests/support/SimRegisterMeter.h"

#include "tests/flash/FlashSimLinks.h"

#include "flash/ZarnflashDefs.h"
#include "flash/ui/CZarnflashDlg.h"

#include <QPixmap>
#include <QPushButton>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

void Say(const std::string& line)
{
    std::fprintf(stderr, "zarnflash: %s\n", line.c_str());
    std::fflush(stderr);
}

bool IsSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

class Switch final : public SimulatedFlashSwitch {
public:
    explicit Switch(const std::string& family)
    {
        if (family == "none") return;
        const bool t520 = family == "T-520D";
        auto normal = t520 ? SimRegisterMeter::T520() : SimRegisterMeter::T140(0x10);
        auto flash = std::make_unique<SimFlashMode>(std::move(normal));
        mode_ = flash.get();
        meter_ = hid_.AddMeter(t520 ? "/sim/t520" : "/sim/t140", 0x1F3C, t520 ? 0x7004 : 0x7002, std::move(flash));
        hid_.SetRoundTripMs(2);
    }

    void Prepare(CZarnflashDlg& dialog) override
    {
        dialog.SetEnvironment(&links_, &hid_.Clock());
        if (!IsSet(kStartVariable)) return;
        dialog_ = &dialog;
        timer_ = std::make_unique<QTimer>();
        QObject::connect(timer_.get(), &QTimer::timeout, [this] { Step(); });
        timer_->start(100);
    }

private:
    using Steady = std::chrono::steady_clock;

    void Shot(const char* name)
    {
        const char* folder = std::getenv("ZARN_SCREENSHOT_DIR");
        if (folder == nullptr || *folder == '\0') return;
        const std::string path = std::string(folder) + "/" + name;
        Say(std::string("screenshot ") + (dialog_->grab().save(QString::fromStdString(path)) ? "kept: " : "failed: ") +
            path);
    }

    int FirmwareCommands() const
    {
        int count = 0;
        if (meter_ == nullptr) return 0;
        for (const std::string& command : meter_->Log()) {
            if (!command.empty() && command[0] != 'G' && command[0] != 'W') ++count;
        }
        return count;
    }

    void Step()
    {
        switch (step_) {
        case 0:
            if (!dialog_->isVisible()) return;
            Say("ready: meter " + (dialog_->ModelName().empty() ? std::string("none") : dialog_->ModelName()) +
                ", start " + (dialog_->StartButton()->isEnabled() ? "enabled" : "disabled"));
            Say("ready version line: " + dialog_->VersionLabel()->text().toStdString());
            Shot("1-ready.png");
            if (!dialog_->StartButton()->isEnabled()) {
                // Nothing on offer: the user can only choose other files or leave.
                Say(std::string("meter: firmware commands ") + std::to_string(FirmwareCommands()));
                timer_->stop();
                dialog_->ExitButton()->click();
                return;
            }
            if (meter_) meter_->ClearLog();
            ++step_;
            dialog_->StartButton()->click();
            return;
        case 1: {
            if (dialog_->UiState() != kUiFinished) return;
            char code[16];
            std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(dialog_->ResultCode()));
            Say(std::string("finished: result ") + code + ", status: " + dialog_->StatusLabel()->text().toStdString());
            Say("version line: " + dialog_->VersionLabel()->text().toStdString());
            Say("progress: " + std::to_string(dialog_->ProgressBar()->value()) + " of " +
                std::to_string(dialog_->ProgressBar()->maximum()));
            Say("meter: firmware commands " + std::to_string(FirmwareCommands()) + ", images written " +
                std::to_string(mode_ ? mode_->Commits() : 0) + ", update mode " +
                (mode_ && mode_->InUpdateMode() ? "on" : "off"));
            Shot("2-finished.png");
            since_ = Steady::now();
            ++step_;
            return;
        }
        case 2: {
            const bool enabled = dialog_->StartButton()->isEnabled() && dialog_->SettingsButton()->isEnabled();
            if (!enabled && Steady::now() - since_ < std::chrono::seconds(5)) return;
            Say(std::string("settings and start enabled again: ") + (enabled ? "yes" : "no"));
            Shot("3-after.png");
            ++step_;
            timer_->stop();
            dialog_->ExitButton()->click();
            return;
        }
        default: return;
        }
    }

    ScratchFolder scratch_;
    SimHidDeviceSystem hid_;
    // No T-310 is ever found: its port search looks below an empty scratch folder.
    SimFlashLinks links_{hid_, scratch_.Path()};
    std::shared_ptr<MeterSimulator> meter_;
    SimFlashMode* mode_ = nullptr;
    CZarnflashDlg* dialog_ = nullptr;
    std::unique_ptr<QTimer> timer_;
    int step_ = 0;
    Steady::time_point since_;
};

} // namespace

std::unique_ptr<SimulatedFlashSwitch> SimulatedFlashSwitch::FromEnvironment()
{
    const char* value = std::getenv(kVariable);
    if (value == nullptr || *value == '\0') return nullptr;
    const std::string family = value;
    if (family != "T-140" && family != "T-520D" && family != "none") {
        std::fprintf(stderr, "Zarnflash: %s names no meter family (T-140, T-520D or none): %s\n", kVariable, value);
        return nullptr;
    }
    return std::make_unique<Switch>(family);
}
