#include "core/util/CRegistryHelper.h"
#include "core/util/ScrambleText.h"
#include "platform/RegistryStore.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <set>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace {

const char kBase[] = "SOFTWARE\\KESTRIN\\Zarndesk";

// Each test gets its own store file through the environment, as both programs find theirs.
class CRegistryHelperTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("ZARN_REGISTRY_FILE", file.c_str(), 1); }
    void TearDown() override { ::unsetenv("ZARN_REGISTRY_FILE"); }

    // Writes a raw value straight into the store.
    void Put(const std::string& keyPath, const std::string& name, DWORD type, std::vector<BYTE> data)
    {
        RegistryKey key;
        ASSERT_EQ(RegistryStore(file).CreateKey(HKEY_LOCAL_MACHINE, keyPath, &key), RegStatus::Ok);
        ASSERT_EQ(key.SetValue(name, type, data), RegStatus::Ok);
    }
    RegStatus Get(const std::string& keyPath, const std::string& name, DWORD* type, std::vector<BYTE>* data)
    {
        RegistryKey key;
        const RegStatus s = RegistryStore(file).OpenKey(HKEY_LOCAL_MACHINE, keyPath, RegAccess::Read, &key);
        return s == RegStatus::Ok ? key.QueryValue(name, type, data) : s;
    }
    static std::vector<BYTE> Sz(const std::string& s)
    {
        std::vector<BYTE> d(s.begin(), s.end());
        d.push_back(0);
        return d;
    }

    ScratchFolder dir;
    std::string file = dir.File("registry.reg");
};

TEST_F(CRegistryHelperTest, ValuePathsResolveToKeyAndValueName)
{
    struct Case {
        std::vector<std::string> pushed;
        std::string valuePath;
        bool literal;
        std::string key;
        std::string value;
    };
    const std::vector<Case> cases = {
        {{kBase}, "Version", false, kBase, "Version"},
        {{kBase}, "Download Setting\\\\Proxy\\Use Proxy\\", false, std::string(kBase) + "\\Download Setting\\Proxy",
         "Use Proxy"},
        {{"\\SOFTWARE\\\\KESTRIN\\", "Zarndesk"}, "Version", false, kBase, "Version"},
        {{}, "Zarndesk", false, "Zarndesk", ""},
        {{}, "A\\B", false, "A", "B"},
        {{kBase}, "a\\b", true, kBase, "a\\b"},
        {{}, "", false, "", ""},
    };
    for (const Case& c : cases) {
        CRegistryHelper reg(HKEY_LOCAL_MACHINE, 1);
        for (const std::string& p : c.pushed) reg.PushKey(p);
        std::string value = "stale";
        EXPECT_EQ(reg.ResolveValuePath(c.valuePath, false, value, c.literal), c.key) << c.valuePath;
        EXPECT_EQ(value, c.value) << c.valuePath;
    }
    CRegistryHelper reg(HKEY_LOCAL_MACHINE, 1);
    reg.PopKey(); // nothing pushed: nothing happens
    reg.PushKey(kBase);
    std::string value;
    EXPECT_EQ(reg.ResolveValuePath("Download Setting\\Proxy", true, value), std::string(kBase) + "\\Download Setting\\Proxy");
    EXPECT_EQ(value, "");
    EXPECT_FALSE(std::filesystem::exists(file)); // the no-create policy touched nothing
}

TEST_F(CRegistryHelperTest, MissingNumberIsWrittenBackWhereKeysAreCreated)
{
    CRegistryHelper reg(HKEY_LOCAL_MACHINE, 0);
    reg.PushKey(kBase);
    EXPECT_EQ(reg.GetDword("Notify Firmware Update", 1), 1);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_EQ(Get(kBase, "Notify Firmware Update", &type, &data), RegStatus::Ok);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(data, (std::vector<BYTE>{1, 0, 0, 0}));

    ASSERT_TRUE(reg.SetDword("Notify Firmware Update", 0));
    EXPECT_EQ(reg.GetDword("Notify Firmware Update", 1), 0);
}

