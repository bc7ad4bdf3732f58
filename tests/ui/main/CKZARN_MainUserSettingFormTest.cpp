// The user-settings page: its two tables, the record codecs, the validators' boundaries, the
// decimal character, and the read, edit and write of both HID families against the simulator.
// The simulator's memory has a member named like a Qt keyword macro, so Qt's keywords stay off here.
#define QT_NO_KEYWORDS
#include "tests/ui/meter/FacadeRig.h"

#include "core/util/CLangTable.h"
#include "meter/T140TransferBlock.h"
#include "meter/T520TransferBlock.h"
#include "tests/support/RecordingMessageSink.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/controls/CFlexDirectItem.h"
#include "ui/controls/CFlexItem.h"
#include "ui/controls/CFlexListCtrl.h"
#include "ui/controls/CFlexSelectItem.h"
#include "ui/main/CKZARN_MainUserSettingForm.h"
#include "meter/UserSettingCodec.h"
#include "ui/main/UserSettingTables.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>

#include <array>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using Form = CKZARN_MainUserSettingForm;
using Codec = UserSettingCodec;

// The application's decimal character for one test; the C library's afterwards.
struct DecimalScope {
    explicit DecimalScope(char decimal) { CCustomEdit::SetApplicationDecimalChar(decimal); }
    ~DecimalScope() { CCustomEdit::SetApplicationDecimalChar(0); }
};

std::vector<const UserSettingItemDef*> Rows(const UserSettingItemDef* table)
{
    std::vector<const UserSettingItemDef*> rows;
    for (const UserSettingItemDef* row = table; row->captionTextId != 0; ++row) rows.push_back(row);
    return rows;
}

// A name as the meter keeps it: 16 text units of two characters, low byte first.
std::array<std::uint16_t, 16> NameUnits(const std::string& name)
{
    std::array<std::uint16_t, 16> units{};
    for (std::size_t i = 0; i < name.size() && i < 32; ++i) {
        units[i / 2] = static_cast<std::uint16_t>(units[i / 2] | (static_cast<unsigned char>(name[i]) << (8 * (i % 2))));
    }
    return units;
}

} // namespace

TEST(UserSettingTables, RowSequenceKeysAndDefaults)
{
    for (const UserSettingItemDef* table : {UserItemsT140(), UserItemsT520()}) {
        const auto rows = Rows(table);
        ASSERT_EQ(rows.size(), 173u);
        EXPECT_EQ(rows[0]->key, "USFR");
        EXPECT_EQ(rows[1]->key, "USFRUS01");
        EXPECT_EQ(rows[2]->key, "USFRUS01FR");
        EXPECT_EQ(rows[41]->key, "USSA");
        EXPECT_EQ(rows[82]->key, "USFI");
        EXPECT_EQ(rows[83]->key, "USFIUS01");
        EXPECT_EQ(rows[84]->key, "USFIUS01FN");
        EXPECT_EQ(rows[85]->key, "USFIUS01FC");
        EXPECT_EQ(rows[83 + 23 * 3 + 2]->key, "USFIU224FC");
        EXPECT_EQ(rows[172]->key, "USFIUS30FC");
        EXPECT_EQ(rows[40]->captionTextId, 27202);
        EXPECT_EQ(rows[40]->defaultValue, "24.000");
        EXPECT_EQ(rows[42]->captionTextId, 27100);
        EXPECT_EQ(rows[43]->defaultValue, "180.000");
        EXPECT_EQ(rows[43]->editMode, 8);
        // Header rows: direct, not enabled, not grey, groups, mode 99.
        for (const int h : {0, 41, 82}) {
            EXPECT_EQ(rows[h]->level, 0);
            EXPECT_EQ(rows[h]->enabled, 0);
            EXPECT_EQ(rows[h]->greyWhenDisabled, 0);
            EXPECT_EQ(rows[h]->hasChildren, 1);
            EXPECT_EQ(rows[h]->editMode, 99);
        }
        EXPECT_EQ(rows[83 + 23 * 3]->defaultValue, "1");     // filter 24 on
        EXPECT_EQ(rows[83 + 24 * 3]->defaultValue, "0");     // filter 25 off
        EXPECT_EQ(rows[83 + 24 * 3 + 1]->defaultValue, "User Filter 25");
        EXPECT_EQ(rows[83 + 29 * 3 + 2]->defaultValue, "0.0");
        EXPECT_EQ(rows[83 + 29 * 3 + 2]->group, 3);
        EXPECT_EQ(rows[83 + 29 * 3 + 2]->entry, 30);
        EXPECT_EQ(rows[83 + 29 * 3 + 2]->sub, 3);
    }
    EXPECT_EQ(Rows(UserItemsT140())[84]->defaultValue, "CTO Double");
    EXPECT_EQ(Rows(UserItemsT140())[85]->defaultValue, "-2.1");
    EXPECT_EQ(Rows(UserItemsT520())[84]->defaultValue, "ND0.3");
    EXPECT_EQ(Rows(UserItemsT520())[83 + 23 * 3 + 1]->defaultValue, "Plusgreen Eighth");
    EXPECT_EQ(UserItemsForModel("T-140DR-PX"), UserItemsT140());
    EXPECT_EQ(UserItemsForModel("T-520D"), UserItemsT520());
    EXPECT_EQ(UserItemsForModel("T-310D/DR"), nullptr);
}

