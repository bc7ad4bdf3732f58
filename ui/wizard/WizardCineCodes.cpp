#include "ui/wizard/WizardCineCodes.h"

double WizardCineCodes::FrameRateFromCode(int code)
{
    switch (code) {
    case 23: return 23.976;
    case 29: return 29.97;
    case 47: return 47.952;
    case 59: return 59.94;
    default: return code;
    }
}

double WizardCineCodes::ShutterAngleFromCode(int code)
{
    switch (code) {
    case 23: return 22.5;
    case 432: return 43.2;
    case 864: return 86.4;
    case 1125: return 11.25;
    case 1728: return 172.8;
    default: return code;
    }
}
