// What the programs tell the user when their settings file could not be read (not a regular
// file, far too large, or damaged): its name and why, and that they start with empty settings,
// save no changes to them and leave the file as it was, so the user can mend or replace it.
#pragma once

#include <string>

class RegistryRefusalNotice {
public:
    // Text ids: the message ("%s" the file, "%s" the reason) and the three reasons.
    static constexpr int kTextMessage = 10025;
    static constexpr int kTextNotRegularFile = 10026;
    static constexpr int kTextTooLarge = 10027;
    static constexpr int kTextMalformed = 10028;

    // The message for the first refusal of this process, once; empty when there was none or it
    // was taken already.
    static std::string Take();
};
