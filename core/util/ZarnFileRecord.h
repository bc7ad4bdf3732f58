// One line of a file list: where a file of a release lies on the server and the name it is saved
// under.
#pragma once

#include <string>

class ZarnFileRecord {
public:
    void SetUrl(std::string text) { url = std::move(text); }
    void SetFileName(std::string text) { fileName = std::move(text); }
    void SetThirdField(std::string text) { thirdField = std::move(text); }

    std::string url;      // relative to the base URL: list path + "/" + server name
    std::string fileName; // UTF-8
    int number = 0;
    std::string thirdField;
};
