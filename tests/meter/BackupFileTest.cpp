#include "core/util/CLangTable.h"
#include "meter/CKZARN_TransferData.h"
#include "meter/MeterFamily.h"
#include "meter/SplitComma.h"
#include "tests/support/ProcessCounters.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cfloat>
#include <cstring>
#include <iterator>
#include <utility>
#include <clocale>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class BackupFile : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CLangTable::Free();
        ASSERT_EQ(CLangTable::GetInstance()->Load(ZARN_SOURCE_DIR "/data/String.txt"), 1);
    }
    static void TearDownTestSuite() { CLangTable::Free(); }
};

// Values that differ per slot, row and group, including exact tenths, near-zero values and
// values without value, all within what the file carries.
void FillTable(CKZARN_TransferData& t, int family)
{
    t.SetFamily(family);
    for (int s = 0; s < 10; ++s) {
        t.SetProfileName(s, "Camera " + std::to_string(s + 1));
        ProfileRow* rows = t.GetProfileRows(s);
        for (int r = 0; r < 67; ++r) {
            for (int g = 0; g < 4; ++g) {
                const double v = ((s * 13 + r * 5 + g * 3) % 60) / 10.0; // 0.0 .. 5.9
                ExposureRange& e = rows[r].group[g];
                const double drp = v * 1.1 > 6.5 ? 6.5 : v * 1.1;
                e = ExposureRange{v - 3.0, -v - 1.0 - g * 0.04, -v, drp, drp + 0.3 + g * 0.06};
                if ((r + g) % 17 == 0) e.cpm = DBL_MAX;
                if ((r + s) % 23 == 0) e.drp = DBL_MAX; // CPP goes with it
                if ((r + g + s) % 29 == 0) e.centre = 0.02;
            }
        }
    }
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line)) lines.push_back(line);
    return lines;
}

// The value a field carries after the file: no value, or rounded to one decimal.
double Carried(double v)
{
    if (v == DBL_MAX) return DBL_MAX;
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", v);
    return std::strtod(text, nullptr);
}

struct FamilyCase {
    int family;
    std::size_t lines;
};

TEST_F(BackupFile, EachFamilyRoundTripsThroughItsFile)
{
    for (const FamilyCase c : {FamilyCase{0, 123}, FamilyCase{1, 580}, FamilyCase{2, 730}}) {
        CKZARN_TransferData t;
        FillTable(t, c.family);
        std::ostringstream out;
        ASSERT_EQ(t.WriteText(out), 1);
        const std::vector<std::string> lines = Lines(out.str());
        EXPECT_EQ(lines.size(), c.lines) << c.family;
        EXPECT_EQ(lines[2], "Profile name,Camera 1\r");
        EXPECT_EQ(lines[1], "Profile No.1\r");

        CKZARN_TransferData back;
        std::istringstream in(out.str());
        ASSERT_EQ(back.ReadText(in), 1) << c.family;
        EXPECT_EQ(back.GetFamily(), c.family);
        const int rows = CKZARN_TransferData::GetRowCount(c.family);
        for (int s = 0; s < CKZARN_TransferData::GetProfileCount(c.family); ++s) {
            EXPECT_EQ(back.GetProfileName(s), t.GetProfileName(s));
            for (int r = 0; r < rows; ++r) {
                for (int g = 0; g < 4; ++g) {
                    const ExposureRange& a = t.GetProfileRows(s)[r].group[g];
                    const ExposureRange& b = back.GetProfileRows(s)[r].group[g];
                    ASSERT_NEAR(b.centre, Carried(a.centre), 1e-9) << s << " " << r << " " << g;
                    ASSERT_EQ(b.drm, Carried(a.drm));
                    ASSERT_EQ(b.drp, Carried(a.drp));
                    if (a.cpm == DBL_MAX) {
                        ASSERT_EQ(b.cpm, DBL_MAX);
                    } else {
                        ASSERT_NEAR(b.cpm, Carried(a.cpm - a.drm) + Carried(a.drm), 1e-9);
                    }
                    if (a.cpp == DBL_MAX || a.drp == DBL_MAX) {
                        ASSERT_EQ(b.cpp, DBL_MAX);
                    } else {
                        ASSERT_NEAR(b.cpp, Carried(a.cpp - a.drp) + Carried(a.drp), 1e-9);
                    }
                }
            }
        }
    }
}

