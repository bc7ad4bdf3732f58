// The downloader's readers of outside text: script files, ".ver" companions, the command line, and
// the version display form.
#include "core/util/RadioVersionText.h"
#include "flash/DlfScript.h"
#include "core/util/CLangTable.h"
#include "flash/DlfScriptCheck.h"
#include "flash/FlashImageCheck.h"
#include "flash/FlashRefusalText.h"
#include "flash/ZarnflashCommandLine.h"
#include "flash/ZarnflashVersionFile.h"
#include "tests/flash/FlashTestKit.h"
#include "tests/support/PeakMemoryGrowth.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>

#include <sys/stat.h>

namespace {

TEST(FlashScriptFile, LinesKeepEveryEmptyLineAndLoseTheirLineEnds)
{
    DlfScript script;
    EXPECT_TRUE(ParseDlfScript("P0000F\r\n\r\nQ000F1\r\r\nlast", script));
    EXPECT_EQ((DlfScript{"P0000F", "", "Q000F1", "last"}), script);
    EXPECT_TRUE(ParseDlfScript("", script));
    EXPECT_TRUE(script.empty());
    // A line longer than the player's buffer, or more lines than any firmware has: refused.
    EXPECT_TRUE(ParseDlfScript(std::string(kDlfMaxLineLength, 'R') + "\r\n", script));
    EXPECT_FALSE(ParseDlfScript(std::string(kDlfMaxLineLength + 1, 'R') + "\r\n", script));
    EXPECT_TRUE(script.empty());
    EXPECT_TRUE(ParseDlfScript(std::string(kDlfMaxLines, '\n'), script));
    EXPECT_EQ(kDlfMaxLines, script.size());
    EXPECT_FALSE(ParseDlfScript(std::string(kDlfMaxLines + 1, '\n'), script));
    ScratchFolder scratch;
    EXPECT_EQ(0, ReadDlfScript(scratch.File("none.dlf"), script));
    EXPECT_EQ(0, ReadDlfScript(scratch.Path(), script)); // a folder
}

// Crafted files given as a script or as a version companion are refused at once, without blocking
// and without costing memory out of proportion: measured in a child process.
TEST(FlashCraftedFiles, AreRefusedWithoutBlockingAndWithLittleMemory)
{
    ScratchFolder scratch;
    const std::string lineEnds = scratch.File("QM63ends.dlf");
    {
        std::ofstream out(lineEnds, std::ios::binary);
        const std::string piece(1 << 20, '\n');
        for (int i = 0; i < 64; ++i) out << piece;
    }
    ASSERT_EQ(0, ::mkfifo(scratch.File("QM63fifo.dlf").c_str(), 0600));
    ASSERT_EQ(0, ::mkfifo(scratch.File("QM63fifo.ver").c_str(), 0600));
    std::string junk;
    for (int i = 0; i < 65536; ++i) junk += static_cast<char>((i * 7919) % 256);
    WriteFlashText(scratch.File("QM63junk.ver"), junk);
    WriteFlashText(scratch.File("QM63cr.ver"), "12\r0105\r20210315\r");
    const std::string folder = scratch.Path() + "/";
    constexpr std::int64_t kBudget = 64ll << 20;

    struct Case {
        const char* name;
        std::function<bool()> refused;
    } cases[] = {
        {"64 MiB of line ends as a script",
         [&] {
             DlfScript script;
             return ReadDlfScript(lineEnds, script) == 0 && script.empty();
         }},
        {"a FIFO as a script",
         [&] {
             DlfScript script;
             return ReadDlfScript(scratch.File("QM63fifo.dlf"), script) == 0;
         }},
        {"a FIFO as a version file",
         [&] {
             return ReadVersionFromVerFile(folder, "QM63fifo.dlf", false).empty() &&
                    CheckVerFile(folder, "QM63fifo.dlf", false) == VerFileProblem::Missing;
         }},
        {"binary junk as a version file",
         [&] {
             return ReadVersionFromVerFile(folder, "QM63junk.dlf", false).empty() &&
                    CheckVerFile(folder, "QM63junk.dlf", false) == VerFileProblem::BadVersion;
         }},
        {"a version file with CR line ends is read line by line",
         [&] {
             return ReadVersionFromVerFile(folder, "QM63cr.dlf", true) == "12.0105" &&
                    ReadDateFromVerFile(folder, "QM63cr.dlf") == "2021/03/15";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const PeakMemoryGrowth peak = PeakMemoryGrowth::Of(c.refused);
        ASSERT_TRUE(peak.ran);
        EXPECT_TRUE(peak.result);
        EXPECT_LT(peak.bytes, kBudget);
    }
}

TEST(FlashScriptFile, CheckNamesTheProblemAndItsLine)
{
    const std::string r = FlashRecord(5);
    struct Case {
        DlfScript script;
        const char* entry;
        DlfProblem problem;
        std::size_t line;
    } cases[] = {
        {{"P0001F", "Q00011", r, "Q12345", "Q000F1", "", ""}, "P0001F", DlfProblem::None, 0},
        {{}, "P0000F", DlfProblem::Empty, 0},
        {{"", ""}, "P0000F", DlfProblem::Empty, 0},
        {{"P0000F", "Q00001", r, "Q000F1"}, "P0001F", DlfProblem::NoEntry, 0},
        {{"P0000F", "", r, "Q000F1"}, "P0000F", DlfProblem::BlankInside, 1},
        {{"P0000F", "Q00001", "r" + r.substr(1), "Q000F1"}, "P0000F", DlfProblem::BadLine, 2},
        {{"P0000F", "Q00001", "P0003F", "Q000F1"}, "P0000F", DlfProblem::BadLine, 2},
        {{"P0000F", "Q00001", r.substr(0, 34) + "\t", "Q000F1"}, "P0000F", DlfProblem::BadLine, 2},
        {{"P0000F", "Q00001", r}, "P0000F", DlfProblem::NoFinalCheck, 2},
        {{"P0000F"}, "P0000F", DlfProblem::NoFinalCheck, 0},
        // A file cut off inside its last record.
        {{"P0000F", "Q00001", r, r.substr(0, 17)}, "P0000F", DlfProblem::NoFinalCheck, 3},
    };
    for (const Case& c : cases) {
        const DlfCheckResult result = CheckDlfScript(c.script, c.entry);
        EXPECT_EQ(c.problem, result.problem) << c.script.size();
        EXPECT_EQ(c.line, result.line) << c.script.size();
    }
}

// Every refusal of an image names its file and says why: a script that is cut off, empty, no
// regular file, too large, damaged at a line or another image's; a name of another meter or slot.
TEST(FlashRefusalText, NamesTheFileAndTheReason)
{
    CLangTable::GetInstance()->Load(ZARN_SOURCE_DIR "/data/String.txt");
    ScratchFolder scratch;
    const std::string folder = scratch.Path() + "/";
    std::string whole;
    for (const std::string& line : FlashScriptLines("P0000F", 4)) whole += line + "\r\n";
    WriteFlashText(scratch.File("QM630181.dlf"), whole.substr(0, whole.size() - 20));
    WriteFlashText(scratch.File("QM630182.dlf"), "");
    ASSERT_EQ(0, ::mkfifo(scratch.File("QM630183.dlf").c_str(), 0600));
    WriteFlashText(scratch.File("QM630184.dlf"), "P0000F\nQ00001\n" + std::string(kDlfMaxLineLength + 1, 'R') + "\n");
    WriteFlashText(scratch.File("QM630185.dlf"), "P0000F\nQ00001\n" + FlashRecord(1) + "\nX\nQ000F1\n");
    WriteFlashText(scratch.File("QM630186.dlf"), "P0003F\nQ00001\nQ000F1\n");
    struct Case {
        const char* name;
        FlashImageProblem problem;
        int textId;
        std::string text;
    } cases[] = {
        {"truncated script", CheckFlashScript(kJobWriteMain, folder, "QM630181.dlf"), 50142,
         "QM630181.dlf is cut off"},
        {"empty script", CheckFlashScript(kJobWriteMain, folder, "QM630182.dlf"), 50139, "QM630182.dlf is empty"},
        {"FIFO", CheckFlashScript(kJobWriteMain, folder, "QM630183.dlf"), 50137, "QM630183.dlf is no regular file"},
        {"missing script", CheckFlashScript(kJobWriteMain, folder, "QM630189.dlf"), 50137, "QM630189.dlf"},
        {"line too long", CheckFlashScript(kJobWriteMain, folder, "QM630184.dlf"), 50138, "QM630184.dlf is too large"},
        {"damaged line", CheckFlashScript(kJobWriteMain, folder, "QM630185.dlf"), 50141,
         "QM630185.dlf is damaged at line 4."},
        {"another image's script", CheckFlashScript(kJobWriteRadioApp, folder, "QM630186.dlf"), 50140,
         "QM630186.dlf is not the firmware script of this image"},
        {"another meter's image", CheckFlashImageName("T-140D", kJobWriteMain, "QP520210.dlf"), 50133,
         "QP520210.dlf is not a firmware file for this meter"},
        {"another slot's image", CheckFlashImageName("T-140DR", kJobWriteRadioApp, "QM630106L.dlf"), 50136,
         "QM630106L.dlf is a file of this meter, but of another of its images"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.problem.Ok());
        EXPECT_EQ(kFlashBadScript, c.problem.Code());
        EXPECT_EQ(c.textId, FlashRefusalTextId(c.problem));
        EXPECT_EQ(0u, FlashRefusalText(c.problem).find(c.text)) << FlashRefusalText(c.problem);
    }
    // A sound script and a fitting name are no refusal and have no text.
    WriteFlashFile(scratch.File("QM630187.dlf"), FlashScriptLines("P0000F", 2));
    EXPECT_TRUE(CheckFlashScript(kJobWriteMain, folder, "QM630187.dlf").Ok());
    EXPECT_TRUE(CheckFlashImageName("T-140DR", kJobWriteRadioApp, "QM630106A.dlf").Ok());
    EXPECT_EQ("", FlashRefusalText(FlashImageProblem()));
    CLangTable::Free();
}

TEST(FlashVersionFile, VersionAndDateOfTheCompanion)
{
    ScratchFolder scratch;
    const std::string folder = scratch.Path() + "/";
    WriteFlashText(scratch.File("QM630100A.ver"), "12\r\n0105\r\n20210315\r\n");
    EXPECT_EQ("12.0105", ReadVersionFromVerFile(folder, "QM630100A.dlf", true));
    EXPECT_EQ("12", ReadVersionFromVerFile(folder, "QM630100A.dlf", false));
    EXPECT_EQ("2021/03/15", ReadDateFromVerFile(folder, "QM630100A.dlf"));
    EXPECT_EQ("12.261", FormatVersionText(ReadVersionFromVerFile(folder, "QM630100A.dlf", true)));

    struct Case {
        const char* text;
        const char* main;
        const char* radio;
        const char* date;
    } cases[] = {
        {"17\n\n20200101", "17", "", "2020/01/01"},
        {"17\n0\n2020-1-1", "17", "17.0", ""},
        {"17\n0\n202001011", "17", "17.0", ""},
        {"17", "17", "", ""},
        {"", "", "", ""},
        {"17\r0\r20200101", "17", "17.0", "2020/01/01"},
        {"17\r\n0\r\n20200101\r\n", "17", "17.0", "2020/01/01"},
        {"1\x07\n0\n20200101", "", "", "2020/01/01"},
        {"12345678901234567\n0\n20200101", "", "", "2020/01/01"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteFlashText(scratch.File("QK850100.ver"), c.text);
        EXPECT_EQ(c.main, ReadVersionFromVerFile(folder, "QK850100.dlf", false));
        EXPECT_EQ(c.radio, ReadVersionFromVerFile(folder, "QK850100.dlf", true));
        EXPECT_EQ(c.date, ReadDateFromVerFile(folder, "QK850100.dlf"));
    }
    // What a companion must state before its image is written.
    struct Check {
        const char* text;
        bool radio;
        VerFileProblem problem;
    } checks[] = {
        {"18\n\n20240102\n", false, VerFileProblem::None},
        {"12\n0106\n20231201", true, VerFileProblem::None},
        {"18\n\n2021-03-15\n", false, VerFileProblem::BadDate},
        {"18\n\n", false, VerFileProblem::FewLines},
        {"12\n\n20231201", true, VerFileProblem::BadVersion},
        {"\n\n20231201", false, VerFileProblem::BadVersion},
        {"1\t8\n\n20231201", false, VerFileProblem::BadVersion},
    };
    for (const Check& c : checks) {
        SCOPED_TRACE(c.text);
        WriteFlashText(scratch.File("QK850100.ver"), c.text);
        EXPECT_EQ(c.problem, CheckVerFile(folder, "QK850100.dlf", c.radio));
    }
    EXPECT_EQ(VerFileProblem::Missing, CheckVerFile(folder, "QK859999.dlf", false));

    // A name without an extension has no companion.
    WriteFlashText(scratch.File("QK850100.ver"), "17\n0\n20200101\n");
    EXPECT_EQ("", ReadVersionFromVerFile(folder, "QK850100", false));
    EXPECT_EQ("", ReadDateFromVerFile(folder, "QK850100"));
}

TEST(FlashVersionText, DisplayFormAndValueComparison)
{
    EXPECT_EQ("12.261", FormatVersionText("12.0105"));
    EXPECT_EQ("12.000", FormatVersionText("12.01G5"));
    EXPECT_EQ("12.105", FormatVersionText("12.105"));
    EXPECT_EQ("", FormatVersionText(""));
    EXPECT_TRUE(SameRadioVersion("12.0105", "12.105"));
    EXPECT_TRUE(SameRadioVersion("12.00ff", "12.0FF"));
    EXPECT_FALSE(SameRadioVersion("12.0105", "13.0105"));
    EXPECT_FALSE(SameRadioVersion("12.0105", "12.0106"));
    EXPECT_TRUE(SameRadioVersion("17", "17"));
    EXPECT_FALSE(SameRadioVersion("17", "18"));
}

TEST(FlashCommandLine, TokensAndSwitches)
{
    const auto tokens = SplitCommandLine("\"C:\\Program Files\\Zarnflash.exe\" /Type T-140DR_EL /Ver 18 ab\"c d\"e");
    EXPECT_EQ((std::vector<std::string>{"C:\\Program Files\\Zarnflash.exe", "/Type", "T-140DR_EL", "/Ver", "18", "ab",
                                        "c d", "e"}),
              tokens);
    EXPECT_EQ("18", GetSwitchValue(tokens, "/Ver"));
    EXPECT_EQ("", GetSwitchValue(tokens, "/Date"));
    EXPECT_EQ("", GetSwitchValue(tokens, "e"));
    EXPECT_EQ("/Ver", GetSwitchValue(SplitCommandLine("x /Type /Ver 1"), "/Type"));
    EXPECT_TRUE(SplitCommandLine(std::string(512, 'a')).empty());
    EXPECT_EQ(1u, SplitCommandLine(std::string(511, 'a')).size());

    std::string many = "p";
    for (int i = 1; i <= 20; ++i) many += " t" + std::to_string(i);
    const auto capped = SplitCommandLine(many);
    ASSERT_EQ(16u, capped.size());
    EXPECT_EQ("t15", capped.back());

    // The update page hands its switches as an argument list, blanks around the switches included.
    const auto args = SplitArguments({"/opt/zarn/bin/Zarnflash", " /Zarn ", "4242", " /Type ", "T-310D_DR", " /Ver ",
                                      "21", " /RFAppVer ", "12.0105", " /RFLdrVer ", "", " /Date ", "20240102"});
    EXPECT_EQ("4242", GetSwitchValue(args, "/Zarn"));
    EXPECT_EQ("T-310D/DR", ModelFromTypeValue(GetSwitchValue(args, "/Type")));
    EXPECT_EQ("21", GetSwitchValue(args, "/Ver"));
    EXPECT_EQ("12.0105", GetSwitchValue(args, "/RFAppVer"));
    EXPECT_EQ("", GetSwitchValue(args, "/RFLdrVer"));
    EXPECT_EQ("2024/01/02", FormatLaunchDate(GetSwitchValue(args, "/Date")));
    EXPECT_EQ("2024012", FormatLaunchDate("2024012"));
    const auto plain = SplitArguments({"Zarnflash", "/Type", "T-140DR_PX"});
    EXPECT_EQ("T-140DR-PX", ModelFromTypeValue(GetSwitchValue(plain, "/Type")));
    EXPECT_EQ("T-520D", ModelFromTypeValue("T-520D"));
    EXPECT_EQ("T_9", ModelFromTypeValue("T_9"));
}

} // namespace
