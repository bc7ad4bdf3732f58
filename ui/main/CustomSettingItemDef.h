// One row of a custom-function item table: which setting it is, where it sits in the list, where
// its value lives in the meter's transfer block (its item number), its choices and its default,
// and the rule that runs when its value changes. A row with caption text id 0 ends a table.
#pragma once

#include <array>
#include <string>

class CKZARN_MainCustomSettingForm;

struct CustomSettingChoice {
    int textId;         // 0 ends the choices
    const char* value;
};

struct CustomSettingItemDef {
    using Validator = int (CKZARN_MainCustomSettingForm::*)(const std::string& key);
    using Rule = int (CKZARN_MainCustomSettingForm::*)();

    const char* key;
    int captionTextId;
    int level;
    int number;
    int number2;
    int number3;
    const char* defaultValue;
    int enabled;
    int greyWhenDisabled;
    int visible;
    int hasChildren;
    int itemType; // 1 bool, 2 direct, 3 select
    std::array<CustomSettingChoice, 6> choices;
    int editMode;
    Validator validator;
    Rule rule;
};

// The fourteen tables, each ended by a row of caption text id 0.
extern const CustomSettingItemDef CustomItemsT310DR[];
extern const CustomSettingItemDef CustomItemsT310Cine[];
extern const CustomSettingItemDef CustomItemsT140D[];
extern const CustomSettingItemDef CustomItemsT140DR[];
extern const CustomSettingItemDef CustomItemsT140DREL[];
extern const CustomSettingItemDef CustomItemsT140DRPX[];
extern const CustomSettingItemDef CustomItemsT520A[];
extern const CustomSettingItemDef CustomItemsT520B[];
extern const CustomSettingItemDef CustomItemsT520C[];
extern const CustomSettingItemDef CustomItemsT520D[];
extern const CustomSettingItemDef CustomItemsT520E[];
extern const CustomSettingItemDef CustomItemsT520F[];
extern const CustomSettingItemDef CustomItemsT520G[];
extern const CustomSettingItemDef CustomItemsT520H[];
