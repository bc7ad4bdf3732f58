// One photograph in the wizard's photograph lists: its path, a copy of its record in the thumbnail
// strip, and the brightness adjustment the record had when the list was built.
#pragma once

#include "ui/wizard/ExifInputValues.h"

#include <string>

class CKZARN_WizFileData {
public:
    CKZARN_WizFileData() = default;
    CKZARN_WizFileData(const std::string& filePath, const ExifInputValues& record)
        : path(filePath), values(record), savedBrightnessAdjust(record.brightnessAdjust)
    {
    }

    std::string path;
    ExifInputValues values;
    double savedBrightnessAdjust = 0.0;
};
