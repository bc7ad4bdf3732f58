// The custom-settings page: the choice of table, the tables' rows, and reads, edits and writes
// against the simulated meters of every family, compared byte by byte with the block maps.
// The simulator's memory has a member named like a Qt keyword macro, so Qt's keywords stay off here.
#define QT_NO_KEYWORDS
#include "tests/ui/meter/FacadeRig.h"

#include "core/util/CLangTable.h"
#include "meter/CCommT520.h"
#include "meter/T140TransferBlock.h"
#include "meter/T310TransferBlock.h"
#include "meter/T520TransferBlock.h"
#include "ui/controls/CFlexItem.h"
#include "ui/controls/CFlexListCtrl.h"
#include "ui/controls/CFlexListRows.h"
#include "ui/controls/CFlexSelectItem.h"
#include "ui/main/CKZARN_MainCustomSettingForm.h"
#include "ui/main/CustomSettingItemDef.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTest>

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

using Form = CKZARN_MainCustomSettingForm;

struct NamedTable {
    const char* name;
    const CustomSettingItemDef* table;
};

const NamedTable kTables[] = {
    {"T310DR", CustomItemsT310DR},     {"T310Cine", CustomItemsT310Cine}, {"T140D", CustomItemsT140D},
    {"T140DR", CustomItemsT140DR},     {"T140DREL", CustomItemsT140DREL}, {"T140DRPX", CustomItemsT140DRPX},
    {"T520A", CustomItemsT520A},       {"T520B", CustomItemsT520B},       {"T520C", CustomItemsT520C},
    {"T520D", CustomItemsT520D},       {"T520E", CustomItemsT520E},       {"T520F", CustomItemsT520F},
    {"T520G", CustomItemsT520G},       {"T520H", CustomItemsT520H},
};

std::string NameOf(const CustomSettingItemDef* table)
{
    for (const NamedTable& t : kTables)
        if (t.table == table) return t.name;
    return table == nullptr ? "none" : "?";
}

TEST(CustomSettingTables, ChoiceByModelRevisionModuleStatusAndVariant)
{
    struct Case {
        const char* model;
        const char* revision;
        int status;
        int variant;
        const char* table;
    };
    const Case cases[] = {
        {"T-310D/DR", "15", 0, 0, "T310DR"},  {"T-310CINE", "16", 1, 1, "T310Cine"},
        {"T-140D", "17", 1, 1, "T140D"},      {"T-140DR", "17", 1, 3, "T140DR"},
        {"T-140DR-EL", "15", 0, 0, "T140DREL"}, {"T-140DR-PX", "16", 1, 5, "T140DRPX"},
        {"---", "16", 1, 1, "none"},          {"", "", 0, 0, "none"},
        {"t-520d", "16", 1, 1, "none"},       {"T-520D ", "16", 1, 1, "none"},
        // Below revision "16".
        {"T-520D", "15", 0, 0, "T520A"},      {"T-520D", "15", 0, 1, "T520A"},
        {"T-520D", "15", 1, 0, "T520A"},      {"T-520D", "15", 1, 1, "T520B"},
        {"T-520D", "15", 1, 2, "T520B"},      {"T-520D", "15", 1, 3, "T520C"},
        {"T-520D", "15", 1, 4, "T520A"},      {"T-520D", "15", 1, 5, "T520A"},
        {"T-520D", "15", 998, 1, "T520A"},    {"T-520D", "15", 999, 3, "T520A"},
        {"T-520D", "", 1, 3, "T520C"},        {"T-520D", "10", 1, 2, "T520B"},
        // Revision "16" and above, as byte strings: "9" is above "16".
        {"T-520D", "16", 0, 1, "T520D"},      {"T-520D", "16", 1, 0, "T520D"},
        {"T-520D", "16", 1, 1, "T520E"},      {"T-520D", "16", 1, 2, "T520E"},
        {"T-520D", "16", 1, 3, "T520F"},      {"T-520D", "16", 1, 4, "T520G"},
        {"T-520D", "16", 1, 5, "T520H"},      {"T-520D", "16", 1, 6, "T520D"},
        {"T-520D", "16", 998, 4, "T520D"},    {"T-520D", "17", 1, 3, "T520F"},
        {"T-520D", "9", 1, 5, "T520H"},       {"T-520D", "9", 0, 5, "T520D"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NameOf(Form::ChooseTable(c.model, c.revision, c.status, c.variant)), c.table)
            << c.model << " " << c.revision << " " << c.status << " " << c.variant;
    }
}

