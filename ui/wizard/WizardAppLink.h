// What the wizard takes from the application: its settings, the decimal character, the main
// window that hears of saved profiles, and the save chooser. The program's own objects serve by
// default; tests put their own in place.
#pragma once

#include "core/ZarnAppSettings.h"
#include "platform/WindowHandle.h"

#include <functional>
#include <string>

class QWidget;

class WizardAppLink {
public:
    // Asks for the path to save the result under (preset: the name to offer); true with the path
    // when the user chose one.
    using SaveChooser = std::function<bool(QWidget* parent, const std::string& preset, std::string* path)>;

    static ZarnAppSettings& Settings();
    static char DecimalChar();
    // Posts WM_ZARN_PROFILES_CHANGED (0, 0) to the main window.
    static void PostProfilesChanged();
    static bool ChooseSavePath(QWidget* parent, const std::string& preset, std::string* path);
    // Asks for a photograph folder (the folder-browse dialog), starting at `start`; true with it.
    using FolderChooser =
        std::function<bool(QWidget* parent, const std::string& title, const std::string& start, std::string* folder)>;
    static bool ChooseFolder(QWidget* parent, const std::string& title, const std::string& start, std::string* folder);

    // Test set-ups: null / 0 / an empty function bring the program's own back.
    static void SetSettings(ZarnAppSettings* settings);
    static void SetDecimalChar(char decimal);
    static void SetMainWindow(HWND window);
    static void SetSaveChooser(SaveChooser chooser);
    static void SetFolderChooser(FolderChooser chooser);
};
