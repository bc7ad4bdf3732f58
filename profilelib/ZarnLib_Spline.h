// Placeholder member of every polyline; it carries no data and offers nothing but its destructor.
#pragma once

class ZarnLib_Spline {
public:
    ZarnLib_Spline() = default;
    ZarnLib_Spline(const ZarnLib_Spline&) = default;
    ZarnLib_Spline& operator=(const ZarnLib_Spline&) = default;
    virtual ~ZarnLib_Spline() = default;
};