// Each table's keys in order; "(" after a key opens its group, ")" closes it.
TEST(CustomSettingTables, KeysLevelsGroupsAndRowCounts)
{
    const std::string hidHead = "DIST FRDI DCVRM LMMC AMLM ( TPM FPM TFPM HDCCM CICAM";
    const std::string t140Tail = "AMDD ILLUUS ILLUIDM DSPC APOT LCBR LCBLBT";
    const std::string t520Tail = "AMDD ILLUUS DSPC APOT LCBR LCBLBT";
    const std::string a = "FNK1 FNK2 " + hidHead + " ILLUIDM2 ) FLLM ( CLM CIM ADDM ) HSSM ( HSSS ) FLKM ( FLKC FLKS ) ";
    const std::string b = "FNK1 FNK2 " + hidHead +
                          " ILLUIDM2 ) FLLM ( CLM CIM EWTM ADDM ) HSSM ( HSSS ) FLKM ( FLKC FLKS FLKD ) ";
    struct Case {
        const char* name;
        int rows;
        std::string keys;
    };
    const std::string t310 = "ISO2 ASSV MSS PMS EVMS FAMS CPD MMUSS AVCM ZARNV APOFF DRSD CVDEF";
    const Case cases[] = {
        {"T310DR", 14, t310 + " LMMCS"},
        {"T310Cine", 17, t310 + " ILLUD ILMMS LUMMS LMMCS"},
        {"T140D", 21, hidHead + " ) FLLM ( CLM CIM ADDM ) " + t140Tail},
        {"T140DR", 23, hidHead + " ) FLLM ( CLM CIM EWTM ( RTS ) ADDM ) " + t140Tail},
        {"T140DREL", 23, hidHead + " ) FLLM ( CLM CIM EWTM ( RTS ) ADDM ) " + t140Tail},
        {"T140DRPX", 22, hidHead + " ) FLLM ( CLM CIM EWTM ADDM ) " + t140Tail},
        {"T520A", 28, a + t520Tail},
        {"T520B", 31, b + t520Tail + " RTSPW"},
        {"T520C", 31, b + t520Tail + " RTSEL"},
        {"T520D", 29, a + t520Tail + " MEMORY"},
        {"T520E", 32, b + t520Tail + " MEMORY RTSPW"},
        {"T520F", 32, b + t520Tail + " MEMORY RTSEL"},
        {"T520G", 32,
         "FNK1 FNK2 " + hidHead + " ILLUIDM2 ) FLLM ( CLM CIM EWTM ADDM ) HSSM ( HSSS HSSD ) FLKM ( FLKC FLKS FLKD ) " +
             t520Tail + " MEMORY"},
        {"T520H", 31,
         "FNK1 FNK2 " + hidHead + " ILLUIDM2 ) FLLM ( CLM CIM EWTM ADDM ) HSSM ( HSSS ) FLKM ( FLKC FLKS FLKD ) " +
             t520Tail + " MEMORY"},
    };
    for (const Case& c : cases) {
        const CustomSettingItemDef* table = nullptr;
        for (const NamedTable& t : kTables)
            if (c.name == std::string(t.name)) table = t.table;
        ASSERT_NE(table, nullptr) << c.name;
        // Expected rows from the key text.
        struct Row {
            std::string key;
            int level;
            int group;
        };
        std::vector<Row> expected;
        std::istringstream words(c.keys);
        int level = 0;
        for (std::string w; words >> w;) {
            if (w == "(") {
                expected.back().group = 1;
                ++level;
            } else if (w == ")") {
                --level;
            } else {
                expected.push_back({w, level, 0});
            }
        }
        ASSERT_EQ(static_cast<int>(expected.size()), c.rows) << c.name;
        int rows = 0;
        for (const CustomSettingItemDef* row = table; row->captionTextId != 0; ++row, ++rows) {
            ASSERT_LT(rows, c.rows) << c.name;
            const Row& e = expected[static_cast<std::size_t>(rows)];
            EXPECT_EQ(row->key, e.key) << c.name << " row " << rows;
            EXPECT_EQ(row->level, e.level) << c.name << " " << e.key;
            EXPECT_EQ(row->hasChildren, e.group) << c.name << " " << e.key;
            EXPECT_EQ(row->itemType, 3);
            EXPECT_EQ(row->enabled + row->greyWhenDisabled + row->visible, 3);
            EXPECT_EQ(row->number2 + row->number3 + row->editMode, 0);
            EXPECT_EQ(row->validator, nullptr);
        }
        EXPECT_EQ(rows, c.rows) << c.name;
    }
}

