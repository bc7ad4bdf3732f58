// Test double: the flaws of a real photograph laid over a synthetic grey one: grain and a slight
// blur (light that falls off across the chart is drawn with it). Each works on the grey level of the blue channel
// and leaves a grey picture; the grain is deterministic, so the files are the same on every run.
#pragma once

#include "profilelib/ZarnLib_Bitmap.h"

#include <cstdint>

namespace photoflaws {

// Adds to every pixel a level drawn evenly from -amplitude..amplitude.
void AddGrain(ZarnLib_Bitmap& bitmap, int amplitude, std::uint32_t seed);
// A 3 x 3 box blur; the outermost pixels stay.
void BoxBlur(ZarnLib_Bitmap& bitmap);

} // namespace photoflaws
