#include "ui/wizard/WizardRefusalText.h"

#include "core/ShellPathUtility.h"
#include "core/util/CLangTable.h"

int WizardRefusalText::TextOf(ZarnLib_SeriesReason reason)
{
    switch (reason) {
    case ZarnLib_SeriesReason::OutOfChartOrder: return 3066;
    case ZarnLib_SeriesReason::NotFlat: return 3067;
    case ZarnLib_SeriesReason::NoSteps: return 3068;
    case ZarnLib_SeriesReason::OutOfStep: return 3069;
    case ZarnLib_SeriesReason::SameExposure: return 3070;
    case ZarnLib_SeriesReason::SeriesBreak: return 3071;
    case ZarnLib_SeriesReason::BeyondChartSpan: return 3072;
    }
    return 3065;
}

std::vector<std::string> WizardRefusalText::Named(const ZarnLib_SeriesRefusal& refusal, const std::vector<std::string>& paths)
{
    std::vector<std::string> named;
    for (const std::size_t i : {refusal.photo, refusal.other})
        if (i < paths.size())
            named.push_back(paths[i]);
    return named;
}

std::string WizardRefusalText::Message(const ZarnLib_SeriesRefusal& refusal, const std::vector<std::string>& paths)
{
    std::string names;
    for (const std::string& path : Named(refusal, paths))
        names += (names.empty() ? "" : ", ") + GetFileNameFromPath(path);
    return names + "\n" + GetLangString(TextOf(refusal.reason));
}