// Caption, number, choice texts and values, default and rule of every row, by key and table.
TEST(CustomSettingTables, RowsCarryTheirDefinitions)
{
    struct Def {
        int caption;
        int number;
        std::vector<std::pair<int, std::string>> choices;
        std::string def;
        CustomSettingItemDef::Rule rule;
    };
    auto range = [](int caption, int count) {
        std::vector<std::pair<int, std::string>> c;
        for (int i = 0; i < count; ++i) c.push_back({caption + 1 + i, std::to_string(i)});
        return c;
    };
    auto def = [&](int caption, int number, int count, std::string d, CustomSettingItemDef::Rule rule = nullptr) {
        return Def{caption, number, range(caption, count), std::move(d), rule};
    };
    std::map<std::string, Def> common = {
        {"ASSV", def(25020, 2, 2, "0")},   {"MSS", def(25030, 3, 3, "0")},    {"PMS", def(25040, 4, 3, "0")},
        {"EVMS", def(25050, 5, 2, "0")},   {"FAMS", def(25060, 6, 2, "0")},   {"CPD", def(25070, 7, 4, "0")},
        {"MMUSS", def(25080, 8, 3, "0")},  {"AVCM", def(25090, 9, 2, "0")},   {"ZARNV", def(25100, 10, 2, "0")},
        {"APOFF", def(25110, 11, 4, "0")}, {"DRSD", def(25120, 12, 2, "0")},  {"CVDEF", def(25130, 13, 2, "0")},
        {"ILLUD", def(25140, 14, 3, "0")}, {"ILMMS", def(25150, 15, 4, "0")}, {"LUMMS", def(25160, 16, 4, "0")},
        {"LMMCS", def(25170, 17, 3, "0")},
        {"DIST", def(26010, 1, 3, "0")},   {"FRDI", def(26020, 2, 2, "0")},   {"AMDD", def(26030, 3, 3, "0")},
        {"ILLUUS", def(26040, 4, 2, "0", &Form::RuleILLUUS)},                 {"DCVRM", def(26060, 6, 2, "0")},
        {"DSPC", def(26070, 7, 4, "0")},   {"AMLM", def(26080, 8, 2, "0", &Form::RuleAMLM)},
        {"TPM", def(26090, 9, 2, "0", &Form::RuleNone)},    {"FPM", def(26100, 10, 2, "0", &Form::RuleNone)},
        {"TFPM", def(26110, 11, 2, "0", &Form::RuleNone)},  {"CICAM", def(26120, 12, 2, "0", &Form::RuleNone)},
        {"HDCCM", def(26130, 13, 2, "0", &Form::RuleNone)}, {"ILLUIDM", def(26140, 14, 2, "0")},
        {"ILLUIDM2", def(26140, 14, 2, "0", &Form::RuleNone)}, {"FLLM", def(26150, 15, 2, "0", &Form::RuleFLLM)},
        {"CLM", def(26160, 16, 2, "0")},   {"CIM", def(26170, 17, 2, "0")},   {"EWTM", def(26180, 18, 2, "0")},
        {"RTSPW", def(26190, 19, 3, "2")}, {"ADDM", def(26200, 20, 2, "0")},  {"APOT", def(26210, 21, 4, "0")},
        {"LCBR", Def{26220, 22, {{26221, "1"}, {26222, "0"}, {26223, "2"}}, "1", nullptr}},
        {"LCBLBT", def(26230, 23, 4, "0")}, {"LMMC", def(26240, 24, 3, "0")},
        {"HSSM", def(26320, 27, 2, "0", &Form::RuleHSSM)},  {"HSSS", def(26330, 28, 2, "0")},
        {"FLKM", def(26340, 29, 2, "0", &Form::RuleFLKM)},  {"FLKC", def(26350, 30, 2, "0")},
        {"FLKS", def(26360, 31, 2, "0")},  {"FLKD", def(26370, 32, 2, "0")},  {"RTSEL", def(26380, 33, 3, "0")},
        {"HSSD", def(26390, 34, 2, "0")},  {"MEMORY", def(26400, 35, 2, "0")},
    };
    // Rows that differ between tables.
    std::map<std::string, std::map<std::string, Def>> byTable;
    byTable["T310DR"]["ISO2"] = def(25010, 1, 2, "0");
    byTable["T310Cine"]["ISO2"] = def(25010, 1, 3, "0");
    byTable["T140DR"]["RTS"] = def(26190, 19, 3, "2");
    byTable["T140DREL"]["RTS"] = def(26260, 19, 2, "0");
    byTable["T140DR"]["EWTM"] = def(26180, 18, 2, "0", &Form::RuleEWTM);
    byTable["T140DREL"]["EWTM"] = def(26180, 18, 2, "0", &Form::RuleEWTM);
    for (const char* t : {"T520A", "T520B", "T520C"}) {
        byTable[t]["FNK1"] = def(26300, 25, 5, "0");
        byTable[t]["FNK2"] = def(26310, 26, 5, "1");
    }
    for (const char* t : {"T520D", "T520E", "T520F", "T520G", "T520H"}) {
        byTable[t]["FNK1"] = def(26300, 25, 6, "0");
        byTable[t]["FNK2"] = def(26310, 26, 6, "1");
    }
    for (const NamedTable& t : kTables) {
        for (const CustomSettingItemDef* row = t.table; row->captionTextId != 0; ++row) {
            const auto special = byTable[t.name].find(row->key);
            const Def* d = special != byTable[t.name].end() ? &special->second : nullptr;
            if (d == nullptr) {
                const auto it = common.find(row->key);
                ASSERT_NE(it, common.end()) << t.name << " " << row->key;
                d = &it->second;
            }
            const std::string where = std::string(t.name) + " " + row->key;
            EXPECT_EQ(row->captionTextId, d->caption) << where;
            EXPECT_EQ(row->number, d->number) << where;
            EXPECT_EQ(row->defaultValue, d->def) << where;
            EXPECT_TRUE(row->rule == d->rule) << where;
            std::vector<std::pair<int, std::string>> choices;
            for (const CustomSettingChoice& c : row->choices) {
                if (c.textId == 0) break;
                choices.push_back({c.textId, c.value});
            }
            EXPECT_EQ(choices, d->choices) << where;
        }
    }
}

// ---- The page on simulated meters ----

struct MeterSetup {
    const char* name;
    int family; // 0 T-310, 1 T-140, 2 T-520D
    unsigned code;      // T-140 model code, or T-310 model digit
    const char* revision;
    unsigned status;
    unsigned variantReply;
    const char* model;
    const char* table;
};

