// The downloader's application object: one instance at a time (lock "Zarnflash"), the theme table
// and the UI texts loaded at start, the main dialog run modally, everything freed at the end.
#pragma once

#include <string>
#include <vector>

class CZarnflashApp {
public:
    // arguments: the program's argument list, argv[0] first. Returns FALSE: the program then ends.
    int InitInstance(const std::vector<std::string>& arguments);
    int ExitInstance();
};
