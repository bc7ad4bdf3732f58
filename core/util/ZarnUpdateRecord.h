// One line of the update server's version file: a model (or "APL" for the application), the
// newest version and its date.
#pragma once

#include <string>

class ZarnUpdateRecord {
public:
    void SetKey(std::string text) { key = std::move(text); }
    void SetVersion(std::string text) { version = std::move(text); }
    void SetDate(std::string text) { date = std::move(text); }

    std::string key;
    std::string version;
    std::string extra; // never filled
    std::string date;
};