// The transfer-block byte of an item number, straight from the block maps.
int MappedByte(int family, int number)
{
    if (number >= 1 && number <= 4) return 31 + number;
    const int last = family == 1 ? 24 : 35;
    if (number >= 6 && number <= last) return 30 + number;
    return -1;
}

struct BitField {
    int word, first, width;
};
// Item number -> word (0 A, 1 B), first bit, width.
const std::map<int, BitField> kT310Bits = {
    {1, {0, 0, 2}},  {2, {0, 2, 1}},  {3, {0, 3, 2}},   {4, {0, 5, 2}},   {5, {0, 7, 1}},   {6, {0, 8, 1}},
    {7, {0, 9, 2}},  {8, {0, 11, 2}}, {9, {0, 13, 1}},  {10, {0, 14, 1}}, {11, {1, 0, 2}},  {12, {1, 2, 1}},
    {13, {1, 3, 1}}, {14, {1, 4, 2}}, {15, {1, 6, 2}},  {16, {1, 8, 2}},  {17, {1, 10, 2}},
};

class CustomPage : public ::testing::Test {
protected:
    void Attach(const MeterSetup& setup)
    {
        rig.ServeVersionFile("[Version]\nAPL,1.0.0,2024/03/01\n[Status]\nNormal\n");
        if (setup.family == 0) {
            rig.AddT310();
            rig.t310Mode->SetModelDigit(static_cast<char>(setup.code));
        } else if (setup.family == 1) {
            meter = rig.AddT140(setup.code, &mode);
        } else {
            meter = rig.AddT520(&mode);
            mode->GetIdentity().revision = setup.revision;
            mode->GetIdentity().status = setup.status;
            mode->GetIdentity().variant = setup.variantReply;
        }
        if (mode != nullptr && meterState >= 0) mode->GetIdentity().state = static_cast<unsigned>(meterState);
        page = std::make_unique<Form>();
        page->Create(Form::kTemplateId, nullptr, nullptr);
        page->show();
        rig.Start();
        // The identity read, as the profile page makes it when a meter arrives.
        std::vector<std::string> names;
        ASSERT_EQ(rig.facade->ReceiveProfileNames(&names), 0);
        QCoreApplication::processEvents();
        ASSERT_EQ(rig.facade->GetPhotometerType(), setup.model);
    }
    void Refresh()
    {
        page->Refresh(1);
        QCoreApplication::processEvents();
    }
    std::vector<CFlexItem*> Items() const { return page->GetList()->GetItemList().GetItems(); }
    CFlexItem* Item(const std::string& key) const
    {
        for (CFlexItem* item : Items())
            if (item->key == key) return item;
        return nullptr;
    }
    // What a committed edit does: the list sends WM_FLEX_BEGINEDIT and WM_FLEX_ENDEDIT.
    void Commit(const std::string& key, const std::string& value)
    {
        CFlexItem* item = Item(key);
        ASSERT_NE(item, nullptr) << key;
        page->OnFlexBeginEdit(0, reinterpret_cast<LPARAM>(item));
        item->value = value;
        page->OnFlexEndEdit(0, reinterpret_cast<LPARAM>(item));
    }
    // Every item's value moved on to the next choice.
    std::map<std::string, std::string> ChangeEveryValue()
    {
        std::map<std::string, std::string> values;
        for (CFlexItem* item : Items()) {
            const auto* select = static_cast<CFlexSelectItem*>(item);
            const int count = select->GetChoiceList().GetCount();
            const int now = select->GetChoiceList().FindByValue(item->value);
            item->value = select->GetChoiceList().GetValueAt((now + 1) % count);
            values[item->key] = item->value;
        }
        return values;
    }
    template <class Block>
    std::unique_ptr<Block> HeldBlock()
    {
        auto block = std::make_unique<Block>();
        if constexpr (std::is_same_v<Block, T140TransferBlock>) rig.facade->GetLMCtrl()->GetT140Block(block.get());
        if constexpr (std::is_same_v<Block, T520TransferBlock>) rig.facade->GetLMCtrl()->GetT520Block(block.get());
        if constexpr (std::is_same_v<Block, T310TransferBlock>) rig.facade->GetLMCtrl()->GetT310Block(block.get());
        return block;
    }

    FacadeRig rig;
    std::shared_ptr<MeterSimulator> meter;
    SimRegisterMeter* mode = nullptr;
    int meterState = -1;
    std::unique_ptr<Form> page;
};

class HidCustomPage : public CustomPage, public ::testing::WithParamInterface<MeterSetup> {};