TEST_F(BackupFile, ValuesAreWrittenAsTheyAreAndValuesNoMeterHoldsAreRefused)
{
    CKZARN_TransferData t;
    t.SetFamily(0);
    t.GetProfileRows(0)[0].group[0] = ExposureRange{6.0, -12.7, -11.0, 8.0, 12.5};
    t.GetProfileRows(0)[0].group[1] = ExposureRange{-0.01, -1.0, 0.5, -0.5, 1.0};
    std::ostringstream out;
    ASSERT_EQ(t.WriteText(out), 1);
    const std::vector<std::string> lines = Lines(out.str());
    EXPECT_EQ(lines[6].substr(0, 61), "ISO 3,6.0,-1.7,-11.0,+8.0,+4.5,0,-1.5,+0.5,-0.5,+1.5,OFF,OFF,");
    CKZARN_TransferData back;
    std::istringstream in(out.str());
    ASSERT_EQ(back.ReadText(in), 1);
    const ExposureRange& g = back.GetProfileRows(0)[0].group[0];
    EXPECT_DOUBLE_EQ(g.centre, 6.0);
    EXPECT_DOUBLE_EQ(g.drm, -11.0);
    EXPECT_DOUBLE_EQ(g.drp, 8.0);
    EXPECT_DOUBLE_EQ(g.cpp, 12.5);

    // Beyond a byte of the meter's memory: the file could not give it back, so nothing is written.
    for (const ExposureRange& beyond : {ExposureRange{12.8, -3.5, -2.5, 2.5, 3.5},
                                        ExposureRange{0, -3.5, -2.5, 2.5, 15.3}, ExposureRange{0, -16.0, -2.5, 2.5, 3.5}}) {
        CKZARN_TransferData wide;
        wide.SetFamily(2);
        wide.GetProfileRows(9)[66].group[3] = beyond;
        std::ostringstream refused;
        EXPECT_EQ(wide.WriteText(refused), 0);
        EXPECT_TRUE(refused.str().empty());
    }
}

// Bytes of one group as the meter holds them: CPP-DRP, DRP, centre, DRM, CPM-DRM (tenths).
using GroupBytes = std::array<int, 5>;

// The extremes a HID meter's row byte holds: +-12.7, no value (-128) and zero, in every position.
const GroupBytes kHidExtremes[] = {
    {127, 127, 127, -127, -127}, {-127, -127, -127, 127, 127}, {-128, -128, -128, -128, -128},
    {0, 0, 0, 0, 0},             {127, -127, 0, 127, -127},    {-128, 127, -128, -127, -128},
};
// The extremes a T-310 holds as this program writes it: DRP at most 7.0 and DRM at least -7.0 (with
// their limit points inside +-7.0), every other byte to +-12.7 or without value where the meter
// keeps that.
const GroupBytes kT310Extremes[] = {
    {0, 70, 127, -70, 0},     {127, -127, -127, 127, -127}, {-127, 70, -128, -128, -128},
    {70, 0, 0, 0, -70},       {-127, -127, 0, 127, 127},
};

template <typename Block>
void PutHidExtremes(Block& block, int rows)
{
    for (int s = 0; s < 10; ++s) {
        std::memcpy(block.bytes.data() + Block::SlotOffset(s), ("Slot " + std::to_string(s)).c_str(), 7);
        for (int r = 0; r < rows; ++r) {
            for (int g = 0; g < 4; ++g) {
                const GroupBytes& e = kHidExtremes[(s + r + g) % std::size(kHidExtremes)];
                for (int b = 0; b < 5; ++b) {
                    block.bytes[Block::ProfileByte(s, r, g, b)] = static_cast<std::uint8_t>(e[static_cast<std::size_t>(b)]);
                }
            }
        }
    }
}

