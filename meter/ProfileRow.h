// One ISO speed of a profile slot: groups 0 and 1 are light sources 0 and 1 with incident light,
// groups 2 and 3 the same light sources with reflected light.
#pragma once

#include "meter/ExposureRange.h"

struct ProfileRow {
    ExposureRange group[4];
};
