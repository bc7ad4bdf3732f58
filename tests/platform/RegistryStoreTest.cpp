#include "platform/RegistryStore.h"
#include "tests/support/PeakMemoryGrowth.h"
#include "tests/support/ProcessCounters.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/FileText.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::vector<BYTE> Sz(const std::string& s)
{
    std::vector<BYTE> d(s.begin(), s.end());
    d.push_back(0);
    return d;
}

class RegistryStoreTest : public ::testing::Test {
protected:
    ScratchFolder dir;
    std::string file = dir.File("cfg/registry.reg");
    RegistryStore store{file};
};

TEST_F(RegistryStoreTest, EveryTypeSurvivesTheFile)
{
    struct Case {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    const std::vector<Case> cases = {
        {"Plain", REG_SZ, Sz("C:\\dir \"quoted\" ; text")},
        {"Empty", REG_SZ, Sz("")},
        {"NoTerminator", REG_SZ, {'a', 'b'}},
        {"Inner Zero", REG_SZ, {'a', 0, 'b', 0}},
        {"Line Break", REG_SZ, Sz("a\nb\r")},
        {"Zero Length", REG_SZ, {}},
        {"Expand", REG_EXPAND_SZ, Sz("%HOME%/x")},
        {"Multi", REG_MULTI_SZ, {'a', 0, 'b', 0, 0}},
        {"Number", REG_DWORD, {0x78, 0x56, 0x34, 0x12}},
        {"Short Number", REG_DWORD, {1, 2}},
        {"Bytes", REG_BINARY, {0, 0xff, 0x10}},
        {"", REG_SZ, Sz("unnamed")},
        {"Odd Type", 0x1234, {9}},
    };
    RegistryKey key;
    ASSERT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\KESTRIN\\Zarndesk", &key), RegStatus::Ok);
    for (const Case& c : cases) ASSERT_EQ(key.SetValue(c.name, c.type, c.data), RegStatus::Ok) << c.name;

    RegistryKey again;
    ASSERT_EQ(RegistryStore(file).OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\KESTRIN\\Zarndesk", RegAccess::Read, &again),
              RegStatus::Ok);
    for (const Case& c : cases) {
        DWORD type = 0;
        std::vector<BYTE> data;
        ASSERT_EQ(again.QueryValue(c.name, &type, &data), RegStatus::Ok) << c.name;
        EXPECT_EQ(type, c.type) << c.name;
        EXPECT_EQ(data, c.data) << c.name;
    }
    // Stored order is the order of first writing.
    std::string name;
    ASSERT_EQ(again.EnumValue(0, &name, nullptr, nullptr), RegStatus::Ok);
    EXPECT_EQ(name, "Plain");
    EXPECT_EQ(again.EnumValue(static_cast<DWORD>(cases.size()), &name, nullptr, nullptr), RegStatus::NoMoreItems);
}

TEST_F(RegistryStoreTest, NamesIgnoreCaseAndKeepTheirFirstSpelling)
{
    RegistryKey key;
    ASSERT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "Software\\Kestrin", &key), RegStatus::Ok);
    ASSERT_EQ(key.SetValue("Use Proxy", REG_SZ, Sz("a")), RegStatus::Ok);

    RegistryKey other;
    ASSERT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\KESTRIN", &other), RegStatus::Ok);
    ASSERT_EQ(other.SetValue("USE PROXY", REG_SZ, Sz("b")), RegStatus::Ok);
    ASSERT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\KESTRIN\\Sub", &other), RegStatus::Ok);

    std::vector<BYTE> data;
    ASSERT_EQ(key.QueryValue("use proxy", nullptr, &data), RegStatus::Ok);
    EXPECT_EQ(data, Sz("b"));
    const std::string text = ReadFile(file);
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Kestrin]"), std::string::npos) << text;
    EXPECT_NE(text.find("[HKEY_LOCAL_MACHINE\\Software\\Kestrin\\Sub]"), std::string::npos) << text;
    EXPECT_NE(text.find("\"Use Proxy\"=\"b\""), std::string::npos) << text;
    EXPECT_EQ(text.find("KESTRIN"), std::string::npos) << text;
}