void PutT310Extremes(T310TransferBlock& block)
{
    for (int s = 0; s < 3; ++s) {
        const std::size_t base = T310TransferBlock::SlotOffset(s);
        std::memcpy(block.bytes.data() + base, ("Slot " + std::to_string(s)).c_str(), 7);
        for (int r = 0; r < 35; ++r) {
            for (int g = 0; g < 4; ++g) {
                const GroupBytes& e = kT310Extremes[(s + r + g) % std::size(kT310Extremes)];
                std::uint8_t* p = block.bytes.data() + base + 32 + 140 * g + 4 * r;
                std::uint8_t* d = block.bytes.data() + base + 600 + 70 * g + 2 * r;
                p[0] = static_cast<std::uint8_t>(e[1]);
                p[1] = static_cast<std::uint8_t>(e[3]);
                p[2] = static_cast<std::uint8_t>(e[2]);
                p[3] = 0;
                d[0] = static_cast<std::uint8_t>(e[0]);
                d[1] = static_cast<std::uint8_t>(e[4]);
            }
        }
    }
}

// Backs a table up to its file and restores it from there.
CKZARN_TransferData ThroughBackup(const CKZARN_TransferData& t)
{
    std::ostringstream out;
    EXPECT_EQ(t.WriteText(out), 1);
    CKZARN_TransferData back;
    std::istringstream in(out.str());
    EXPECT_EQ(back.ReadText(in), 1);
    return back;
}

TEST_F(BackupFile, MeterImagesWithExtremeValuesSurviveBackupAndRestore)
{
    {
        T140TransferBlock image;
        PutHidExtremes(image, 52);
        CKZARN_TransferData t;
        ASSERT_EQ(t.ReadT140Image(&image), 1);
        const CKZARN_TransferData back = ThroughBackup(t);
        T140TransferBlock restored;
        ASSERT_EQ(back.WriteT140Image(&restored), 1);
        for (int s = 0; s < 10; ++s) {
            const std::size_t from = T140TransferBlock::SlotOffset(s);
            const std::size_t to = T140TransferBlock::ProfileByte(s, 51, 3, 4) + 1;
            ASSERT_TRUE(std::equal(image.bytes.begin() + from, image.bytes.begin() + to, restored.bytes.begin() + from))
                << "T-140 slot " << s;
        }
    }
    {
        T520TransferBlock image;
        PutHidExtremes(image, 67);
        CKZARN_TransferData t;
        ASSERT_EQ(t.ReadT520Image(&image), 1);
        const CKZARN_TransferData back = ThroughBackup(t);
        T520TransferBlock restored;
        ASSERT_EQ(back.WriteT520Image(&restored), 1);
        const std::size_t from = T520TransferBlock::SlotOffset(0);
        EXPECT_TRUE(std::equal(image.bytes.begin() + from, image.bytes.end(), restored.bytes.begin() + from));
    }
    {
        T310TransferBlock image;
        PutT310Extremes(image);
        CKZARN_TransferData t;
        ASSERT_EQ(t.ReadT310Image(&image), 1);
        const CKZARN_TransferData back = ThroughBackup(t);
        T310TransferBlock restored;
        ASSERT_EQ(back.WriteT310Image(&restored), 1);
        for (int s = 0; s < 3; ++s) {
            const std::size_t base = T310TransferBlock::SlotOffset(s);
            for (const auto& [from, to] : {std::pair<std::size_t, std::size_t>{0, 592}, {600, 880}}) {
                EXPECT_TRUE(std::equal(image.bytes.begin() + base + from, image.bytes.begin() + base + to,
                                       restored.bytes.begin() + base + from))
                    << "T-310 slot " << s << " bytes " << from;
            }
        }
    }
}