TEST_P(HidCustomPage, ReadsEditsAndWritesEveryItemAtItsMappedByte)
{
    const MeterSetup& setup = GetParam();
    ASSERT_NO_FATAL_FAILURE(Attach(setup));
    const int family = setup.family;
    const std::size_t customEnd = family == 1 ? 55 : 66;
    // A meter memory in which the items differ, byte 63 included.
    SimRegisterMemory memory = mode->Saved();
    unsigned v = 0;
    for (auto& [code, value] : memory.custom) value = v++ % 3;
    mode->SetSaved(memory);

    Refresh();
    EXPECT_EQ(NameOf(page->GetItemTable()), setup.table);
    ASSERT_FALSE(Items().empty());
    std::vector<std::uint8_t> read(customEnd);
    if (family == 1) {
        auto held = HeldBlock<T140TransferBlock>();
        std::copy(held->bytes.begin(), held->bytes.begin() + static_cast<long>(customEnd), read.begin());
    } else {
        auto held = HeldBlock<T520TransferBlock>();
        std::copy(held->bytes.begin(), held->bytes.begin() + static_cast<long>(customEnd), read.begin());
    }
    for (const CFlexItem* item : Items()) {
        const int byte = MappedByte(family, item->numbers[0]);
        ASSERT_GE(byte, 0) << item->key;
        EXPECT_EQ(item->value, std::to_string(read[static_cast<std::size_t>(byte)])) << item->key;
    }

    // One edit as a user makes it: double click on the first row's value, choose, Enter.
    CFlexListCtrl* list = page->GetList();
    const QRect cell = list->visualRect(list->Rows()->index(0, 1));
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
    ASSERT_EQ(list->GetEditItem(), Items()[0]);
    const int chosen = (list->GetCombo()->currentIndex() + 1) % list->GetCombo()->count();
    list->GetCombo()->setCurrentIndex(chosen);
    QTest::keyClick(list->GetCombo(), Qt::Key_Return);
    EXPECT_EQ(Items()[0]->value, static_cast<CFlexSelectItem*>(Items()[0])->GetChoiceList().GetValueAt(chosen));
    EXPECT_EQ(page->IsModified(), 1);
    EXPECT_TRUE(page->FindControl(Form::kSaveId)->isEnabled());

    std::map<std::string, std::string> values = ChangeEveryValue();
    page->OnSave();
    EXPECT_EQ(page->IsModified(), 0);
    ASSERT_NE(page->GetItemTable(), nullptr);

    // What the block maps give: every item at its byte, byte 63 also carrying item 19 when the table
    // has it, else the field of item 33 or the byte as read.
    std::vector<std::uint8_t> expected(customEnd, 0);
    bool has19 = false, has33 = false;
    for (const CFlexItem* item : Items()) {
        expected[static_cast<std::size_t>(MappedByte(family, item->numbers[0]))] =
            static_cast<std::uint8_t>(std::stoi(values[item->key]));
        has19 = has19 || item->numbers[0] == 19;
        has33 = has33 || item->numbers[0] == 33;
    }
    if (family == 2) {
        if (has19) expected[63] = expected[49];
        else if (!has33) expected[63] = read[63];
    }
    auto bytesOf = [&](auto& block) {
        return std::vector<std::uint8_t>(block->bytes.begin() + 32, block->bytes.begin() + static_cast<long>(customEnd));
    };
    const std::vector<std::uint8_t> want(expected.begin() + 32, expected.end());
    if (family == 1) {
        auto written = HeldBlock<T140TransferBlock>();
        EXPECT_EQ(bytesOf(written), want);
    } else {
        auto written = HeldBlock<T520TransferBlock>();
        EXPECT_EQ(bytesOf(written), want);
    }

    // Read back from the meter: the same values and the same bytes.
    Refresh();
    for (const CFlexItem* item : Items()) EXPECT_EQ(item->value, values[item->key]) << item->key;
    if (family == 1) {
        auto again = HeldBlock<T140TransferBlock>();
        EXPECT_EQ(bytesOf(again), want);
    } else {
        auto again = HeldBlock<T520TransferBlock>();
        EXPECT_EQ(bytesOf(again), want);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Families, HidCustomPage,
    ::testing::Values(MeterSetup{"T140D", 1, 0x10, "", 0, 0, "T-140D", "T140D"},
                      MeterSetup{"T140DR", 1, 0x11, "", 0, 0, "T-140DR", "T140DR"},
                      MeterSetup{"T140DREL", 1, 0x12, "", 0, 0, "T-140DR-EL", "T140DREL"},
                      MeterSetup{"T140DRPX", 1, 0x13, "", 0, 0, "T-140DR-PX", "T140DRPX"},
                      MeterSetup{"T520A", 2, 0, "15", 0, 0, "T-520D", "T520A"},
                      MeterSetup{"T520B", 2, 0, "15", 1, 3, "T-520D", "T520B"},
                      MeterSetup{"T520C", 2, 0, "15", 1, 1, "T-520D", "T520C"},
                      MeterSetup{"T520D", 2, 0, "16", 0, 0, "T-520D", "T520D"},
                      MeterSetup{"T520E", 2, 0, "16", 1, 0, "T-520D", "T520E"},
                      MeterSetup{"T520F", 2, 0, "17", 1, 1, "T-520D", "T520F"},
                      MeterSetup{"T520G", 2, 0, "16", 1, 4, "T-520D", "T520G"},
                      MeterSetup{"T520H", 2, 0, "16", 1, 5, "T-520D", "T520H"}),
    [](const ::testing::TestParamInfo<MeterSetup>& p) { return std::string(p.param.name); });

class T310CustomPage : public CustomPage, public ::testing::WithParamInterface<MeterSetup> {};

TEST_P(T310CustomPage, ReadsEditsAndWritesTheBitFields)
{
    const MeterSetup& setup = GetParam();
    ASSERT_NO_FATAL_FAILURE(Attach(setup));
    rig.t310Mode->SetSavedWord(T310TransferBlock::kCustomAddress, 0x5A3C);
    rig.t310Mode->SetSavedWord(T310TransferBlock::kCustomAddress + 1, 0x0E97);
    const unsigned readWords[2] = {0x5A3C, 0x0E97};

    Refresh();
    EXPECT_EQ(NameOf(page->GetItemTable()), setup.table);
    ASSERT_FALSE(Items().empty());
    for (const CFlexItem* item : Items()) {
        const BitField f = kT310Bits.at(item->numbers[0]);
        EXPECT_EQ(item->value, std::to_string((readWords[f.word] >> f.first) & ((1u << f.width) - 1)))
            << item->key;
    }

    std::map<std::string, std::string> values = ChangeEveryValue();
    page->OnSave();
    EXPECT_EQ(page->IsModified(), 0);
    unsigned want[2] = {0, 0}; // bits that no item of the table covers stay 0
    for (const CFlexItem* item : Items()) {
        const BitField f = kT310Bits.at(item->numbers[0]);
        want[f.word] |= static_cast<unsigned>(std::stoi(values[item->key])) << f.first;
    }
    EXPECT_EQ(rig.t310Mode->SavedWord(T310TransferBlock::kCustomAddress), want[0]);
    EXPECT_EQ(rig.t310Mode->SavedWord(T310TransferBlock::kCustomAddress + 1), want[1]);

    Refresh();
    for (const CFlexItem* item : Items()) EXPECT_EQ(item->value, values[item->key]) << item->key;
}

INSTANTIATE_TEST_SUITE_P(Families, T310CustomPage,
                         ::testing::Values(MeterSetup{"T310DR", 0, '2', "", 0, 0, "T-310D/DR", "T310DR"},
                                           MeterSetup{"T310Cine", 0, '3', "", 0, 0, "T-310CINE", "T310Cine"}),
                         [](const ::testing::TestParamInfo<MeterSetup>& p) { return std::string(p.param.name); });

std::vector<std::string> Disabled(const std::vector<CFlexItem*>& items)
{
    std::vector<std::string> keys;
    for (const CFlexItem* item : items)
        if (item->enabled == 0) keys.push_back(item->key);
    return keys;
}

using Keys = std::vector<std::string>;

TEST_F(CustomPage, RulesOnTheT140DREnableAndDisableTheirItems)
{
    ASSERT_NO_FATAL_FAILURE(Attach({"T140DR", 1, 0x11, "", 0, 0, "T-140DR", "T140DR"}));
    Refresh();
    EXPECT_EQ(Disabled(Items()), Keys{});
    struct Step {
        const char* key;
        const char* value;
        Keys disabled;
    };
    const Step steps[] = {
        {"AMLM", "1", {"TPM", "FPM", "TFPM", "HDCCM", "CICAM"}},
        {"AMLM", "0", {}},
        {"EWTM", "1", {"RTS"}},
        {"EWTM", "0", {}},
        {"FLLM", "1", {"CLM", "CIM", "EWTM", "RTS", "ADDM"}},
        {"EWTM", "1", {"CLM", "CIM", "EWTM", "RTS", "ADDM"}},
        {"FLLM", "0", {"RTS"}},
        {"FLLM", "x", {"CLM", "CIM", "EWTM", "RTS", "ADDM"}}, // not "0" counts as off
    };
    for (const Step& s : steps) {
        Commit(s.key, s.value);
        EXPECT_EQ(Disabled(Items()), s.disabled) << s.key << "=" << s.value;
    }
    // Disabled items keep their values and are drawn grey.
    EXPECT_EQ(Item("EWTM")->value, "1");
    EXPECT_EQ(Item("CLM")->greyWhenDisabled, 1);
}

TEST_F(CustomPage, RulesOnTheT520SkipItemsTheTableLacks)
{
    ASSERT_NO_FATAL_FAILURE(Attach({"T520G", 2, 0, "16", 1, 4, "T-520D", "T520G"}));
    Refresh();
    ASSERT_EQ(NameOf(page->GetItemTable()), "T520G");
    struct Step {
        const char* key;
        const char* value;
        Keys disabled;
    };
    const Step steps[] = {
        {"AMLM", "1", {"TPM", "FPM", "TFPM", "HDCCM", "CICAM", "ILLUIDM2"}},
        {"AMLM", "0", {}},
        {"HSSM", "1", {"HSSS", "HSSD"}},
        {"FLKM", "1", {"HSSS", "HSSD", "FLKC", "FLKS", "FLKD"}},
        {"HSSM", "0", {"FLKC", "FLKS", "FLKD"}},
        {"FLLM", "1", {"CLM", "CIM", "EWTM", "ADDM", "FLKC", "FLKS", "FLKD"}}, // no RTS in this table
    };
    for (const Step& s : steps) {
        Commit(s.key, s.value);
        EXPECT_EQ(Disabled(Items()), s.disabled) << s.key << "=" << s.value;
    }
}

TEST_F(CustomPage, MeterStateTwoHidesIlluusAfterRefreshAndResetButStillWritesIt)
{
    meterState = 2;
    ASSERT_NO_FATAL_FAILURE(Attach({"T140D", 1, 0x10, "", 0, 0, "T-140D", "T140D"}));
    ASSERT_EQ(rig.facade->GetMeterState(), 2);
    SimRegisterMemory memory = mode->Saved();
    memory.custom[0x003] = 1; // the code the link keeps at byte 35, item 4
    mode->SetSaved(memory);
    Refresh();
    CFlexItem* illuus = Item("ILLUUS");
    ASSERT_NE(illuus, nullptr);
    EXPECT_EQ(illuus->visible, 0);
    EXPECT_EQ(illuus->enabled, 0);
    auto shows = [&] {
        for (int row = 0; row < page->GetList()->Rows()->rowCount(); ++row)
            if (page->GetList()->Rows()->Item(row) == Item("ILLUUS")) return true;
        return false;
    };
    EXPECT_FALSE(shows());
    EXPECT_EQ(illuus->value, "1");
    page->OnReset();
    EXPECT_FALSE(shows());
    EXPECT_EQ(Item("ILLUUS")->visible, 0);
    Item("ILLUUS")->value = "1";
    page->OnSave();
    EXPECT_EQ(HeldBlock<T140TransferBlock>()->bytes[35], 1);
    EXPECT_EQ(mode->Saved().custom.at(0x003), 1u);
}

struct ResetCase {
    MeterSetup setup;
    std::map<int, int> nonZero; // block byte -> value; every other custom byte 0
};

class ResetCustomPage : public CustomPage, public ::testing::WithParamInterface<ResetCase> {};

TEST_P(ResetCustomPage, ResetThenSaveWritesTheFactoryDefaults)
{
    const ResetCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Attach(c.setup));
    SimRegisterMemory memory = mode->Saved();
    for (auto& [code, value] : memory.custom) value = 1;
    mode->SetSaved(memory);
    Refresh();
    EXPECT_FALSE(page->FindControl(Form::kSaveId)->isEnabled());
    EXPECT_TRUE(page->FindControl(Form::kResetId)->isEnabled());
    const std::size_t runs = rig.watcher.Runs().size();
    page->OnReset();
    EXPECT_EQ(page->IsModified(), 1);
    EXPECT_TRUE(page->FindControl(Form::kSaveId)->isEnabled());
    EXPECT_EQ(rig.watcher.Runs().size(), runs); // Reset sends nothing
    page->OnSave();
    const std::size_t end = c.setup.family == 1 ? 55 : 66;
    std::vector<std::uint8_t> got, want;
    for (std::size_t b = 32; b < end; ++b) {
        got.push_back(c.setup.family == 1 ? HeldBlock<T140TransferBlock>()->bytes[b]
                                          : HeldBlock<T520TransferBlock>()->bytes[b]);
        const auto it = c.nonZero.find(static_cast<int>(b));
        want.push_back(static_cast<std::uint8_t>(it == c.nonZero.end() ? 0 : it->second));
    }
    EXPECT_EQ(got, want);
}