TEST(UserSettingCodec, ThreeDecimalValuesRoundTripInBothFamilies)
{
    for (const char decimal : {'.', ','}) {
        for (const Codec::Family family : {Codec::kT140, Codec::kT520}) {
            for (const char* text : {"23.976", "8.190", "2.002", "1.001", "9999.999"}) {
                const std::string shown = Codec::Localise(text, decimal);
                std::vector<std::uint8_t> block(T140TransferBlock::kSize + 16, 0);
                for (const int group : {1, 2}) {
                    if (group == 2 && std::strcmp(text, "9999.999") == 0) continue; // beyond 19 bits
                    Codec::Encode(family, block.data(), group, 7, 2, shown, decimal);
                    EXPECT_EQ(Codec::Decode(family, block.data(), group, 7, 2, decimal), shown)
                        << text << " group " << group << " family " << family << " decimal " << decimal;
                }
            }
            std::vector<std::uint8_t> block(T140TransferBlock::kSize + 16, 0);
            Codec::Encode(family, block.data(), 1, 1, 2, Codec::Localise("8.190", decimal), decimal);
            const std::size_t at = Codec::RecordOffset(family, 1, 1);
            EXPECT_EQ(block[at + 2] | (block[at + 3] << 8), 8190) << "8.190 is 8190 thousandths, not 8189";
            Codec::Encode(family, block.data(), 3, 30, 3, Codec::Localise("-2.3", decimal), decimal);
            EXPECT_EQ(Codec::Decode(family, block.data(), 3, 30, 3, decimal), Codec::Localise("-2.3", decimal));
        }
    }
}

