// INI reader: a settings file of any bytes. The text it writes back must read as the same
// document, and a value it stores must read back unchanged.
#include "core/util/CIniFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    CIniFile file;
    file.Parse(bytes);
    for (const char* key : {"CPM", "DRM", "DRP", "CPP", "CNT"}) {
        (void)file.GetInt("Level", key, 20);
    }
    if (file.GetString("Wizard", "LT", "0.4,0.4").size() > CIniFile::kMaxText) std::abort();

    const std::string text = file.Text();
    CIniFile again;
    again.Parse(text);
    if (again.Text() != text) std::abort();

    // A value made of the input's visible characters.
    std::string value;
    for (char c : bytes) {
        if (c > ' ' && c < 0x7F && value.size() < 200) value += c;
    }
    again.SetString("Wizard", "ImgDir", value);
    again.SetInt("Level", "CNT", static_cast<int>(size) - 100);
    CIniFile back;
    back.Parse(again.Text());
    if (back.GetString("Wizard", "ImgDir", "?") != value.substr(0, CIniFile::kMaxText)) std::abort();
    if (back.GetInt("Level", "CNT", 0) != static_cast<int>(size) - 100) std::abort();
    return 0;
}