// LCBR "1" (byte 52), FNK2 "1" (byte 56), RTS "2" on the T-140DR but "0" on the T-140DR-EL, RTSPW
// "2" in bytes 49 and 63.
INSTANTIATE_TEST_SUITE_P(
    Families, ResetCustomPage,
    ::testing::Values(ResetCase{{"T140DR", 1, 0x11, "", 0, 0, "T-140DR", "T140DR"}, {{52, 1}, {49, 2}}},
                      ResetCase{{"T140DREL", 1, 0x12, "", 0, 0, "T-140DR-EL", "T140DREL"}, {{52, 1}}},
                      ResetCase{{"T520E", 2, 0, "16", 1, 0, "T-520D", "T520E"}, {{52, 1}, {56, 1}, {49, 2}, {63, 2}}}),
    [](const ::testing::TestParamInfo<ResetCase>& p) { return std::string(p.param.setup.name); });

struct SecondByteCase {
    MeterSetup setup;
    const char* key; // the item set before the write, or none
    const char* value;
    int byte49, byte63;
};

class SecondByteCustomPage : public CustomPage, public ::testing::WithParamInterface<SecondByteCase> {};

// Byte 63 carries item 19 a second time, but only a table with item 19 writes it so; a table with
// RTSEL writes RTSEL's value there, and a table with neither sends the byte back as it was read.
TEST_P(SecondByteCustomPage, ByteSixtyThreeFollowsItemNineteenOnlyWhenTheTableHasIt)
{
    const SecondByteCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(Attach(c.setup));
    SimRegisterMemory memory = mode->Saved();
    memory.custom[0x210] = 1; // byte 49
    memory.custom[0x211] = 2; // byte 63
    mode->SetSaved(memory);
    Refresh();
    ASSERT_EQ(NameOf(page->GetItemTable()), c.setup.table);
    if (c.key != nullptr) Commit(c.key, c.value);
    page->OnSave();
    ASSERT_NE(page->GetItemTable(), nullptr);
    auto block = HeldBlock<T520TransferBlock>();
    EXPECT_EQ(block->bytes[49], c.byte49);
    EXPECT_EQ(block->bytes[63], c.byte63);
    EXPECT_EQ(mode->Saved().custom.at(0x211), static_cast<unsigned>(c.byte63));
}

