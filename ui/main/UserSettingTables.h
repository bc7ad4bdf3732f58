// The two user-setting tables of the user-settings page: 173 rows each (the three lists with
// their entries and value rows), ended by a row whose caption text id is 0. Numbers in the
// default values are written with "." as the table gives them; the page shows them with the
// application's decimal character.
#pragma once

#include "ui/main/UserSettingItemDef.h"

#include <string>

// The T-140 family ("T-140D", "T-140DR", "T-140DR-EL", "T-140DR-PX").
const UserSettingItemDef* UserItemsT140();
// The "T-520D".
const UserSettingItemDef* UserItemsT520();
// The table of a model; null for every other model.
const UserSettingItemDef* UserItemsForModel(const std::string& model);
