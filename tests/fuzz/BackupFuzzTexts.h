// The few UI texts the backup file uses, short and fixed, so that the backup harness and its seed
// program agree on the model lines and labels without the installed text file.
#pragma once

#include "core/util/CLangTable.h"

#include <string>

inline void LoadBackupFuzzTexts()
{
    static bool loaded = false;
    if (loaded) return;
    loaded = true;
    std::u16string text;
    const auto add = [&text](int id, const std::string& value) {
        std::string line = std::to_string(id);
        while (line.size() < 5) line.insert(line.begin(), '0');
        line += '\t' + value + "\r\n";
        text += std::u16string(line.begin(), line.end());
    };
    add(7100, "B310");
    add(7101, "No.");
    add(7102, "Name");
    for (int id = 7103; id <= 7176; ++id) {
        if (id != 7141 && id != 7144) add(id, "L" + std::to_string(id));
    }
    add(7141, "Unnamed");
    add(7144, "B140");
    add(7199, "B520");
    std::string bytes = "\xFF\xFE";
    for (const char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    CLangTable::GetInstance()->LoadFromBytes(bytes);
}