TEST(UserSettingCodec, RecordPlacesAndFieldWidths)
{
    EXPECT_EQ(Codec::RecordOffset(Codec::kT140, 1, 1), 56u);
    EXPECT_EQ(Codec::RecordOffset(Codec::kT140, 2, 20), 290u);
    EXPECT_EQ(Codec::RecordOffset(Codec::kT140, 3, 1), 296u);
    EXPECT_EQ(Codec::RecordOffset(Codec::kT520, 1, 1), 66u);
    EXPECT_EQ(Codec::RecordOffset(Codec::kT520, 2, 1), 186u);
    EXPECT_EQ(Codec::RecordOffset(Codec::kT520, 3, 30), 306u + 29 * 36);
    EXPECT_EQ(Codec::RecordOffset(Codec::kT520, 3, 31), 0u);
    EXPECT_EQ(Codec::RecordOffset(Codec::kT520, -1, -1), 0u);

    std::vector<std::uint8_t> block(T520TransferBlock::kSize, 0);
    // 99999.999 needs 27 bits: the T-520 keeps them, the T-140's 24 bits do not.
    Codec::Encode(Codec::kT520, block.data(), 1, 2, 2, "99999.999", '.');
    EXPECT_EQ(Codec::Decode(Codec::kT520, block.data(), 1, 2, 2, '.'), "99999.999");
    EXPECT_EQ(block[72 + 5], 0x05);
    Codec::Encode(Codec::kT140, block.data(), 1, 2, 1, "1", '.');
    EXPECT_EQ(block[62], 1);
    EXPECT_EQ(Codec::Decode(Codec::kT140, block.data(), 1, 2, 1, '.'), "1");

    // A 32-character name fills the field without terminator; a longer one is cut.
    const std::string exact(32, 'N');
    Codec::Encode(Codec::kT140, block.data(), 3, 2, 2, exact, '.');
    EXPECT_EQ(Codec::Decode(Codec::kT140, block.data(), 3, 2, 2, '.'), exact);
    EXPECT_EQ(block[332 + 34], 0) << "the compensation after the name is untouched";
    Codec::Encode(Codec::kT140, block.data(), 3, 2, 2, exact + "LONGER", '.');
    EXPECT_EQ(Codec::Decode(Codec::kT140, block.data(), 3, 2, 2, '.'), exact);
    Codec::Encode(Codec::kT140, block.data(), 3, 2, 2, "", '.');
    EXPECT_EQ(Codec::Decode(Codec::kT140, block.data(), 3, 2, 2, '.'), "");
    // Eleven three-byte letters (33 bytes) keep ten whole ones: never a cut inside a character.
    std::string letters;
    for (int i = 0; i < 11; ++i) letters += "\xE6\x9D\xB1";
    Codec::Encode(Codec::kT140, block.data(), 3, 2, 2, letters, '.');
    EXPECT_EQ(Codec::Decode(Codec::kT140, block.data(), 3, 2, 2, '.'), letters.substr(0, 30));
}

TEST(UserSettingCodec, NumbersUseTheApplicationsDecimalCharacter)
{
    EXPECT_EQ(Codec::FormatNumber("%.3f", 24.0, ','), "24,000");
    EXPECT_EQ(Codec::FormatNumber("%-.1f", -2.14, '.'), "-2.1");
    EXPECT_EQ(Codec::FormatNumber("%.1f", -0.04, ','), "-0,0");
    const struct {
        const char* text;
        char decimal;
        double value;
    } cases[] = {
        {"24,5", ',', 24.5}, {"24.5", ',', 24.0}, {"24.5", '.', 24.5}, {" -1,25x", ',', -1.25},
        {"+3", '.', 3.0},    {"abc", '.', 0.0},   {"", '.', 0.0},       {"1e3", '.', 1000.0},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(Codec::ReadNumber(c.text, c.decimal), c.value) << c.text << " " << c.decimal;
    }
}

// The page on a facade whose worker never starts: the model and revision are handed in.
class UserPageOffline : public ::testing::Test {
protected:
    void SetUp() override
    {
        ::setenv("ZARN_REGISTRY_FILE", scratch.File("registry.reg").c_str(), 1);
        CZarnManager::CreateInstance(std::make_unique<CKZARN_LMCtrl>(sink));
        page = std::make_unique<Form>();
        page->Create(Form::kTemplateId, nullptr, nullptr);
    }
    void TearDown() override
    {
        page.reset();
        CZarnManager::DestroyInstance();
        ::unsetenv("ZARN_REGISTRY_FILE");
    }
    void SetMeter(const std::string& model, const std::string& revision)
    {
        CZarnManager* facade = CZarnManager::GetInstance();
        facade->GetLMCtrl()->SetMeterInfo5(model == "T-520D" ? MeterFamilyT520 : MeterFamilyT140, revision, "", "",
                                           "", model, 1, 1);
        facade->RefreshMeterInfo();
        page->GetList()->ClearItems();
        page->BuildItems();
    }
    // What a committed edit does: the list sends WM_FLEX_BEGINEDIT and WM_FLEX_ENDEDIT.
    std::string Commit(const std::string& key, const std::string& value)
    {
        CFlexItem* item = page->FindItem(key);
        if (item == nullptr) return "<no item>";
        page->OnFlexBeginEdit(0, reinterpret_cast<LPARAM>(item));
        item->value = value;
        page->OnFlexEndEdit(0, reinterpret_cast<LPARAM>(item));
        return item->value;
    }

    ScratchFolder scratch;
    RecordingMessageSink sink;
    std::unique_ptr<Form> page;
};