TEST_F(BackupFile, WriterRefusesNamesThatWouldBreakTheirLine)
{
    for (const char* name : {"a,b", "line\nbreak", "tab\tname"}) {
        CKZARN_TransferData t;
        t.SetFamily(2);
        t.SetProfileName(7, name);
        std::ostringstream out;
        EXPECT_EQ(t.WriteText(out), 0) << name;
        EXPECT_TRUE(out.str().empty());
    }
}

TEST_F(BackupFile, FileCarriesPointsInADecimalCommaLocale)
{
    CKZARN_TransferData t;
    t.GetProfileRows(1)[2].group[3] = ExposureRange{-1.5, -3.5, -2.5, 2.5, 3.5};
    std::ostringstream underC;
    ASSERT_EQ(t.WriteText(underC), 1);
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no decimal-comma locale";
    std::ostringstream out;
    const int written = t.WriteText(out);
    CKZARN_TransferData back;
    std::istringstream in(out.str());
    const int read = back.ReadText(in);
    std::setlocale(LC_NUMERIC, saved.c_str());
    ASSERT_EQ(written, 1);
    ASSERT_EQ(read, 1);
    EXPECT_EQ(out.str(), underC.str()) << "the same bytes under either locale";
    EXPECT_NE(out.str().find(",-1.5,-1.0,-2.5,+2.5,+1.0"), std::string::npos);
    EXPECT_DOUBLE_EQ(back.GetProfileRows(1)[2].group[3].centre, -1.5);
    EXPECT_DOUBLE_EQ(back.GetProfileRows(1)[2].group[3].cpp, 3.5);
}

struct ValueCase {
    const char* text;
    bool ok;
    double value;
};

