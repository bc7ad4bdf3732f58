// Temporary files that a killed process left: each writer removes, from the folder it writes to, the
// names that writers of ours make once they are a minute old, and nothing else (file times are set
// back instead of waiting).
#include "core/ShellFileUtility.h"
#include "core/util/CIniFile.h"
#include "core/util/HttpUtility.h"
#include "platform/RegistryDocument.h"
#include "platform/RegistryStore.h"
#include "platform/ShellFileOperations.h"
#include "platform/TemporaryFiles.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

namespace {

namespace fs = std::filesystem;

void Touch(const std::string& path, std::chrono::seconds age)
{
    std::ofstream(path) << "left over";
    fs::last_write_time(path, fs::file_time_type::clock::now() - age);
}

std::set<std::string> Entries(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

struct WriterCase {
    const char* name;
    const char* target;              // the file the writer writes
    std::vector<const char*> stale;  // a killed run's temporary files: removed
    std::vector<const char*> kept;   // names of others, or temporary files of other kinds: kept
    const char* fresh;               // a temporary file of ours changed seconds ago: a write in flight
    std::function<bool(const std::string& folder, const std::string& target)> write;
};

class StaleTemporaryFilesTest : public ::testing::TestWithParam<WriterCase> {};

void PrintTo(const WriterCase& c, std::ostream* os)
{
    *os << c.name;
}

TEST_P(StaleTemporaryFilesTest, AWriterRemovesOnlyItsOwnOldTemporaryFiles)
{
    const WriterCase& c = GetParam();
    ScratchFolder scratch;
    const std::string folder = scratch.Path();
    const auto old = std::chrono::seconds(2 * TemporaryFiles::kStaleSeconds);
    for (const char* name : c.stale) Touch(folder + "/" + name, old);
    for (const char* name : c.kept) Touch(folder + "/" + name, old);
    Touch(folder + "/" + c.fresh, std::chrono::seconds(5));

    ASSERT_TRUE(c.write(folder, folder + "/" + c.target));

    std::set<std::string> expected(c.kept.begin(), c.kept.end());
    expected.insert(c.fresh);
    expected.insert(c.target);
    if (std::string(c.name) == "Registry") expected.insert(std::string(c.target) + ".lock");
    EXPECT_EQ(Entries(folder), expected);
}

bool SaveAProfile(const std::string&, const std::string& target)
{
    ZarnLib_Profile profile;
    profile.SetVersion(3);
    profile.SetSubVersion(0);
    const ZarnLibString path(target.c_str());
    return SaveProfile(&path, &profile) == 0;
}

bool Download(const std::string& folder, const std::string&)
{
    for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) ::unsetenv(v);
    LoopbackHttpServer server;
    LoopbackHttpServer::Route route;
    route.body = "firmware";
    server.SetRoute("/files/fw.bin", route);
    HttpUtility http;
    ZarnFileRecord record;
    record.SetUrl("files/fw.bin");
    record.SetFileName("fw.bin");
    return http.Connect(server.BaseUrl()) && http.Download(server.BaseUrl(), record, folder);
}

INSTANTIATE_TEST_SUITE_P(
    Writers, StaleTemporaryFilesTest,
    ::testing::Values(
        WriterCase{"ProfileSave", "mine.kpf", {"other.kpf.4711.0.tmp", "x.KPF.12.3.tmp", "a.kpf.1.2.tmp.1.3.tmp"},
                   {"notes.txt.4711.0.tmp", "a.kpf.x.1.tmp", "a.kpf.part", ".tmp"}, "b.kpf.4711.1.tmp", SaveAProfile},
        WriterCase{"ImportOrBackup", "backup.csv", {"backup.csv.4711.0.tmp", "old.csv.1.1.tmp"},
                   {"mine.kpf.4711.0.tmp", "backup.csv.tmp"}, "backup.csv.4711.1.tmp",
                   [](const std::string&, const std::string& target) {
                       return ReplaceFileThroughTemporary(target, [](const std::string& temporary) {
                                  std::ofstream(temporary) << "backup";
                                  return true;
                              }) != FALSE;
                   }},
        WriterCase{"UserSettings", "KZARN_User.ini", {"KZARN_User.ini.4711.0.tmp"}, {"KZARN_User.ini.tmp4711"}, "KZARN_User.ini.4711.1.tmp",
                   [](const std::string&, const std::string& target) {
                       CIniFile ini;
                       ini.Parse("[Settings]\r\nLocale=C\r\n");
                       return ini.Save(target);
                   }},
        WriterCase{"Registry", "registry.reg", {"registry.reg.Ab12Cd", "registry.reg.000000"},
                   {"registry.reg.backup1", "registry.reg.bak", "other.reg.Ab12Cd"}, "registry.reg.Zz99zz",
                   [](const std::string&, const std::string& target) {
                       // A real change: a write that changes nothing writes no file at all.
                       return RegistryStore(target).Modify([](RegistryDocument& doc) {
                                  RegistryDocument::SetValue(doc.CreateKey("HKEY_CURRENT_USER\\Software"), "Stale",
                                                             REG_DWORD, {1, 0, 0, 0});
                                  return RegStatus::Ok;
                              }) == RegStatus::Ok;
                   }},
        WriterCase{"Download", "fw.bin", {".fw.bin.Ab12Cd", ".other.dlf.x1y2z3"}, {".config", ".fw.bin.toolongname", "fw.bin.Ab12Cd"},
                   ".fw.bin.Zz99zz", Download},
        WriterCase{"ShellReplace", "target.kpf", {".zarn-tmp-target.kpf", ".zarn-tmp-other.csv"}, {"zarn-tmp-x"}, ".zarn-tmp-other.kpf",
                   [](const std::string& folder, const std::string& target) {
                       std::ofstream(target) << "old";
                       std::ofstream(folder + "/source") << "new";
                       return ShellFileOperations::Current().CopyOrMove(folder + "/source", target, false, false,
                                                                        nullptr);
                   }}),
    [](const ::testing::TestParamInfo<WriterCase>& param) { return std::string(param.param.name); });

} // namespace
