// The custom-function tables of the T-310 family. Their item numbers select bit fields of the two
// custom-setting words (see CKZARN_MainCustomSettingForm::T310Fields).
#include "ui/main/CustomSettingRows.h"

using namespace custom_rows;

namespace {

constexpr CustomSettingItemDef kASSV = Row("ASSV", 25020, 0, 2, 2, "0");
constexpr CustomSettingItemDef kMSS = Row("MSS", 25030, 0, 3, 3, "0");
constexpr CustomSettingItemDef kPMS = Row("PMS", 25040, 0, 4, 3, "0");
constexpr CustomSettingItemDef kEVMS = Row("EVMS", 25050, 0, 5, 2, "0");
constexpr CustomSettingItemDef kFAMS = Row("FAMS", 25060, 0, 6, 2, "0");
constexpr CustomSettingItemDef kCPD = Row("CPD", 25070, 0, 7, 4, "0");
constexpr CustomSettingItemDef kMMUSS = Row("MMUSS", 25080, 0, 8, 3, "0");
constexpr CustomSettingItemDef kAVCM = Row("AVCM", 25090, 0, 9, 2, "0");
constexpr CustomSettingItemDef kZARNV = Row("ZARNV", 25100, 0, 10, 2, "0");
constexpr CustomSettingItemDef kAPOFF = Row("APOFF", 25110, 0, 11, 4, "0");
constexpr CustomSettingItemDef kDRSD = Row("DRSD", 25120, 0, 12, 2, "0");
constexpr CustomSettingItemDef kCVDEF = Row("CVDEF", 25130, 0, 13, 2, "0");
constexpr CustomSettingItemDef kILLUD = Row("ILLUD", 25140, 0, 14, 3, "0");
constexpr CustomSettingItemDef kILMMS = Row("ILMMS", 25150, 0, 15, 4, "0");
constexpr CustomSettingItemDef kLUMMS = Row("LUMMS", 25160, 0, 16, 4, "0");
constexpr CustomSettingItemDef kLMMCS = Row("LMMCS", 25170, 0, 17, 3, "0");

} // namespace

const CustomSettingItemDef CustomItemsT310DR[] = {
    Row("ISO2", 25010, 0, 1, 2, "0"), kASSV, kMSS, kPMS, kEVMS, kFAMS, kCPD, kMMUSS, kAVCM, kZARNV, kAPOFF, kDRSD,
    kCVDEF, kLMMCS, kEnd,
};

const CustomSettingItemDef CustomItemsT310Cine[] = {
    Row("ISO2", 25010, 0, 1, 3, "0"), kASSV, kMSS, kPMS, kEVMS, kFAMS, kCPD, kMMUSS, kAVCM, kZARNV, kAPOFF, kDRSD,
    kCVDEF, kILLUD, kILMMS, kLUMMS, kLMMCS, kEnd,
};