TEST_F(UserPageOffline, ValidatorsBoundariesByModelAndRevision)
{
    struct Case {
        const char* model;
        const char* revision;
        const char* key;
        const char* typed;
        const char* result; // the committed value, or the default when refused
    };
    const Case cases[] = {
        {"T-140DR", "19", "USFRUS01FR", "24", "24.000"},
        {"T-140DR", "19", "USFRUS01FR", "0", "24.000"},
        {"T-140DR", "19", "USFRUS01FR", "0.001", "0.001"},
        {"T-140DR", "19", "USFRUS01FR", "9999.999", "9999.999"},
        {"T-140DR", "19", "USFRUS01FR", "10000", "24.000"},
        {"T-520D", "15", "USFRUS01FR", "10000", "10000.000"},
        {"T-520D", "15", "USFRUS01FR", "100000", "24.000"},
        {"T-140D", "19", "USFRUS01FR", "", "24.000"},
        {"T-140D", "19", "USSAUS05AS", "360", "360.000"},
        {"T-140D", "19", "USSAUS05AS", "360.001", "180.000"},
        {"T-140D", "19", "USSAUS05AS", "", "180.000"},
        {"T-140DR", "19", "USFIUS01FC", "-5.0", "-5.0"},
        {"T-140DR", "19", "USFIUS01FC", "-5.1", "-2.1"},
        {"T-140DR", "19", "USFIUS01FC", "-2.14", "-2.1"},
        {"T-140DR", "20", "USFIUS01FC", "12.0", "12.0"},
        {"T-140DR", "20", "USFIUS01FC", "12.1", "-2.1"},
        {"T-520D", "15", "USFIUS01FC", "12.0", "12.0"},
        {"T-520D", "15", "USFIUS01FC", "-12.1", "-1.0"},
        {"T-520D", "16", "USFIUS01FC", "-20.0", "-20.0"},
        {"T-520D", "16", "USFIUS01FC", "20.1", "-1.0"},
        {"T-520D", "16", "USFIU224FC", "1.5", "1.5"},
        {"T-140DR", "19", "USFIUS03FN", "", ""},
    };
    for (const Case& c : cases) {
        SetMeter(c.model, c.revision);
        EXPECT_EQ(Commit(c.key, c.typed), c.result) << c.model << " rev " << c.revision << " " << c.key << " " << c.typed;
    }
}

TEST_F(UserPageOffline, CommittedNumbersAndDefaultsUseTheDecimalCharacter)
{
    DecimalScope comma(',');
    SetMeter("T-140DR", "19");
    EXPECT_EQ(page->FindItem("USFRUS01FR")->value, "24,000");
    EXPECT_EQ(page->FindItem("USFIUS01FC")->value, "-2,1");
    EXPECT_EQ(page->FindItem("USFIUS07FN")->value, "No.85") << "names are not numbers";
    EXPECT_EQ(Commit("USFRUS01FR", "23,976"), "23,976");
    EXPECT_EQ(Commit("USSAUS01AS", "172,8"), "172,800");
    EXPECT_EQ(Commit("USFIUS01FC", "-1,27"), "-1,3");
    EXPECT_EQ(page->IsModified(), 1);

    T140TransferBlock block;
    page->EncodeT140(&block);
    EXPECT_EQ(block.GetWord(56 + 2), 23976);
    EXPECT_EQ(block.GetWord(176 + 2) | (block.bytes[176 + 4] << 16), 172800);
    EXPECT_EQ(static_cast<std::int16_t>(block.GetWord(296 + 34)), -13);
}

TEST_F(UserPageOffline, T310ShowsTheNoticeOverADisabledEmptyList)
{
    page->show();
    SetMeter("T-310D/DR", "15");
    page->OnMeterInfoChanged();
    EXPECT_EQ(page->GetItemTable(), nullptr);
    EXPECT_TRUE(page->GetList()->GetItemList().GetItems().empty());
    EXPECT_FALSE(page->GetList()->isEnabled());
    EXPECT_TRUE(page->GetNotice()->isVisible());
    EXPECT_EQ(page->GetNotice()->text().toStdString(), GetLangString(Form::kNoticeTextId));
    EXPECT_EQ(page->GetNotice()->parentWidget(), page->GetList());
    const QPalette& palette = page->GetNotice()->palette();
    EXPECT_EQ(palette.color(QPalette::Disabled, QPalette::WindowText),
              palette.color(QPalette::Active, QPalette::WindowText))
        << "the notice over the disabled list is drawn as an enabled label";
    EXPECT_FALSE(page->FindControl(Form::kSaveId)->isEnabled());
    EXPECT_FALSE(page->FindControl(Form::kResetId)->isEnabled());

    SetMeter("T-140D", "15");
    page->OnMeterInfoChanged();
    EXPECT_TRUE(page->GetList()->isEnabled());
    EXPECT_FALSE(page->GetNotice()->isVisible());
    EXPECT_TRUE(page->GetNotice()->text().isEmpty());
}