TEST_F(RegistryStoreTest, KeysAreCreatedOnlyWhereAsked)
{
    RegistryKey key;
    EXPECT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "A\\B", RegAccess::Read, &key), RegStatus::NotFound);
    EXPECT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "A\\B", RegAccess::ReadWrite, &key), RegStatus::NotFound);
    EXPECT_FALSE(key.IsOpen());
    EXPECT_FALSE(std::filesystem::exists(file));

    ASSERT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "A\\\\B\\", &key), RegStatus::Ok);
    EXPECT_EQ(key.FullPath(), "HKEY_LOCAL_MACHINE\\A\\B");
    // The parent exists through its child; another root does not share the key.
    EXPECT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "a", RegAccess::Read, &key), RegStatus::Ok);
    EXPECT_EQ(store.OpenKey(HKEY_CURRENT_USER, "A\\B", RegAccess::Read, &key), RegStatus::NotFound);
    EXPECT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "A\nB", &key), RegStatus::BadName);
}

TEST_F(RegistryStoreTest, ReadOnlyOpenRefusesWritesAndLeavesTheFile)
{
    RegistryKey key;
    ASSERT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "K", &key), RegStatus::Ok);
    ASSERT_EQ(key.SetValue("v", REG_SZ, Sz("1")), RegStatus::Ok);
    const std::string before = ReadFile(file);

    RegistryKey reader;
    ASSERT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "K", RegAccess::Read, &reader), RegStatus::Ok);
    EXPECT_EQ(reader.SetValue("v", REG_SZ, Sz("2")), RegStatus::AccessDenied);
    EXPECT_EQ(ReadFile(file), before);
}

TEST_F(RegistryStoreTest, StoreFileMarkedReadOnlyAllowsOnlyReading)
{
    RegistryKey key;
    ASSERT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "K", &key), RegStatus::Ok);
    ASSERT_EQ(key.SetValue("v", REG_SZ, Sz("1")), RegStatus::Ok);
    ASSERT_EQ(::chmod(file.c_str(), 0444), 0);

    EXPECT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "K", RegAccess::ReadWrite, &key), RegStatus::AccessDenied);
    EXPECT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "K\\New", &key), RegStatus::AccessDenied);
    ASSERT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "K", RegAccess::Read, &key), RegStatus::Ok);
    std::vector<BYTE> data;
    EXPECT_EQ(key.QueryValue("v", nullptr, &data), RegStatus::Ok);
    EXPECT_EQ(data, Sz("1"));
}

TEST_F(RegistryStoreTest, HandWrittenFileIsRead)
{
    std::filesystem::create_directories(dir.File("cfg"));
    WriteFile(file, "ZARN REGISTRY 1\r\n"
                    "; comment\n"
                    "[HKEY_LOCAL_MACHINE\\SOFTWARE\\KESTRIN\\Zarndesk\\Download Setting]\n"
                    "\"Base Url\"=\"http://example.invalid\"\n"
                    "\"N\"=dword:1\n"
                    "@=hex(2):61,00\n"
                    "\"n\"=dword:00000002\n");
    RegistryKey key;
    ASSERT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "software\\kestrin\\zarndesk\\download setting", RegAccess::Read, &key),
              RegStatus::Ok);
    DWORD type = 0;
    std::vector<BYTE> data;
    ASSERT_EQ(key.QueryValue("base url", &type, &data), RegStatus::Ok);
    EXPECT_EQ(data, Sz("http://example.invalid"));
    ASSERT_EQ(key.QueryValue("N", &type, &data), RegStatus::Ok);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(data, (std::vector<BYTE>{2, 0, 0, 0})); // the later line wins
    ASSERT_EQ(key.QueryValue("", &type, &data), RegStatus::Ok);
    EXPECT_EQ(type, REG_EXPAND_SZ);
}

TEST_F(RegistryStoreTest, MalformedFileIsNeverRewritten)
{
    const std::vector<std::string> bad = {
        "no header\n",
        "ZARN REGISTRY 1\n\"v\"=\"before any key\"\n",
        "ZARN REGISTRY 1\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=dword:123456789\n",
        "ZARN REGISTRY 1\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=hex:0\n",
        "ZARN REGISTRY 1\n[HKEY_LOCAL_MACHINE\\K]\n\"v\"=\"open\n",
        "ZARN REGISTRY 1\n[HKEY_LOCAL_MACHINE\\\\K]\n",
        "ZARN REGISTRY 1\n[HKEY_LOCAL_MACHINE\\K]\nv=\"unquoted name\"\n",
    };
    std::filesystem::create_directories(dir.File("cfg"));
    for (const std::string& text : bad) {
        WriteFile(file, text);
        RegistryKey key;
        const RegStatus s = store.CreateKey(HKEY_LOCAL_MACHINE, "K", &key);
        if (s == RegStatus::Ok) EXPECT_EQ(key.SetValue("w", REG_SZ, Sz("x")), RegStatus::BadStore) << text;
        else EXPECT_EQ(s, RegStatus::BadStore) << text;
        EXPECT_EQ(ReadFile(file), text);
    }
}

