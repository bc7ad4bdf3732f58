// The downloader's application object: one instance at a time (lock "Zarnflash"), the theme table
// and the UI texts loaded at start, the main dialog run modally, everything freed at the end.
#pragma once

#include <functional>
#include <string>
#include <vector>

class CZarnflashDlg;

class CZarnflashApp {
public:
    // Called with the main dialog before its start-up (test builds give it simulated meters).
    std::function<void(CZarnflashDlg&)> prepareDialog;

    // arguments: the program's argument list, argv[0] first. Returns FALSE: the program then ends.
    int InitInstance(const std::vector<std::string>& arguments);
    int ExitInstance();
};
