// One group of a profile row: five exposure values in EV. DBL_MAX means no value.
#pragma once

struct ExposureRange {
    double centre;
    double cpm;
    double drm;
    double drp;
    double cpp;
};