// Both HID families against the simulator: read, edit, write and read again.
class UserPageOnMeter : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        rig.ServeVersionFile("[Version]\nAPL,1.0.0,2024/03/01\n[Status]\nNormal\n");
        meter = t520() ? rig.AddT520(&mode) : rig.AddT140(0x11, &mode);
        page = std::make_unique<Form>();
        page->Create(Form::kTemplateId, nullptr, nullptr);
        rig.Start();
        std::vector<std::string> names;
        ASSERT_EQ(rig.facade->ReceiveProfileNames(&names), 0); // the identity read
        QCoreApplication::processEvents();
    }
    bool t520() const { return GetParam() == 2; }
    std::string Value(const std::string& key) const
    {
        CFlexItem* item = page->FindItem(key);
        return item != nullptr ? item->value : "<no item>";
    }
    void Commit(const std::string& key, const std::string& value)
    {
        CFlexItem* item = page->FindItem(key);
        ASSERT_NE(item, nullptr) << key;
        page->OnFlexBeginEdit(0, reinterpret_cast<LPARAM>(item));
        item->value = value;
        page->OnFlexEndEdit(0, reinterpret_cast<LPARAM>(item));
    }

    FacadeRig rig;
    std::shared_ptr<MeterSimulator> meter;
    SimRegisterMeter* mode = nullptr;
    std::unique_ptr<Form> page;
};