TEST_F(BackupFile, ParseValueAcceptsNumbersAndOffOnly)
{
    const ValueCase cases[] = {
        {"OFF", true, DBL_MAX}, {"+0.0", true, 0.0}, {"-2.5", true, -2.5}, {" 2.5", true, 2.5},
        {"2.5 ", false, 0},     {"", false, 0},      {"  ", false, 0},     {"off", false, 0},
        {"1.2x", false, 0},     {"+", false, 0},     {"1.25", true, 1.25}, {"\t-.5", true, -0.5},
        {"1,5", false, 0},      {"1e1", false, 0},   {"inf", false, 0},    {"nan", false, 0},
    };
    for (const auto& c : cases) {
        double v = -99;
        EXPECT_EQ(CKZARN_TransferData::ParseValue(c.text, &v), c.ok ? TRUE : FALSE) << '"' << c.text << '"';
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
}

// A row line of 20 fields from one group's five fields repeated.
std::string RowLine(const std::string& group)
{
    return "ISO 3," + group + "," + group + "," + group + "," + group;
}

struct RowCase {
    int family;
    std::string line;
    bool ok;
};

TEST_F(BackupFile, ParseRowBoundsPerFamily)
{
    const RowCase cases[] = {
        // Every value a byte of the meter holds, whatever the family: +-12.7.
        {0, RowLine("0,-1.0,-2.5,+7.0,+0.0"), true},
        {0, RowLine("0,-1.0,-2.5,+8.0,+0.0"), true},
        {0, RowLine("12.7,-12.7,-12.7,+12.7,+12.7"), true},
        {0, RowLine("0,-1.0,-2.5,+12.8,+0.0"), false},
        {1, RowLine("0,-1.0,-10.05,+2.5,+1.0"), true},
        {1, RowLine("0,-1.0,-12.75,+2.5,+1.0"), false},
        {2, RowLine("-12.7,+12.7,+12.7,-12.7,-12.7"), true},
        {2, RowLine("12.8,-1.0,-2.5,+2.5,+1.0"), false},
        {2, RowLine("0,-12.8,-2.5,+2.5,+1.0"), false},
        {2, RowLine("0,-1.0,-2.5,+2.5,+12.75"), false},
        {2, RowLine("0,OFF,OFF,OFF,OFF"), true},
        {2, RowLine("OFF,-1.0,-2.5,+2.5,+1.0"), true},
        {2, RowLine("0,,-2.5,+2.5,+1.0"), false},
        {2, RowLine("0,-1.0,-2.5, +2.5,+1.0"), true},
        {2, RowLine("0,-1.0,-2.5,+2.5 ,+1.0"), false},
        {2, RowLine("0,-1.0,-2.5,+2.5,+1.0") + ",", true},
        {2, RowLine("0,-1.0,-2.5,+2.5,+1.0") + ",0", false},
        {2, RowLine("0,-1.0,-2.5,nan,+1.0"), false},
    };
    for (const auto& c : cases) {
        CKZARN_TransferData t;
        t.SetFamily(c.family);
        ProfileRow row{};
        EXPECT_EQ(t.ParseRow(c.line, &row), c.ok ? TRUE : FALSE) << c.family << ": " << c.line;
    }
    CKZARN_TransferData t;
    t.SetFamily(2);
    ProfileRow row{};
    ASSERT_TRUE(t.ParseRow(RowLine("OFF,-1.0,OFF,+2.5,OFF"), &row));
    EXPECT_EQ(row.group[3].centre, DBL_MAX);
    EXPECT_EQ(row.group[3].drm, DBL_MAX);
    EXPECT_EQ(row.group[3].cpm, DBL_MAX); // its base has no value
    EXPECT_EQ(row.group[3].drp, 2.5);
    EXPECT_EQ(row.group[3].cpp, DBL_MAX);
}

// A T-310 file written by the program, with the name line of slot 1 replaced.
std::string T310FileWithName(const std::string& nameLine)
{
    CKZARN_TransferData t;
    std::ostringstream out;
    t.WriteText(out);
    std::string text = out.str();
    const std::string old = "Profile name,\r\n";
    const std::size_t at = text.find(old);
    return text.replace(at, old.size(), nameLine + "\r\n");
}

TEST_F(BackupFile, NameLineRules)
{
    struct NameCase {
        std::string line;
        std::string name;
    };
    const NameCase cases[] = {
        {"Profile name,First,Second", "First"},
        {"Profile name," + std::string(40, 'N'), std::string(31, 'N')},
        {"Profile name,Caf\xC3\xA9", "Unnamed profile"},
        {"Profile name,", ""},
        {"Profile name", ""},
    };
    for (const auto& c : cases) {
        CKZARN_TransferData t;
        t.SetProfileName(0, "before");
        std::istringstream in(T310FileWithName(c.line));
        ASSERT_EQ(t.ReadText(in), 1) << c.line;
        EXPECT_EQ(t.GetProfileName(0), c.name) << c.line;
    }
    // A name line that is empty (no field at all) ends the read.
    CKZARN_TransferData t;
    std::istringstream empty(T310FileWithName(""));
    EXPECT_EQ(t.ReadText(empty), 0);
}

TEST_F(BackupFile, RefusesOtherFilesAndShortFiles)
{
    CKZARN_TransferData t;
    t.SetFamily(2);
    std::istringstream other("Some other file\r\n");
    EXPECT_EQ(t.ReadText(other), 0);
    EXPECT_EQ(t.GetFamily(), 2);

    CKZARN_TransferData full;
    full.SetFamily(1);
    std::ostringstream out;
    full.WriteText(out);
    const std::string text = out.str();
    std::istringstream cut(text.substr(0, text.size() / 2));
    EXPECT_EQ(t.ReadText(cut), 0);
    EXPECT_EQ(t.GetFamily(), 1);
}

// Backups are small: a file over the ceiling (a single 100 MiB line, sparse) is refused by its size
// without being read, a line longer than any backup holds ends the reading, and a FIFO is refused
// at once. The largest backup, ten T-520 slots, lies far below the ceiling.
TEST_F(BackupFile, FileReadingIsBoundedAndOnlyRegularFilesAreOpened)
{
    ScratchFolder folder;
    CKZARN_TransferData largest;
    FillTable(largest, MeterFamilyT520);
    {
        std::ofstream out(folder.File("largest.csv"), std::ios::binary);
        ASSERT_EQ(largest.WriteText(out), 1);
    }
    CKZARN_TransferData t;
    EXPECT_EQ(t.ReadTextFile(folder.File("largest.csv")), CKZARN_TransferData::FileRead::Read);
    EXPECT_LT(std::filesystem::file_size(folder.File("largest.csv")) * 8, CKZARN_TransferData::kMaxBackupBytes);

    const std::string huge = folder.File("huge.csv");
    std::ofstream(huge, std::ios::binary) << GetLangString(7199);
    ASSERT_EQ(::truncate(huge.c_str(), 100 * 1024 * 1024), 0);
    const bool peakKnown = ProcessCounters::ResetPeakMemory();
    const long long peakBefore = ProcessCounters::PeakMemoryKb();
    const long long readBefore = ProcessCounters::BytesRead();
    EXPECT_EQ(t.ReadTextFile(huge), CKZARN_TransferData::FileRead::NotABackup);
    EXPECT_LT(ProcessCounters::BytesRead() - readBefore, 1 << 20);
    if (peakKnown) {
        EXPECT_LT(ProcessCounters::PeakMemoryKb() - peakBefore, 64 * 1024);
    }

    // A long line within a small file: its first kMaxBackupLineBytes bytes are read, no more.
    std::string text = GetLangString(7199) + "\r\n" + GetLangString(7101) + "1\r\n" + GetLangString(7102) + "," +
                       std::string(CKZARN_TransferData::kMaxBackupLineBytes, 'x') + "\r\n";
    std::istringstream longLine(text);
    EXPECT_EQ(t.ReadText(longLine), 0);
    EXPECT_LT(static_cast<std::size_t>(longLine.tellg()), text.size());

    const std::string fifo = folder.File("fifo.csv");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(t.ReadTextFile(fifo), CKZARN_TransferData::FileRead::CannotOpen);
    EXPECT_EQ(t.ReadTextFile(folder.File("missing.csv")), CKZARN_TransferData::FileRead::CannotOpen);
}

TEST_F(BackupFile, ResetFileIsAT310BackupWithinTheMeterLimits)
{
    std::ifstream file(ZARN_SOURCE_DIR "/data/KZARN_Reset.csv", std::ios::binary);
    ASSERT_TRUE(file.is_open());
    CKZARN_TransferData t;
    t.SetFamily(2);
    ASSERT_EQ(t.ReadText(file), 1);
    EXPECT_EQ(t.GetFamily(), 0);
    for (int s = 0; s < 3; ++s) {
        EXPECT_FALSE(t.GetProfileName(s).empty());
        for (int r = 0; r < 35; ++r) {
            for (const ExposureRange& g : t.GetProfileRows(s)[r].group) {
                ASSERT_NE(g.cpm, DBL_MAX);
                ASSERT_NE(g.cpp, DBL_MAX);
            }
        }
    }
}

TEST(SplitCommaTest, Cases)
{
    struct Case {
        const char* text;
        std::vector<std::string> fields;
    };
    const Case cases[] = {
        {"", {}}, {"a", {"a"}}, {"a,,b", {"a", "", "b"}}, {"a,b,", {"a", "b"}}, {",", {""}}, {",a", {"", "a"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> fields{"stale"};
        SplitComma(&fields, c.text);
        EXPECT_EQ(fields, c.fields) << c.text;
    }
}

} // namespace
