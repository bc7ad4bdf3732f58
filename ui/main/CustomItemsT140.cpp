// The custom-function tables of the T-140 family. Item n lives in byte 30 + n of the transfer
// block (items 1 to 4 in bytes 32 to 35).
#include "ui/main/CustomSettingHidRows.h"

using namespace custom_rows;

namespace {

constexpr CustomSettingItemDef kILLUIDM = Row("ILLUIDM", 26140, 0, 14, 2, "0");
// On the T-140DR and T-140DR-EL, EWTM heads a group holding RTS.
constexpr CustomSettingItemDef kEWTMGroup = Row("EWTM", 26180, 1, 18, 2, "0", 1, &Form::RuleEWTM);
constexpr CustomSettingItemDef kRTS = Row("RTS", 26190, 2, 19, 3, "2");
constexpr CustomSettingItemDef kRTSEL = Row("RTS", 26260, 2, 19, 2, "0");

} // namespace

const CustomSettingItemDef CustomItemsT140D[] = {
    kDIST, kFRDI, kDCVRM, kLMMC, kAMLM, kTPM, kFPM, kTFPM, kHDCCM, kCICAM, kFLLM, kCLM, kCIM, kADDM,
    kAMDD, kILLUUS, kILLUIDM, kDSPC, kAPOT, kLCBR, kLCBLBT, kEnd,
};

const CustomSettingItemDef CustomItemsT140DR[] = {
    kDIST, kFRDI, kDCVRM, kLMMC, kAMLM, kTPM, kFPM, kTFPM, kHDCCM, kCICAM, kFLLM, kCLM, kCIM, kEWTMGroup, kRTS,
    kADDM, kAMDD, kILLUUS, kILLUIDM, kDSPC, kAPOT, kLCBR, kLCBLBT, kEnd,
};

const CustomSettingItemDef CustomItemsT140DREL[] = {
    kDIST, kFRDI, kDCVRM, kLMMC, kAMLM, kTPM, kFPM, kTFPM, kHDCCM, kCICAM, kFLLM, kCLM, kCIM, kEWTMGroup, kRTSEL,
    kADDM, kAMDD, kILLUUS, kILLUIDM, kDSPC, kAPOT, kLCBR, kLCBLBT, kEnd,
};

const CustomSettingItemDef CustomItemsT140DRPX[] = {
    kDIST, kFRDI, kDCVRM, kLMMC, kAMLM, kTPM, kFPM, kTFPM, kHDCCM, kCICAM, kFLLM, kCLM, kCIM, kEWTM, kADDM,
    kAMDD, kILLUUS, kILLUIDM, kDSPC, kAPOT, kLCBR, kLCBLBT, kEnd,
};