INSTANTIATE_TEST_SUITE_P(
    Tables, SecondByteCustomPage,
    ::testing::Values(SecondByteCase{{"T520A", 2, 0, "15", 0, 0, "T-520D", "T520A"}, nullptr, nullptr, 0, 2},
                      SecondByteCase{{"T520H", 2, 0, "16", 1, 5, "T-520D", "T520H"}, "MEMORY", "1", 0, 2},
                      SecondByteCase{{"T520C", 2, 0, "15", 1, 1, "T-520D", "T520C"}, "RTSEL", "0", 0, 0},
                      SecondByteCase{{"T520F", 2, 0, "16", 1, 1, "T-520D", "T520F"}, "RTSEL", "1", 0, 1},
                      SecondByteCase{{"T520B", 2, 0, "15", 1, 3, "T-520D", "T520B"}, "RTSPW", "0", 0, 0},
                      SecondByteCase{{"T520E", 2, 0, "16", 1, 0, "T-520D", "T520E"}, "RTSPW", "2", 2, 2}),
    [](const ::testing::TestParamInfo<SecondByteCase>& p) { return std::string(p.param.setup.name); });

TEST_F(CustomPage, AValueWithoutAChoiceShowsEmptyAndIsWrittenBackAsItWas)
{
    ASSERT_NO_FATAL_FAILURE(Attach({"T140D", 1, 0x10, "", 0, 0, "T-140D", "T140D"}));
    Refresh();
    auto block = HeldBlock<T140TransferBlock>();
    block->bytes[32] = 200; // DIST
    page->DecodeT140(*block);
    page->GetList()->RebuildRows();
    EXPECT_EQ(Item("DIST")->value, "200");
    EXPECT_EQ(page->GetList()->Rows()->Text(0, 1).toStdString(), "");
    auto written = std::make_unique<T140TransferBlock>();
    page->EncodeT140(written.get());
    EXPECT_EQ(written->bytes[32], 200);
}