// A damaged or replaced store file: a FIFO (whose open would wait for a writer for ever) and an 8 GiB
// sparse file. Each is refused at once without being read, reads as an empty store, is said once
// on the error stream with its path and the reason, and is never rewritten.
TEST_F(RegistryStoreTest, AFifoOrAHugeFileIsRefusedUnreadSaidOnceAndNeverRewritten)
{
    struct Case {
        const char* name; // also the file's
        std::function<bool(const std::string&)> make;
        const char* reason;
    };
    const Case cases[] = {
        {"fifo", [](const std::string& path) { return ::mkfifo(path.c_str(), 0600) == 0; }, "not a regular file"},
        {"sparse",
         [](const std::string& path) {
             WriteFile(path, "ZARN REGISTRY 1\n");
             return ::truncate(path.c_str(), off_t{8} << 30) == 0;
         },
         "larger than 16 MiB"},
    };
    std::filesystem::create_directories(dir.File("cfg"));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File(std::string("cfg/") + c.name + ".reg");
        const RegistryStore refused(path);
        ASSERT_TRUE(c.make(path));
        struct stat before {};
        ASSERT_EQ(::stat(path.c_str(), &before), 0);

        const PeakMemoryGrowth growth = PeakMemoryGrowth::Of([&refused] {
            const long long read = ProcessCounters::BytesRead();
            RegistryDocument doc;
            const RegStatus s = refused.Load(&doc);
            return s == RegStatus::BadStore && !doc.KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE") &&
                   ProcessCounters::BytesRead() - read < (1 << 20);
        });
        ASSERT_TRUE(growth.ran);
        EXPECT_TRUE(growth.result);
        EXPECT_LT(growth.bytes, std::int64_t{64} << 20);

        ::testing::internal::CaptureStderr();
        RegistryDocument doc;
        EXPECT_EQ(refused.Load(&doc), RegStatus::BadStore);
        RegistryKey key;
        EXPECT_EQ(refused.OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE", RegAccess::Read, &key), RegStatus::NotFound);
        EXPECT_EQ(refused.CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\KESTRIN", &key), RegStatus::BadStore);
        EXPECT_EQ(refused.Modify([](RegistryDocument&) { return RegStatus::Ok; }), RegStatus::BadStore);
        const std::string said = ::testing::internal::GetCapturedStderr();
        const std::size_t at = said.find("\"" + path + "\"");
        ASSERT_NE(at, std::string::npos) << said;
        EXPECT_EQ(said.find(path, at + path.size() + 2), std::string::npos) << "said more than once:\n" << said;
        EXPECT_NE(said.find(c.reason), std::string::npos) << said;
        EXPECT_NE(said.find("empty settings"), std::string::npos) << said;

        struct stat after {};
        ASSERT_EQ(::stat(path.c_str(), &after), 0);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_size, before.st_size);
        // A later store at this path is read again as usual.
        std::filesystem::remove(path);
        RegistryKey created;
        EXPECT_EQ(refused.CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE", &created), RegStatus::Ok);
        EXPECT_EQ(refused.Load(&doc), RegStatus::Ok);
    }
}

TEST_F(RegistryStoreTest, WritesLeaveNoTemporaryFiles)
{
    RegistryKey key;
    ASSERT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "K", &key), RegStatus::Ok);
    for (int i = 0; i < 5; ++i) ASSERT_EQ(key.SetValue("v" + std::to_string(i), REG_SZ, Sz("x")), RegStatus::Ok);
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(dir.File("cfg"))) names.push_back(e.path().filename());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
}

// Setting a value to what it holds leaves the file alone (the same file, not a rewritten copy);
// a real change still replaces it.
TEST_F(RegistryStoreTest, AnUnchangedValueIsNotWrittenAgain)
{
    RegistryKey key;
    ASSERT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "K", &key), RegStatus::Ok);
    ASSERT_EQ(key.SetValue("v", REG_SZ, Sz("x")), RegStatus::Ok);
    struct stat before {};
    ASSERT_EQ(::stat(file.c_str(), &before), 0);
    EXPECT_EQ(key.SetValue("v", REG_SZ, Sz("x")), RegStatus::Ok);
    EXPECT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "K", &key), RegStatus::Ok);
    struct stat after {};
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(key.SetValue("v", REG_SZ, Sz("y")), RegStatus::Ok);
    ASSERT_EQ(::stat(file.c_str(), &after), 0);
    EXPECT_NE(after.st_ino, before.st_ino);
    std::vector<BYTE> data;
    ASSERT_EQ(key.QueryValue("v", nullptr, &data), RegStatus::Ok);
    EXPECT_EQ(data, Sz("y"));
}