TEST_F(CRegistryHelperTest, NoCreatePolicyNeitherCreatesKeysNorWrites)
{
    CRegistryHelper reg(HKEY_LOCAL_MACHINE, 1);
    reg.PushKey(kBase);
    EXPECT_EQ(reg.GetDword("Download Setting\\Proxy\\Use Proxy", 0), 0);
    EXPECT_FALSE(reg.SetString("Photometer Type", "T-520D"));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST_F(CRegistryHelperTest, ValueOfAnotherTypeIsNeverOverwrittenByARead)
{
    Put(kBase, "Notify Zarn Update", REG_SZ, Sz("yes"));
    Put(kBase, "Password", REG_DWORD, {5, 0, 0, 0});
    CRegistryHelper reg(HKEY_LOCAL_MACHINE, 0);
    reg.PushKey(kBase);
    EXPECT_EQ(reg.GetDword("Notify Zarn Update", 1), 1);
    EXPECT_EQ(reg.GetScrambledString("Password", ""), "");

    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_EQ(Get(kBase, "Notify Zarn Update", &type, &data), RegStatus::Ok);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(data, Sz("yes"));
    ASSERT_EQ(Get(kBase, "Password", &type, &data), RegStatus::Ok);
    EXPECT_EQ(type, REG_DWORD);
}

// A user who may only read the settings still gets the stored proxy and switches.
TEST_F(CRegistryHelperTest, ReaderWithoutWriteAccessGetsTheStoredValues)
{
    const std::string proxyKey = std::string(kBase) + "\\Download Setting\\Proxy";
    Put(proxyKey, "Use Proxy", REG_DWORD, {1, 0, 0, 0});
    Put(proxyKey, "Password", REG_SZ, Sz(ScrambleText("s3cret")));
    Put(kBase, "Notify Zarn Update", REG_DWORD, {0, 0, 0, 0});
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
    const std::string before = ReadFile(file);

    for (int noCreate : {0, 1}) {
        CRegistryHelper reg(HKEY_LOCAL_MACHINE, noCreate);
        reg.PushKey(kBase);
        EXPECT_EQ(reg.GetDword("Notify Zarn Update", 1), 0);
        EXPECT_EQ(reg.GetDword("Notify Firmware Update", 1), 1); // missing: default, not written
        reg.PushKey("Download Setting\\Proxy");
        EXPECT_EQ(reg.GetDword("Use Proxy", 0), 1);
        EXPECT_EQ(reg.GetScrambledString("Password", ""), "s3cret");
        EXPECT_EQ(reg.GetScrambledString("Missing", ""), "");
        EXPECT_FALSE(reg.SetString("Server Name", "proxy"));
    }
    EXPECT_EQ(ReadFile(file), before);
}

TEST_F(CRegistryHelperTest, StringReadsAcceptOnlyWholeStringsOfAtMost254Characters)
{
    struct Case {
        const char* name;
        DWORD type;
        std::vector<BYTE> data;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"Plain", REG_SZ, Sz("http://h/"), "http://h/"},
        {"Expand", REG_EXPAND_SZ, Sz("%X%"), "%X%"},
        {"Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}, "a"},
        {"Multi Single End", REG_MULTI_SZ, {'a', 0}, "default"},
        {"Zero Length", REG_SZ, {}, ""},
        {"No Terminator", REG_SZ, {'a', 'b'}, "default"},
        {"Longest", REG_SZ, Sz(std::string(254, 'x')), std::string(254, 'x')},
        {"Too Long", REG_SZ, Sz(std::string(255, 'x')), "default"},
        {"Number", REG_DWORD, {1, 0, 0, 0}, "default"},
        {"Bytes", REG_BINARY, {'a', 0}, "default"},
    };
    for (const Case& c : cases) Put(kBase, c.name, c.type, c.data);
    const std::string before = ReadFile(file);
    CRegistryHelper reg(HKEY_LOCAL_MACHINE, 0);
    reg.PushKey(kBase);
    for (const Case& c : cases) EXPECT_EQ(reg.GetString(c.name, "default"), c.expected) << c.name;
    EXPECT_EQ(reg.GetString("Port Number", "80"), "80");
    EXPECT_EQ(ReadFile(file), before); // string reads never write
}

TEST_F(CRegistryHelperTest, ScrambledPasswordRoundTripsThroughTheStore)
{
    CRegistryHelper reg(HKEY_LOCAL_MACHINE, 0);
    reg.PushKey(kBase);
    reg.PushKey("Download Setting\\Proxy");
    for (const std::string& pw : {std::string("pässwörd"), std::string(127, '~'), std::string()}) {
        ASSERT_TRUE(reg.SetScrambledString("Password", pw));
        EXPECT_EQ(reg.GetScrambledString("Password", ""), pw);
        std::vector<BYTE> data;
        ASSERT_EQ(Get(std::string(kBase) + "\\Download Setting\\Proxy", "Password", nullptr, &data), RegStatus::Ok);
        EXPECT_EQ(data.size(), pw.size() * 2 + 1); // hex digits and the terminator
        EXPECT_EQ(data, Sz(ScrambleText(pw)));
    }
}

// A password too long to read back is refused, and a stored value too long to read survives reads.
TEST_F(CRegistryHelperTest, OverlongPasswordIsNeitherStoredNorOverwritten)
{
    CRegistryHelper reg(HKEY_LOCAL_MACHINE, 0);
    reg.PushKey(kBase);
    ASSERT_TRUE(reg.SetScrambledString("Password", "keep"));
    EXPECT_FALSE(reg.SetScrambledString("Password", std::string(128, 'p')));
    EXPECT_EQ(reg.GetScrambledString("Password", ""), "keep");

    const std::string longStored = ScrambleText(std::string(200, 'q'));
    Put(kBase, "Password", REG_SZ, Sz(longStored));
    EXPECT_EQ(reg.GetScrambledString("Password", ""), "");
    std::vector<BYTE> data;
    ASSERT_EQ(Get(kBase, "Password", nullptr, &data), RegStatus::Ok);
    EXPECT_EQ(data, Sz(longStored));
}

TEST_F(CRegistryHelperTest, MissingPasswordIsWrittenBackAsTheEmptyText)
{
    CRegistryHelper reg(HKEY_LOCAL_MACHINE, 0);
    reg.PushKey(kBase);
    EXPECT_EQ(reg.GetScrambledString("Password", ""), "");
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_EQ(Get(kBase, "Password", &type, &data), RegStatus::Ok);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(data, Sz(""));
}

TEST_F(CRegistryHelperTest, EnumValuesListsNamesInStoredOrder)
{
    Put(kBase, "B", REG_SZ, Sz("1"));
    Put(kBase, "a", REG_DWORD, {0, 0, 0, 0});
    Put(kBase, "Huge", REG_BINARY, std::vector<BYTE>(1025, 0));
    Put(kBase, "After", REG_SZ, Sz("2"));
    CRegistryHelper reg(HKEY_LOCAL_MACHINE, 1);
    std::vector<std::string> names = {"old"};
    ASSERT_TRUE(reg.EnumValues(kBase, names));
    EXPECT_EQ(names, (std::vector<std::string>{"B", "a"})); // ends at the value that does not fit
    EXPECT_FALSE(reg.EnumValues("SOFTWARE\\Nothing", names));
    EXPECT_TRUE(names.empty());
}

TEST(ScrambleText, EveryTextComesBackAndIsStoredAsLowerCaseHex)
{
    for (size_t len = 1; len <= 255; ++len) {
        std::string plain;
        for (size_t i = 0; i < len; ++i) plain.push_back(static_cast<char>((i * 37 + len) & 0xFF));
        const std::string stored = ScrambleText(plain);
        ASSERT_EQ(stored.size(), 2 * len);
        ASSERT_EQ(stored.find_first_not_of("0123456789abcdef"), std::string::npos);
        ASSERT_EQ(UnscrambleText(stored), plain);
    }
    // Every byte has its own stored form, and it does not depend on the position.
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::string stored = ScrambleText(all);
    std::set<std::string> forms;
    for (int b = 0; b < 256; ++b) {
        EXPECT_EQ(ScrambleText(std::string(1, static_cast<char>(b))), stored.substr(2 * b, 2));
        forms.insert(stored.substr(2 * b, 2));
    }
    EXPECT_EQ(forms.size(), 256u);
}

TEST(ScrambleText, StoredFormIsReadInEitherCaseAndMalformedFormGivesEmpty)
{
    std::string upper = ScrambleText("Proxy-Pass");
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(UnscrambleText(upper), "Proxy-Pass");
    EXPECT_EQ(ScrambleText(""), "");
    EXPECT_EQ(UnscrambleText(""), "");
    for (const char* bad : {"a", "abc", "zz", "0x", "1 "}) EXPECT_EQ(UnscrambleText(bad), "") << bad;
}

} // namespace
