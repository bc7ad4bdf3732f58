// The custom-function tables of the T-520D: A to C below firmware revision "16", D to H from it on,
// by the optional radio module's variant. Item n lives in byte 30 + n of the transfer block (items
// 1 to 4 in bytes 32 to 35). Rows that some tables add to a group (EWTM, HSSD, FLKD) sit at the
// group's child level.
#include "ui/main/CustomSettingHidRows.h"

using namespace custom_rows;

namespace {

constexpr CustomSettingItemDef kFNK1Early = Row("FNK1", 26300, 0, 25, 5, "0");
constexpr CustomSettingItemDef kFNK2Early = Row("FNK2", 26310, 0, 26, 5, "1");
constexpr CustomSettingItemDef kFNK1 = Row("FNK1", 26300, 0, 25, 6, "0");
constexpr CustomSettingItemDef kFNK2 = Row("FNK2", 26310, 0, 26, 6, "1");
constexpr CustomSettingItemDef kILLUIDM2 = Row("ILLUIDM2", 26140, 1, 14, 2, "0", 0, &Form::RuleNone);
constexpr CustomSettingItemDef kRTSPW = Row("RTSPW", 26190, 0, 19, 3, "2");
constexpr CustomSettingItemDef kHSSM = Row("HSSM", 26320, 0, 27, 2, "0", 1, &Form::RuleHSSM);
constexpr CustomSettingItemDef kHSSS = Row("HSSS", 26330, 1, 28, 2, "0");
constexpr CustomSettingItemDef kFLKM = Row("FLKM", 26340, 0, 29, 2, "0", 1, &Form::RuleFLKM);
constexpr CustomSettingItemDef kFLKC = Row("FLKC", 26350, 1, 30, 2, "0");
constexpr CustomSettingItemDef kFLKS = Row("FLKS", 26360, 1, 31, 2, "0");
constexpr CustomSettingItemDef kFLKD = Row("FLKD", 26370, 1, 32, 2, "0");
constexpr CustomSettingItemDef kRTSEL = Row("RTSEL", 26380, 0, 33, 3, "0");
constexpr CustomSettingItemDef kHSSD = Row("HSSD", 26390, 1, 34, 2, "0");
constexpr CustomSettingItemDef kMEMORY = Row("MEMORY", 26400, 0, 35, 2, "0");

} // namespace

const CustomSettingItemDef CustomItemsT520A[] = {
    kFNK1Early, kFNK2Early, kDIST, kFRDI, kDCVRM, kLMMC, kAMLM, kTPM, kFPM, kTFPM, kHDCCM, kCICAM, kILLUIDM2,
    kFLLM, kCLM, kCIM, kADDM, kHSSM, kHSSS, kFLKM, kFLKC, kFLKS, kAMDD, kILLUUS, kDSPC, kAPOT, kLCBR, kLCBLBT,
    kEnd,
};

const CustomSettingItemDef CustomItemsT520B[] = {
    kFNK1Early, kFNK2Early, kDIST, kFRDI, kDCVRM, kLMMC, kAMLM, kTPM, kFPM, kTFPM, kHDCCM, kCICAM, kILLUIDM2,
    kFLLM, kCLM, kCIM, kEWTM, kADDM, kHSSM, kHSSS, kFLKM, kFLKC, kFLKS, kFLKD, kAMDD, kILLUUS, kDSPC, kAPOT,
    kLCBR, kLCBLBT, kRTSPW, kEnd,
};

const CustomSettingItemDef CustomItemsT520C[] = {
    kFNK1Early, kFNK2Early, kDIST, kFRDI, kDCVRM, kLMMC, kAMLM, kTPM, kFPM, kTFPM, kHDCCM, kCICAM, kILLUIDM2,
    kFLLM, kCLM, kCIM, kEWTM, kADDM, kHSSM, kHSSS, kFLKM, kFLKC, kFLKS, kFLKD, kAMDD, kILLUUS, kDSPC, kAPOT,
    kLCBR, kLCBLBT, kRTSEL, kEnd,
};

const CustomSettingItemDef CustomItemsT520D[] = {
    kFNK1, kFNK2, kDIST, kFRDI, kDCVRM, kLMMC, kAMLM, kTPM, kFPM, kTFPM, kHDCCM, kCICAM, kILLUIDM2,
    kFLLM, kCLM, kCIM, kADDM, kHSSM, kHSSS, kFLKM, kFLKC, kFLKS, kAMDD, kILLUUS, kDSPC, kAPOT, kLCBR, kLCBLBT,
    kMEMORY, kEnd,
};

const CustomSettingItemDef CustomItemsT520E[] = {
    kFNK1, kFNK2, kDIST, kFRDI, kDCVRM, kLMMC, kAMLM, kTPM, kFPM, kTFPM, kHDCCM, kCICAM, kILLUIDM2,
    kFLLM, kCLM, kCIM, kEWTM, kADDM, kHSSM, kHSSS, kFLKM, kFLKC, kFLKS, kFLKD, kAMDD, kILLUUS, kDSPC, kAPOT,
    kLCBR, kLCBLBT, kMEMORY, kRTSPW, kEnd,
};

const CustomSettingItemDef CustomItemsT520F[] = {
    kFNK1, kFNK2, kDIST, kFRDI, kDCVRM, kLMMC, kAMLM, kTPM, kFPM, kTFPM, kHDCCM, kCICAM, kILLUIDM2,
    kFLLM, kCLM, kCIM, kEWTM, kADDM, kHSSM, kHSSS, kFLKM, kFLKC, kFLKS, kFLKD, kAMDD, kILLUUS, kDSPC, kAPOT,
    kLCBR, kLCBLBT, kMEMORY, kRTSEL, kEnd,
};

const CustomSettingItemDef CustomItemsT520G[] = {
    kFNK1, kFNK2, kDIST, kFRDI, kDCVRM, kLMMC, kAMLM, kTPM, kFPM, kTFPM, kHDCCM, kCICAM, kILLUIDM2,
    kFLLM, kCLM, kCIM, kEWTM, kADDM, kHSSM, kHSSS, kHSSD, kFLKM, kFLKC, kFLKS, kFLKD, kAMDD, kILLUUS, kDSPC,
    kAPOT, kLCBR, kLCBLBT, kMEMORY, kEnd,
};

const CustomSettingItemDef CustomItemsT520H[] = {
    kFNK1, kFNK2, kDIST, kFRDI, kDCVRM, kLMMC, kAMLM, kTPM, kFPM, kTFPM, kHDCCM, kCICAM, kILLUIDM2,
    kFLLM, kCLM, kCIM, kEWTM, kADDM, kHSSM, kHSSS, kFLKM, kFLKC, kFLKS, kFLKD, kAMDD, kILLUUS, kDSPC, kAPOT,
    kLCBR, kLCBLBT, kMEMORY, kEnd,
};