TEST(RegistryStorePath, EnvironmentChoosesTheFile)
{
    const char* saved = std::getenv("ZARN_REGISTRY_FILE");
    const std::string keep = saved ? saved : "";
    ::setenv("ZARN_REGISTRY_FILE", "/x/y.reg", 1);
    EXPECT_EQ(RegistryStore::DefaultPath(), "/x/y.reg");
    ::unsetenv("ZARN_REGISTRY_FILE");
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::string keepXdg = xdg ? xdg : "";
    ::setenv("XDG_CONFIG_HOME", "/cfg", 1);
    EXPECT_EQ(RegistryStore::DefaultPath(), "/cfg/Kestrin/registry.reg");
    if (xdg) ::setenv("XDG_CONFIG_HOME", keepXdg.c_str(), 1); else ::unsetenv("XDG_CONFIG_HOME");
    if (saved) ::setenv("ZARN_REGISTRY_FILE", keep.c_str(), 1);
}

// Writers in several processes at once: every value of every writer must survive.
TEST_F(RegistryStoreTest, ConcurrentWritersInOtherProcessesLoseNothing)
{
    constexpr int kWriters = 4;
    constexpr int kValues = 15;
    std::vector<pid_t> children;
    for (int w = 0; w < kWriters; ++w) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            const RegistryStore own(file);
            for (int i = 0; i < kValues; ++i) {
                RegistryKey key;
                if (own.CreateKey(HKEY_LOCAL_MACHINE, "K\\W" + std::to_string(w), &key) != RegStatus::Ok ||
                    key.SetValue("v" + std::to_string(i), REG_SZ, Sz(std::to_string(i))) != RegStatus::Ok) {
                    ::_exit(1);
                }
            }
            ::_exit(0);
        }
        children.push_back(pid);
    }
    for (pid_t pid : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(pid, &status, 0), pid);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int w = 0; w < kWriters; ++w) {
        RegistryKey key;
        ASSERT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "K\\W" + std::to_string(w), RegAccess::Read, &key), RegStatus::Ok);
        for (int i = 0; i < kValues; ++i) {
            std::vector<BYTE> data;
            ASSERT_EQ(key.QueryValue("v" + std::to_string(i), nullptr, &data), RegStatus::Ok) << w << " " << i;
            EXPECT_EQ(data, Sz(std::to_string(i)));
        }
    }
}

// The helper program is a separate process with its own store object.
TEST_F(RegistryStoreTest, ValueWrittenByOneProgramIsReadByAnother)
{
    const std::string tool = std::string(ZARN_BINARY_DIR) + "/bin/registry_tool";
    const std::string cmd = "'" + tool + "' '" + file + "' ";
    ASSERT_EQ(std::system((cmd + "set-string 'SOFTWARE\\KESTRIN\\Zarndesk' 'Last Update Port' COM7").c_str()), 0);
    RegistryKey key;
    ASSERT_EQ(store.OpenKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\KESTRIN\\Zarndesk", RegAccess::Read, &key), RegStatus::Ok);
    std::vector<BYTE> data;
    ASSERT_EQ(key.QueryValue("Last Update Port", nullptr, &data), RegStatus::Ok);
    EXPECT_EQ(data, Sz("COM7"));

    // The other way round, through a key opened before the other process changed the value.
    ASSERT_EQ(store.CreateKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\KESTRIN\\Zarndesk", &key), RegStatus::Ok);
    ASSERT_EQ(key.SetValue("Notify Zarn Update", REG_DWORD, {7, 0, 0, 0}), RegStatus::Ok);
    FILE* p = ::popen((cmd + "get 'software\\kestrin\\zarndesk' 'notify zarn update'").c_str(), "r");
    ASSERT_NE(p, nullptr);
    char buf[64] = {};
    const size_t n = std::fread(buf, 1, sizeof buf - 1, p);
    EXPECT_EQ(::pclose(p), 0);
    EXPECT_EQ(std::string(buf, n), "7");
}

} // namespace
