#include "core/util/HttpLineSplitter.h"
#include "core/util/HttpUtility.h"
#include "core/util/UpdateListParser.h"

#include <gtest/gtest.h>

namespace {

std::vector<std::string> Split(const std::string& body, size_t piece)
{
    HttpLineSplitter splitter;
    std::vector<std::string> lines;
    for (size_t pos = 0; pos < body.size(); pos += piece) {
        splitter.Feed(body.data() + pos, std::min(piece, body.size() - pos), lines);
    }
    splitter.Finish(lines);
    return lines;
}

TEST(HttpLineSplitter, LinesDoNotDependOnHowTheBodyArrives)
{
    using Lines = std::vector<std::string>;
    const std::string longLine(120, 'x');
    const std::vector<std::pair<std::string, Lines>> cases = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {longLine + "\n", {longLine}},
        {"ab\rcd\nef\n", {"ab", "ef"}},
        {std::string("ab\0cd\nef", 8), {"ab", "ef"}},
        {"[Status]\r\nNormal", {"[Status]", "Normal"}}, // last line without LF
        {"a\r\nb\r", {"a", "b"}},
        {"", {}},
        {"\n", {""}},
    };
    for (const auto& [body, expected] : cases) {
        for (size_t piece : {size_t{1}, size_t{3}, size_t{50}, body.size() + 1}) {
            EXPECT_EQ(Split(body, piece), expected) << "piece " << piece << " body " << body;
        }
    }
}

struct VersionCase {
    std::vector<std::string> lines;
    int result;
    std::vector<std::vector<std::string>> records; // key, version, date
};

TEST(UpdateListParser, VersionFile)
{
    const std::vector<VersionCase> cases = {
        {{"[Version]", "APL,5.1,2024/01/02", "T-520D,1.10,2023/12/01,extra", "[Status]", "Normal"},
         1,
         {{"APL", "5.1", "2024/01/02"}, {"T-520D", "1.10", "2023/12/01"}}},
        {{"[Version]", "APL,5.1,d"}, 0, {{"APL", "5.1", "d"}}},
        {{"[Version]", "T-310D_DR,a,b", "T-140DR_EL,1,2", "T-140DR_PX,1,2", "T-140DR_PXX,1,2", "[Status]", "Normal"},
         1,
         {{"T-310D/DR", "a", "b"}, {"T-140DR-EL", "1", "2"}, {"T-140DR-PX", "1", "2"}, {"T-140DR_PXX", "1", "2"}}},
        {{"[Version]", "A,1,d", "B,2,d", "C,3", "[Status]", "Normal"}, 0, {{"A", "1", "d"}, {"B", "2", "d"}}},
        {{"[Version]", "A,1,d", "", "B,2,d", "[Status]", "Normal"}, 0, {{"A", "1", "d"}}},
        {{"[Version]", "K,,", "[Status]", "Normal"}, 1, {{"K", "", ""}}},
        {{"[Version]", "[]", "[Status]", "Normal"}, 0, {}},
        {{"[version]", "A,1,d", "[Status]", "Normal"}, 1, {}},
        {{"A,1,d", "[Status]", "Normal"}, 1, {}},
        {{"[Status]", "Error"}, 0, {}},
        {{"[Status]", "normal"}, 0, {}},
        {{"[Status]", "Normal "}, 0, {}},
        {{"[Status]", "Error", "Normal"}, 1, {}},
        {{"[Status]", "Normal", "Error"}, 0, {}},
    };
    for (const VersionCase& c : cases) {
        std::vector<ZarnUpdateRecord> records;
        EXPECT_EQ(UpdateListParser::ParseVersionFile(c.lines, records), c.result) << c.lines[1];
        ASSERT_EQ(records.size(), c.records.size()) << c.lines[1];
        for (size_t i = 0; i < records.size(); ++i) {
            EXPECT_EQ(records[i].key, c.records[i][0]);
            EXPECT_EQ(records[i].version, c.records[i][1]);
            EXPECT_EQ(records[i].date, c.records[i][2]);
            EXPECT_EQ(records[i].extra, "");
        }
    }
}

TEST(UpdateListParser, VersionRecordsAreAppendedAndFoundByExactKey)
{
    const std::vector<std::string> lines = {"[Version]", "APL,5.1,d", "T-520D,1.1,d", "APL,9,d"};
    std::vector<ZarnUpdateRecord> records;
    UpdateListParser::ParseVersionFile(lines, records);
    UpdateListParser::ParseVersionFile(lines, records);
    EXPECT_EQ(records.size(), 6u);

    HttpUtility http;
    ZarnUpdateRecord found;
    found.SetKey("untouched");
    EXPECT_EQ(http.FindUpdateRecord(records, "apl", found), 0);
    EXPECT_EQ(found.key, "untouched");
    EXPECT_EQ(http.FindUpdateRecord(records, "APL", found), 1);
    EXPECT_EQ(found.version, "5.1"); // the first of equal keys
}

