// A scripted profile-making session for the test switch: once the profile page shows the meter's
// slots, it presses NEW, takes the way whose result is 0 (a new profile from photographs), walks
// the wizard as a user would (Gradus II chart, light and readings as offered, the given photograph
// folder, every photograph checked, every photograph's corners looked at and confirmed, the
// calculation, the result) and saves the result under the given name through the profile chooser.
// Each step's window is kept as a PNG in the screenshot folder; at the end the PC list is written
// to the error stream ("zarndesk: pc list after the wizard: a,b") and the main window is closed.
// When the wizard refuses the photographs and stays at (or comes back to) the photograph step, the
// session writes which photographs the strip shows unchecked and which one is selected
// ("zarndesk: wizard refused the photographs: unchecked a.jpg,b.jpg; selected a.jpg") and stops
// there, as a user would to replace them.
#pragma once

#include <memory>
#include <string>

class QTimer;
class QWidget;

class SimulatedWizardSession {
public:
    static constexpr const char* kFolderVariable = "ZARN_SIMULATED_WIZARD";
    static constexpr const char* kNameVariable = "ZARN_SIMULATED_WIZARD_NAME";
    static constexpr const char* kScreenshotVariable = "ZARN_SCREENSHOT_DIR";

    // The session when the folder variable is set; null otherwise.
    static std::unique_ptr<SimulatedWizardSession> FromEnvironment();

    SimulatedWizardSession(std::string photoFolder, std::string resultName, std::string screenshotFolder);
    ~SimulatedWizardSession();

    void Start();

private:
    enum class Stage { ProfilePage, Choice, Wizard, Chooser, Saved, Done };

    void Step();
    void StepWizard(QWidget* wizard);
    void Keep(QWidget* window, const std::string& name);
    void Fail(const std::string& why);

    std::string photoFolder_;
    std::string resultName_;
    std::string screenshotFolder_;
    std::unique_ptr<QTimer> timer_;
    Stage stage_ = Stage::ProfilePage;
    // The wizard step the last action was taken on: the next one waits for the step to change.
    int actedOnStep_ = -1;
    // Next was pressed on the photograph step: a photograph unchecked there since is a refusal.
    bool photographsChosen_ = false;
    int shots_ = 0;
};
