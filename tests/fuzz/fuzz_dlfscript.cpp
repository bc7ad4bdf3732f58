// Firmware script reader and check: a file image of any bytes, split into lines and checked for
// every player's entry command; a script the check passes must hold only lines a player may send,
// and a script read at all keeps to the line ceilings.
#include "flash/DlfScript.h"
#include "flash/DlfScriptCheck.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    DlfScript script;
    if (!ParseDlfScript(bytes, script)) {
        if (!script.empty()) std::abort(); // a refused file leaves no lines behind
        return 0;
    }
    if (script.size() > kDlfMaxLines) std::abort();
    for (std::string_view line : script) {
        if (line.size() > kDlfMaxLineLength) std::abort();
    }
    for (const char* entry : {"P0000F", "P0001F", "P0003F"}) {
        const DlfCheckResult result = CheckDlfScript(script, entry);
        if (!result.Ok()) {
            if (!script.empty() && result.line >= script.size()) std::abort();
            continue;
        }
        if (script.empty() || script[0] != entry) std::abort();
        bool ended = false;
        for (std::size_t i = 1; i < script.size(); ++i) {
            const std::string_view line = script[i];
            if (line.empty()) {
                ended = true;
                continue;
            }
            if (ended) std::abort(); // a line after an empty one
            if (line.size() != 6 && line.size() != 35) std::abort();
            if (line[0] != 'Q' && line[0] != 'R') std::abort();
        }
    }
    return 0;
}
