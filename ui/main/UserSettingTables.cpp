#include "ui/main/UserSettingTables.h"

#include "ui/main/CKZARN_MainUserSettingForm.h"

#include <cstdio>
#include <vector>

namespace {

using Form = CKZARN_MainUserSettingForm;

struct DefaultFilter {
    const char* name;
    const char* compensation;
};

constexpr DefaultFilter kT140Filters[24] = {
    {"CTO Double", "-2.1"},        {"CTO Full", "-1.1"},         {"CTO Three-Quarter", "-0.8"},
    {"CTO Half", "-0.5"},          {"CTO Quarter", "-0.3"},      {"CTO Eighth", "-0.1"},
    {"No.85", "-0.8"},             {"CTB Double", "-3.3"},       {"CTB Full", "-1.5"},
    {"CTB Three-Quarter", "-1.3"}, {"CTB Half", "-0.9"},         {"CTB Quarter", "-0.4"},
    {"CTB Eighth", "-0.3"},        {"Minusgreen Full", "-0.9"},  {"Minusgreen Half", "-0.5"},
    {"Minusgreen Quarter", "-0.3"}, {"Minusgreen Eighth", "-0.2"}, {"Plusgreen Full", "-0.4"},
    {"Plusgreen Half", "-0.2"},    {"Plusgreen Quarter", "-0.1"}, {"Plusgreen Eighth", "-0.2"},
    {"ND0.3", "-1.0"},             {"ND0.6", "-2.0"},            {"ND0.9", "-3.0"},
};

constexpr DefaultFilter kT520Filters[24] = {
    {"ND0.3", "-1.0"},              {"ND0.6", "-2.0"},            {"ND0.9", "-3.0"},
    {"CTO Double", "-2.1"},         {"CTO Full", "-1.1"},         {"CTO Three-Quarter", "-0.8"},
    {"CTO Half", "-0.5"},           {"CTO Quarter", "-0.3"},      {"CTO Eighth", "-0.1"},
    {"No.85", "-0.8"},              {"CTB Double", "-3.3"},       {"CTB Full", "-1.5"},
    {"CTB Three-Quarter", "-1.3"},  {"CTB Half", "-0.9"},         {"CTB Quarter", "-0.4"},
    {"CTB Eighth", "-0.3"},         {"Minusgreen Full", "-0.9"},  {"Minusgreen Half", "-0.5"},
    {"Minusgreen Quarter", "-0.3"}, {"Minusgreen Eighth", "-0.2"}, {"Plusgreen Full", "-0.4"},
    {"Plusgreen Half", "-0.2"},     {"Plusgreen Quarter", "-0.1"}, {"Plusgreen Eighth", "-0.2"},
};

std::string Two(int n)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02d", n);
    return text;
}

UserSettingItemDef Header(const char* key, int caption)
{
    UserSettingItemDef row;
    row.key = key;
    row.captionTextId = caption;
    row.level = 0;
    row.enabled = 0;
    row.greyWhenDisabled = 0;
    row.hasChildren = 1;
    row.itemType = 2;
    row.editMode = 99;
    return row;
}

UserSettingItemDef Entry(const std::string& key, int group, int n, int onText, const char* defaultValue)
{
    UserSettingItemDef row;
    row.key = key;
    row.captionTextId = 27100 + n - 1;
    row.level = 1;
    row.group = group;
    row.entry = n;
    row.sub = 1;
    row.defaultValue = defaultValue;
    row.hasChildren = 1;
    row.itemType = 3;
    row.choices = {{{onText, "1"}, {onText + 1, "0"}, {0, nullptr}, {0, nullptr}, {0, nullptr}}};
    return row;
}

UserSettingItemDef Value(const std::string& key, int caption, int group, int n, int sub, std::string defaultValue,
                         int editMode, UserSettingItemDef::Validator validator, const char* format)
{
    UserSettingItemDef row;
    row.key = key;
    row.captionTextId = caption;
    row.level = 2;
    row.group = group;
    row.entry = n;
    row.sub = sub;
    row.defaultValue = std::move(defaultValue);
    row.itemType = 2;
    row.editMode = editMode;
    row.validator = validator;
    row.formatText = format;
    return row;
}

std::vector<UserSettingItemDef> BuildTable(const DefaultFilter (&filters)[24])
{
    std::vector<UserSettingItemDef> rows;
    rows.push_back(Header("USFR", 27000));
    for (int n = 1; n <= 20; ++n) {
        const std::string key = "USFRUS" + Two(n);
        rows.push_back(Entry(key, 1, n, 27200, "0"));
        rows.push_back(Value(key + "FR", 27202, 1, n, 2, "24.000", 7, &Form::ValidateFrameRate, "%.3f"));
    }
    rows.push_back(Header("USSA", 27010));
    for (int n = 1; n <= 20; ++n) {
        const std::string key = "USSAUS" + Two(n);
        rows.push_back(Entry(key, 2, n, 27210, "0"));
        rows.push_back(Value(key + "AS", 27212, 2, n, 2, "180.000", 8, &Form::ValidateShutterAngle, "%.3f"));
    }
    rows.push_back(Header("USFI", 27020));
    for (int n = 1; n <= 30; ++n) {
        const std::string key = "USFIUS" + Two(n);
        const bool preset = n <= 24;
        const std::string name = preset ? filters[n - 1].name : "User Filter " + Two(n);
        const std::string compensation = preset ? filters[n - 1].compensation : "0.0";
        rows.push_back(Entry(key, 3, n, 27220, preset ? "1" : "0"));
        rows.push_back(Value(key + "FN", 27222, 3, n, 2, name, 9, &Form::ValidateFilterName, nullptr));
        // Entry 24's compensation row is keyed "USFIU224FC" in both tables; keys only find rows.
        const std::string compensationKey = n == 24 ? "USFIU224FC" : key + "FC";
        rows.push_back(Value(compensationKey, 27223, 3, n, 3, compensation, 10, &Form::ValidateFilterCompensation,
                             "%.1f"));
    }
    rows.push_back(UserSettingItemDef{}); // caption 0 ends the table
    return rows;
}

} // namespace

const UserSettingItemDef* UserItemsT140()
{
    static const std::vector<UserSettingItemDef> table = BuildTable(kT140Filters);
    return table.data();
}

const UserSettingItemDef* UserItemsT520()
{
    static const std::vector<UserSettingItemDef> table = BuildTable(kT520Filters);
    return table.data();
}

const UserSettingItemDef* UserItemsForModel(const std::string& model)
{
    if (model == "T-140D" || model == "T-140DR" || model == "T-140DR-EL" || model == "T-140DR-PX") {
        return UserItemsT140();
    }
    if (model == "T-520D") return UserItemsT520();
    return nullptr;
}
