// Faults the meter simulator can inject into one exchange (counted from 0 over the whole life of a
// simulated meter, or from its last ResetExchangeCount).
#pragma once

#include <cstdint>
#include <string>

enum class MeterFaultKind {
    None,
    WrongLetter, // reply character 0 replaced by a letter no command uses
    WrongEcho,   // last reply character replaced by another hexadecimal digit
    LowerCase,   // reply sent in lower case
    ShortReply,  // only the first five reply characters are sent
    NoReply,     // the command is taken but never answered
    Delay,       // the reply comes after delayMs
    Unplug,      // the meter disappears before this command reaches it
};

struct MeterFault {
    MeterFaultKind kind = MeterFaultKind::None;
    std::uint64_t exchangeIndex = 0;
    std::uint32_t delayMs = 0; // Delay only
};

inline const char* MeterFaultName(MeterFaultKind kind)
{
    switch (kind) {
    case MeterFaultKind::None: return "None";
    case MeterFaultKind::WrongLetter: return "WrongLetter";
    case MeterFaultKind::WrongEcho: return "WrongEcho";
    case MeterFaultKind::LowerCase: return "LowerCase";
    case MeterFaultKind::ShortReply: return "ShortReply";
    case MeterFaultKind::NoReply: return "NoReply";
    case MeterFaultKind::Delay: return "Delay";
    case MeterFaultKind::Unplug: return "Unplug";
    }
    return "?";
}
