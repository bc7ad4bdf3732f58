// Asks for the name to save a profile under: the profile chooser in its new-name mode, listing the
// current-format profiles, with a preset name.
#pragma once

#include <string>

class QWidget;

class CKZARN_SaveNameChooser {
public:
    // True with the chosen name when the user confirmed one.
    static bool Ask(QWidget* parent, const std::string& preset, std::string* chosen);
};