TEST_F(CustomPage, SaveCommitsAnOpenEditFirst)
{
    ASSERT_NO_FATAL_FAILURE(Attach({"T140D", 1, 0x10, "", 0, 0, "T-140D", "T140D"}));
    Refresh();
    CFlexListCtrl* list = page->GetList();
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(list->Rows()->index(0, 1)).center());
    ASSERT_EQ(list->GetEditItem(), Item("DIST"));
    list->GetCombo()->setCurrentIndex(2);
    static_cast<QPushButton*>(page->FindControl(Form::kSaveId))->setEnabled(true);
    page->OnSave();
    EXPECT_EQ(list->GetEditItem(), nullptr);
    EXPECT_EQ(Item("DIST")->value, "2");
    EXPECT_EQ(HeldBlock<T140TransferBlock>()->bytes[32], 2);
    EXPECT_EQ(mode->Saved().custom.at(0x000), 2u);
}

TEST_F(CustomPage, FailedReadEmptiesTheListAndForgetsTheTable)
{
    ASSERT_NO_FATAL_FAILURE(Attach({"T520E", 2, 0, "16", 1, 0, "T-520D", "T520E"}));
    // The end of a child program and a connection message with flag 0 empty the list too.
    Refresh();
    ASSERT_NE(page->GetItemTable(), nullptr);
    Commit("DIST", "1");
    EXPECT_EQ(page->IsModified(), 1);
    page->OnExternalProgramEnded(0, 0);
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(page->GetItemTable(), nullptr);
    EXPECT_EQ(page->IsModified(), 0);
    EXPECT_EQ(page->GetList()->Rows()->rowCount(), 0);
    Refresh();
    EXPECT_FALSE(Items().empty());
    page->Refresh(0);
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(page->GetList()->Rows()->rowCount(), 0);

    // A failed write, then a failed read.
    Refresh();
    ASSERT_NE(page->GetItemTable(), nullptr);
    meter->Unplug();
    Commit("DIST", "1");
    page->OnSave();
    EXPECT_EQ(page->GetItemTable(), nullptr);
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(page->IsModified(), 1); // nothing was written
    Refresh();
    EXPECT_EQ(page->GetItemTable(), nullptr);
    EXPECT_TRUE(Items().empty());
    EXPECT_EQ(page->GetList()->Rows()->rowCount(), 0);
    ASSERT_FALSE(rig.watcher.Runs().empty());
    EXPECT_NE(rig.watcher.Last().result, 0);
    // Save without a table sends nothing.
    const std::size_t runs = rig.watcher.Runs().size();
    page->OnSave();
    EXPECT_EQ(rig.watcher.Runs().size(), runs);
}

TEST_F(CustomPage, GroupsStartClosedAndLevelZeroRowsAreNumbered)
{
    ASSERT_NO_FATAL_FAILURE(Attach({"T140DR", 1, 0x11, "", 0, 0, "T-140DR", "T140DR"}));
    Refresh();
    CFlexListRows* rows = page->GetList()->Rows();
    ASSERT_EQ(rows->rowCount(), 13); // 23 items, AMLM's 5 and FLLM's 5 closed away
    EXPECT_EQ(rows->Text(0, 0).toStdString(), "1. " + GetLangString(26010));
    EXPECT_EQ(rows->Text(12, 0).toStdString(), "13. " + GetLangString(26230));
    EXPECT_EQ(rows->Text(11, 1).toStdString(), GetLangString(26222)); // LCBR "0", its second choice
}

} // namespace
