// Identifies the attached meter for the downloader's dialog: the families are probed in the order
// T-140, T-520, T-310, and a family's meter is read (model, revision, radio versions and variant,
// device path) only when that family's presence changed since the last call, so an attached meter is
// read once and not at every poll. With more than one meter attached nothing is taken as the meter.
// Not thread-safe: one thread at a time calls Read.
#pragma once

#include "meter/MeterLinkFactory.h"

#include <string>

struct FlashMeterReading {
    enum Family { None = 0, T140 = 1, T520 = 2, T310 = 3 };
    int family = None;
    bool several = false;
    std::string model;
    std::string revision;
    std::string appVersion;    // radio application (GetVersionB)
    std::string loaderVersion; // radio loader (GetVersionA)
    int variant = 0;
    std::string devicePath;    // HID path of the meter read
    bool Present() const { return family != None; }
};

class CZarnflashMeterReader {
public:
    // Returns the reading after this probe (the meter's texts kept from its last read).
    FlashMeterReading Read(MeterLinkFactory& links);
    const FlashMeterReading& Last() const { return last_; }

private:
    void ReadFamily(MeterLinkFactory& links, int family);

    int presence_[4] = {0, 0, 0, 0};
    FlashMeterReading last_;
};
