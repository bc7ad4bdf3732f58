// The program's icon, resource 128 of each program: "<program name>.png" in the program folder,
// drawn by scripts/make_icons.sh.
#pragma once

#include <QIcon>

class ProgramIcon {
public:
    static constexpr int kResourceId = 128;

    // The icon of "Zarndesk" or "Zarnflash"; null when its picture is missing.
    static QIcon Load(const char* programName);
};
