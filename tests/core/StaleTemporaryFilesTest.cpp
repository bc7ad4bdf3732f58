// Temporary files that a killed process left: each writer removes, from the folder it writes to,
// the files of the one temporary pattern whose status has not changed for a minute, and nothing
// else: not the names that earlier versions of the writers used, which may now be a user's files.
// The sweeps' clock is moved forward instead of waiting; file times are set a day back, which
// changes nothing, as the sweep judges by the status-change time.
#include "core/ShellFileUtility.h"
#include "core/util/CIniFile.h"
#include "core/util/HttpUtility.h"
#include "platform/RegistryDocument.h"
#include "platform/RegistryStore.h"
#include "platform/ShellFileOperations.h"
#include "platform/TemporaryFiles.h"
#include "profilelib/ZarnLibString.h"
#include "profilelib/ZarnLib_Bitmap.h"
#include "profilelib/ZarnLib_ImageCodec.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileFile.h"
#include "tests/support/LoopbackHttpServer.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

namespace {

namespace fs = std::filesystem;

void Touch(const std::string& path)
{
    std::ofstream(path) << "left over";
    fs::last_write_time(path, fs::file_time_type::clock::now() - std::chrono::hours(24));
}

std::set<std::string> Entries(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.insert(entry.path().filename().string());
    return names;
}

std::time_t TwoMinutesAhead()
{
    return std::time(nullptr) + 2 * TemporaryFiles::kStaleSeconds;
}

// A killed run's temporary files, of this target or of others in the folder: removed.
const char* const kStale[] = {".other.kpf.4711.0.zarn-tmp", "..a.kpf.1.2.zarn-tmp.1.3.zarn-tmp", ".x.csv.7.0.zarn-tmp"};
// Names of the earlier writers' schemes and other files: kept, however old.
const char* const kKept[] = {".zarn-tmp-target.kpf", "registry.reg.Ab12Cd", ".fw.bin.Ab12Cd", "mine.kpf.4711.0.tmp",
                             "KZARN_User.ini.4711.0.tmp", "notes.txt"};

struct WriterCase {
    const char* name;
    const char* target; // the file the writer writes
    std::function<bool(const std::string& folder, const std::string& target)> write;
};

class StaleTemporaryFilesTest : public ::testing::TestWithParam<WriterCase> {};

void PrintTo(const WriterCase& c, std::ostream* os)
{
    *os << c.name;
}

TEST_P(StaleTemporaryFilesTest, AWriterRemovesOnlyOldFilesOfTheTemporaryPattern)
{
    const WriterCase& c = GetParam();
    ScratchFolder scratch;
    const std::string folder = scratch.Path();
    for (const char* name : kStale) Touch(folder + "/" + name);
    for (const char* name : kKept) Touch(folder + "/" + name);

    TemporaryFiles::SetClock(&TwoMinutesAhead);
    const bool written = c.write(folder, folder + "/" + c.target);
    TemporaryFiles::SetClock(nullptr);
    ASSERT_TRUE(written);

    std::set<std::string> expected(std::begin(kKept), std::end(kKept));
    expected.insert(c.target);
    if (std::string(c.name) == "Registry") expected.insert(std::string(c.target) + ".lock");
    if (std::string(c.name) == "ShellCopy") expected.insert("source");
    EXPECT_EQ(Entries(folder), expected);

    // A temporary file that changed a moment ago is a write in flight, whatever its modification
    // time says: kept.
    const std::string fresh = ".in-flight.kpf.4711.9.zarn-tmp";
    Touch(folder + "/" + fresh);
    ASSERT_TRUE(c.write(folder, folder + "/" + c.target));
    expected.insert(fresh);
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

bool SaveAPicture(const std::string&, const std::string& target)
{
    const auto bitmap = ZarnLib_Bitmap::Create(4, 4, ZarnLib_Bitmap::kFormat24bppRGB);
    return bitmap && ZarnLib_ImageCodec::Encode(*bitmap, "image/png", target);
}

INSTANTIATE_TEST_SUITE_P(
    Writers, StaleTemporaryFilesTest,
    ::testing::Values(
        WriterCase{"ProfileSave", "mine.kpf", SaveAProfile},
        WriterCase{"ImportOrBackup", "backup.csv",
                   [](const std::string&, const std::string& target) {
                       return ReplaceFileThroughTemporary(target, [](const std::string& temporary) {
                                  std::ofstream(temporary) << "backup";
                                  return true;
                              }) != FALSE;
                   }},
        WriterCase{"UserSettings", "KZARN_User.ini",
                   [](const std::string&, const std::string& target) {
                       CIniFile ini;
                       ini.Parse("[Settings]\r\nLocale=C\r\n");
                       return ini.Save(target);
                   }},
        WriterCase{"Registry", "registry.reg",
                   [](const std::string&, const std::string& target) {
                       // A real change each time: a write that changes nothing writes no file at all.
                       static int change = 0;
                       ++change;
                       return RegistryStore(target).Modify([](RegistryDocument& doc) {
                                  RegistryDocument::SetValue(doc.CreateKey("HKEY_CURRENT_USER\\Software"), "Stale",
                                                             REG_DWORD, {static_cast<BYTE>(change), 0, 0, 0});
                                  return RegStatus::Ok;
                              }) == RegStatus::Ok;
                   }},
        WriterCase{"Download", "fw.bin", Download},
        WriterCase{"ImageSave", "picture.png", SaveAPicture},
        WriterCase{"ShellCopy", "target.kpf",
                   [](const std::string& folder, const std::string& target) {
                       std::ofstream(target) << "old";
                       std::ofstream(folder + "/source") << "new";
                       return ShellFileOperations::Current().CopyOrMove(folder + "/source", target, true, false,
                                                                        nullptr);
                   }}),
    [](const ::testing::TestParamInfo<WriterCase>& param) { return std::string(param.param.name); });

} // namespace
