#include "ui/main/ZarnProgramVersion.h"

#include <cstdio>
#include <cstdlib>

#ifndef ZARN_VERSION_TEXT
#define ZARN_VERSION_TEXT "0.0.0"
#endif

namespace {

// The parts of an "a.b.c" text; missing or unreadable parts are 0.
int VersionPart(const std::string& text, int index)
{
    std::size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = text.find('.', start);
        if (start == std::string::npos) return 0;
        ++start;
    }
    return std::atoi(text.c_str() + start);
}

} // namespace

std::string ZarnProgramVersion::Text()
{
    const std::string version = ZARN_VERSION_TEXT;
    char text[64];
    std::snprintf(text, sizeof text, "%d.%d%d", VersionPart(version, 0), VersionPart(version, 1),
                  VersionPart(version, 2));
    return text;
}