struct FileCase {
    std::vector<std::string> lines;
    int result;
    // section ("F" or "S"), url, fileName, number, thirdField
    std::vector<std::vector<std::string>> records;
};

TEST(UpdateListParser, FileList)
{
    const std::vector<FileCase> cases = {
        {{"[URL]", "p", "[Files]", "3,a.bin", "[Status]", "Normal"}, 1, {{"F", "p/a.bin", "a.bin", "3", ""}}},
        {{"[URL]", "p", "[Files]", "1,a.bin,x,b.bin", "2,c.bin,y"},
         0,
         {{"F", "p/a.bin", "b.bin", "1", "x"}, {"F", "p/c.bin", "c.bin", "2", "y"}}},
        {{"[URL]", "p", "[Scripts]", "1,a.dlf,x,b.dlf", "1,a.dlf,x,b.dlf,e", "[Status]", "Normal"},
         1,
         {{"S", "p/a.dlf", "a.dlf", "1", ""}, {"S", "p/a.dlf", "b.dlf", "1", "x"}}},
        {{"[Files]", "1,a.bin", "[Status]", "Normal"}, 0, {}},
        {{"[URL]", "p", "[URL]", "", "[Files]", "1,a.bin", "[Status]", "Normal"}, 0, {}},
        {{"[URL]", "p", "[Files]", "1,a", "nofield", "2,b", "[Status]", "Normal"}, 0, {{"F", "p/a", "a", "1", ""}}},
        {{"[URL]", "q/r", "[Files]", "x,a", " -7z,b", "[Status]", "Normal"},
         1,
         {{"F", "q/r/a", "a", "0", ""}, {"F", "q/r/b", "b", "-7", ""}}},
    };
    for (const FileCase& c : cases) {
        std::vector<ZarnFileRecord> files(1); // appended to, never emptied
        std::vector<ZarnFileRecord> scripts;
        EXPECT_EQ(UpdateListParser::ParseFileList(c.lines, files, scripts), c.result) << c.lines[1];
        ASSERT_EQ(files.size() - 1 + scripts.size(), c.records.size()) << c.lines[1];
        size_t f = 1;
        size_t s = 0;
        for (const auto& want : c.records) {
            const ZarnFileRecord& r = want[0] == "F" ? files.at(f++) : scripts.at(s++);
            EXPECT_EQ(r.url, want[1]);
            EXPECT_EQ(r.fileName, want[2]);
            EXPECT_EQ(r.number, std::stoi(want[3]));
            EXPECT_EQ(r.thirdField, want[4]);
        }
    }
}

TEST(UpdateListParser, ListPathsAndPatterns)
{
    EXPECT_EQ(UpdateListParser::FirmwareListPath("T-310D/DR", "1.0"), "firmware/T-310D_DR/1.0");
    EXPECT_EQ(UpdateListParser::FirmwareListPath("T-140DR-PX", "2"), "firmware/T-140DR_PX/2");
    EXPECT_EQ(UpdateListParser::FirmwareListPath("T-140DR-EL", "2"), "firmware/T-140DR_EL/2");
    EXPECT_EQ(UpdateListParser::FirmwareListPath("T-140DR", "2"), "firmware/T-140DR/2");
    EXPECT_EQ(UpdateListParser::AppListPath("5.1", ""), "APL/5.1");
    EXPECT_EQ(UpdateListParser::AppListPath("5.1", "x64"), "APL/5.1/x64");

    std::string url = "kept";
    EXPECT_TRUE(UpdateListParser::FillPattern("h/ver_info/Zarndesk3/%s/file_list.txt", "firmware/A/1", url));
    EXPECT_EQ(url, "h/ver_info/Zarndesk3/firmware/A/1/file_list.txt");
    EXPECT_TRUE(UpdateListParser::FillPattern("a%%20%s", "p", url));
    EXPECT_EQ(url, "a%20p");
    for (const char* bad : {"%s%s", "%n%s", "%d", "a%", "%x/%s"}) {
        url = "kept";
        EXPECT_FALSE(UpdateListParser::FillPattern(bad, "p", url)) << bad;
        EXPECT_EQ(url, "kept");
    }
    EXPECT_TRUE(UpdateListParser::FillPattern("%s", std::string(9000, 'x'), url));
    EXPECT_EQ(url.size(), 8191u);
}

TEST(HttpUtility, OnlyPlainFileNamesAreSaved)
{
    for (const char* good : {"a.bin", "F W.dlf", "..a", "a..b"}) EXPECT_TRUE(HttpUtility::IsPlainFileName(good)) << good;
    for (const char* bad : {"", ".", "..", "../x", "a/b", "a\\b", "/etc/passwd", "a\nb", "a\x7f"}) {
        EXPECT_FALSE(HttpUtility::IsPlainFileName(bad)) << bad;
    }
}

} // namespace
