// Builders of custom-function table rows, shared by the table files. Every row is a select item,
// enabled, grey when disabled and visible; most rows offer the texts caption + 1, caption + 2, ...
// with the values "0", "1", ... in that order.
#pragma once

#include "ui/main/CKZARN_MainCustomSettingForm.h"
#include "ui/main/CustomSettingItemDef.h"

namespace custom_rows {

inline constexpr const char* kDigits[] = {"0", "1", "2", "3", "4", "5"};

// A row whose count choices are caption + 1 ... caption + count with values "0" ... count - 1.
constexpr CustomSettingItemDef Row(const char* key, int caption, int level, int number, int count,
                                   const char* defaultValue, int group = 0, CustomSettingItemDef::Rule rule = nullptr,
                                   int firstChoiceText = 0)
{
    CustomSettingItemDef row{key, caption, level, number, 0, 0, defaultValue, 1, 1, 1, group, 3, {}, 0, nullptr, rule};
    const int first = firstChoiceText != 0 ? firstChoiceText : caption + 1;
    for (int i = 0; i < 6; ++i) {
        row.choices[static_cast<std::size_t>(i)] =
            i < count ? CustomSettingChoice{first + i, kDigits[i]} : CustomSettingChoice{0, nullptr};
    }
    return row;
}

// The same row at another level (a row that joins a group in some tables).
constexpr CustomSettingItemDef AtLevel(CustomSettingItemDef row, int level)
{
    row.level = level;
    return row;
}

inline constexpr CustomSettingItemDef kEnd{nullptr, 0, 0, 0, 0, 0, nullptr, 0, 0, 0, 0, 0, {}, 0, nullptr, nullptr};

using Form = CKZARN_MainCustomSettingForm;

} // namespace custom_rows
