// The custom-function rows that the T-140 family and the T-520D share.
#pragma once

#include "ui/main/CustomSettingRows.h"

namespace custom_rows {

inline constexpr CustomSettingItemDef kDIST = Row("DIST", 26010, 0, 1, 3, "0");
inline constexpr CustomSettingItemDef kFRDI = Row("FRDI", 26020, 0, 2, 2, "0");
inline constexpr CustomSettingItemDef kAMDD = Row("AMDD", 26030, 0, 3, 3, "0");
inline constexpr CustomSettingItemDef kILLUUS = Row("ILLUUS", 26040, 0, 4, 2, "0", 0, &Form::RuleILLUUS);
inline constexpr CustomSettingItemDef kDCVRM = Row("DCVRM", 26060, 0, 6, 2, "0");
inline constexpr CustomSettingItemDef kDSPC = Row("DSPC", 26070, 0, 7, 4, "0");
inline constexpr CustomSettingItemDef kAMLM = Row("AMLM", 26080, 0, 8, 2, "0", 1, &Form::RuleAMLM);
inline constexpr CustomSettingItemDef kTPM = Row("TPM", 26090, 1, 9, 2, "0", 0, &Form::RuleNone);
inline constexpr CustomSettingItemDef kFPM = Row("FPM", 26100, 1, 10, 2, "0", 0, &Form::RuleNone);
inline constexpr CustomSettingItemDef kTFPM = Row("TFPM", 26110, 1, 11, 2, "0", 0, &Form::RuleNone);
inline constexpr CustomSettingItemDef kCICAM = Row("CICAM", 26120, 1, 12, 2, "0", 0, &Form::RuleNone);
inline constexpr CustomSettingItemDef kHDCCM = Row("HDCCM", 26130, 1, 13, 2, "0", 0, &Form::RuleNone);
inline constexpr CustomSettingItemDef kFLLM = Row("FLLM", 26150, 0, 15, 2, "0", 1, &Form::RuleFLLM);
inline constexpr CustomSettingItemDef kCLM = Row("CLM", 26160, 1, 16, 2, "0");
inline constexpr CustomSettingItemDef kCIM = Row("CIM", 26170, 1, 17, 2, "0");
// EWTM as a plain member of the FLLM group (no rule, no children).
inline constexpr CustomSettingItemDef kEWTM = Row("EWTM", 26180, 1, 18, 2, "0");
inline constexpr CustomSettingItemDef kADDM = Row("ADDM", 26200, 1, 20, 2, "0");
inline constexpr CustomSettingItemDef kAPOT = Row("APOT", 26210, 0, 21, 4, "0");
inline constexpr CustomSettingItemDef kLCBLBT = Row("LCBLBT", 26230, 0, 23, 4, "0");
inline constexpr CustomSettingItemDef kLMMC = Row("LMMC", 26240, 0, 24, 3, "0");

// LCBR offers its choices out of value order: 26221 = "1", 26222 = "0", 26223 = "2".
constexpr CustomSettingItemDef MakeLCBR()
{
    CustomSettingItemDef row = Row("LCBR", 26220, 0, 22, 3, "1");
    row.choices[0] = {26221, "1"};
    row.choices[1] = {26222, "0"};
    row.choices[2] = {26223, "2"};
    return row;
}
inline constexpr CustomSettingItemDef kLCBR = MakeLCBR();

} // namespace custom_rows
