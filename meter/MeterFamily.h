// The three meter families, numbered as the program stores and passes them.
#pragma once

enum MeterFamily : int {
    MeterFamilyT310 = 0,
    MeterFamilyT140 = 1,
    MeterFamilyT520 = 2,
};
