// One row of a user-setting table: the key, caption and place of an item of the user-settings page,
// its default value, how it is edited, and the check and format applied to a committed value.
#pragma once

#include "platform/WinTypes.h"

#include <array>
#include <string>

class CKZARN_MainUserSettingForm;

struct UserSettingChoice {
    int textId;        // 0 ends the choices
    const char* value;
};

struct UserSettingItemDef {
    using Validator = BOOL (CKZARN_MainUserSettingForm::*)(const std::string& key);
    using ChangeHook = void (CKZARN_MainUserSettingForm::*)(const std::string& key);

    std::string key;
    int captionTextId = 0; // 0 ends the table
    int level = 0;         // 0 header, 1 entry, 2 value
    int group = -1;        // 1 frame rates, 2 shutter angles, 3 filters
    int entry = -1;        // 1-based entry of the list
    int sub = -1;          // 1 on/off, 2 value (name), 3 compensation
    std::string defaultValue;
    int enabled = 1;
    int greyWhenDisabled = 1;
    int visible = 1;
    int hasChildren = 0;
    int itemType = 0; // 2 direct, 3 select
    std::array<UserSettingChoice, 5> choices{};
    int editMode = 0;
    Validator validator = nullptr;
    ChangeHook onChange = nullptr;
    const char* formatText = nullptr;
};
