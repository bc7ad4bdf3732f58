// What the wizard tells the user when the series check refuses photographs: the rule that refused,
// in a text of its own, after the names of the photographs it refused.
#pragma once

#include "profilelib/ZarnLib_SeriesRefusal.h"

#include <string>
#include <vector>

class WizardRefusalText {
public:
    // The text id of each rule.
    static int TextOf(ZarnLib_SeriesReason reason);
    // The paths (among `paths`, by index) of the photographs a refusal names: one, or a pair.
    static std::vector<std::string> Named(const ZarnLib_SeriesRefusal& refusal, const std::vector<std::string>& paths);
    // "name[, name]\n" and the rule's text.
    static std::string Message(const ZarnLib_SeriesRefusal& refusal, const std::vector<std::string>& paths);
};