TEST_P(UserPageOnMeter, ReadEditWriteRoundTripKeepsEveryValue)
{
    SimRegisterMemory memory = mode->Saved();
    const unsigned rates[] = {23976, 8190, 2002, 1001};
    for (unsigned i = 0; i < 20; ++i) {
        const unsigned milli = i < 4 ? rates[i] : 24000 + 1000 * i;
        memory.list10[i] = {i % 2, milli & 0xFFFF, milli >> 16, {}};
        const unsigned angle = i < 4 ? rates[i] : 180000 + 500 * i;
        memory.list11[i] = {(i + 1) % 2, angle & 0xFFFF, angle >> 16, {}};
    }
    for (unsigned i = 0; i < 30; ++i) {
        const int tenths = static_cast<int>(i) - 15;
        memory.list12[i] = {i % 2, static_cast<unsigned>(tenths) & 0xFFFF, 0, NameUnits("Filter " + std::to_string(i + 1))};
    }
    memory.list12[29].name = NameUnits(std::string(32, 'Z'));
    mode->SetSaved(memory);

    page->Refresh(1);
    ASSERT_NE(page->GetItemTable(), nullptr);
    EXPECT_EQ(page->GetItemTable(), t520() ? UserItemsT520() : UserItemsT140());
    EXPECT_EQ(Value("USFRUS01FR"), "23.976");
    EXPECT_EQ(Value("USFRUS02FR"), "8.190");
    EXPECT_EQ(Value("USSAUS03AS"), "2.002");
    EXPECT_EQ(Value("USSAUS04AS"), "1.001");
    EXPECT_EQ(Value("USFRUS02"), "1");
    EXPECT_EQ(Value("USSAUS02"), "0");
    EXPECT_EQ(Value("USFIUS01FC"), "-1.5");
    EXPECT_EQ(Value("USFIU224FC"), "0.8");
    EXPECT_EQ(Value("USFIUS03FN"), "Filter 3");
    EXPECT_EQ(Value("USFIUS30FN"), std::string(32, 'Z'));

    // Unchanged, written and read back: every value of the meter stays, 8.190 included.
    page->OnSave();
    EXPECT_EQ(page->GetItemTable() != nullptr, true) << "the write succeeded";
    const SimRegisterMemory written = mode->Saved();
    for (std::size_t i = 0; i < 20; ++i) {
        EXPECT_EQ(written.list10[i], memory.list10[i]) << "frame rate " << i + 1;
        EXPECT_EQ(written.list11[i], memory.list11[i]) << "shutter angle " << i + 1;
    }
    for (std::size_t i = 0; i < 30; ++i) EXPECT_EQ(written.list12[i], memory.list12[i]) << "filter " << i + 1;

    // Edits, written, then read again from the meter.
    Commit("USFRUS05FR", "24");
    Commit("USFRUS06FR", t520() ? "10000" : "10000"); // refused on a T-140, taken on a T-520D
    Commit("USSAUS05AS", "172.8");
    Commit("USFIUS05FN", "Own");
    Commit("USFIUS05FC", "-1.27");
    Commit("USFIUS05", "1");
    EXPECT_EQ(page->IsModified(), 1);
    EXPECT_TRUE(page->FindControl(Form::kSaveId)->isEnabled());
    page->OnSave();
    EXPECT_EQ(page->IsModified(), 0);
    const SimRegisterMemory edited = mode->Saved();
    EXPECT_EQ(edited.list10[4].fieldA | (edited.list10[4].fieldB << 16), 24000u);
    EXPECT_EQ(edited.list10[5].fieldA | (edited.list10[5].fieldB << 16), t520() ? 10000000u : 29000u);
    EXPECT_EQ(edited.list11[4].fieldA | (edited.list11[4].fieldB << 16), 172800u);
    EXPECT_EQ(edited.list12[4].fieldA, static_cast<unsigned>(-13) & 0xFFFF);
    EXPECT_EQ(edited.list12[4].value, 1u);
    // The meter takes a name up to its terminating unit ("Ow", "n\0").
    EXPECT_EQ(edited.list12[4].name[0], NameUnits("Own")[0]);
    EXPECT_EQ(edited.list12[4].name[1], NameUnits("Own")[1]);

    page->Refresh(0);
    EXPECT_TRUE(page->GetList()->GetItemList().GetItems().empty());
    page->Refresh(1);
    EXPECT_EQ(Value("USFRUS05FR"), "24.000");
    EXPECT_EQ(Value("USFRUS06FR"), t520() ? "10000.000" : "29.000");
    EXPECT_EQ(Value("USSAUS05AS"), "172.800");
    EXPECT_EQ(Value("USFIUS05FN"), "Own");
    EXPECT_EQ(Value("USFIUS05FC"), "-1.3");
    EXPECT_EQ(Value("USFRUS02FR"), "8.190");
}

TEST_P(UserPageOnMeter, ResetThenSaveWritesTheModelsDefaults)
{
    page->Refresh(1);
    ASSERT_NE(page->GetItemTable(), nullptr);
    EXPECT_TRUE(page->FindControl(Form::kResetId)->isEnabled());
    page->OnReset();
    EXPECT_EQ(page->IsModified(), 1);
    page->OnSave();
    const SimRegisterMemory written = mode->Saved();
    for (std::size_t i = 0; i < 20; ++i) {
        EXPECT_EQ(written.list10[i].value, 0u);
        EXPECT_EQ(written.list10[i].fieldA | (written.list10[i].fieldB << 16), 24000u);
        EXPECT_EQ(written.list11[i].value, 0u);
        EXPECT_EQ(written.list11[i].fieldA | (written.list11[i].fieldB << 16), 180000u);
    }
    for (std::size_t i = 0; i < 30; ++i) EXPECT_EQ(written.list12[i].value, i < 24 ? 1u : 0u) << i;
    EXPECT_EQ(written.list12[0].name, NameUnits(t520() ? "ND0.3" : "CTO Double"));
    EXPECT_EQ(written.list12[0].fieldA, static_cast<unsigned>(t520() ? -10 : -21) & 0xFFFF);
    EXPECT_EQ(written.list12[29].name, NameUnits("User Filter 30"));
}

INSTANTIATE_TEST_SUITE_P(Families, UserPageOnMeter, ::testing::Values(1, 2),
                         [](const ::testing::TestParamInfo<int>& family) { return family.param == 1 ? "T140" : "T520"; });
