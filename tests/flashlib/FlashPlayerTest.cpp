// The script players against a simulated meter in update mode: what goes over the link for each
// player form and failure point, what the meter keeps, and the progress the players post.
#include "flash/CZarnflashHidLink.h"
#include "flash/CZarnflashPlayer.h"
#include "meter/CCommT140.h"
#include "meter/CCommT520.h"
#include "tests/flash/FlashTestKit.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr FlashPlayerForm kMainT140{6, "P0000F", 0x20000004, 0x20000005, 0x20000006, FlashPlayerForm::Kind::MainHid};
constexpr FlashPlayerForm kMainT520{6, "P0000F", 0x20000008, 0x20000009, 0x2000000A, FlashPlayerForm::Kind::MainHid};
constexpr FlashPlayerForm kRadioAppT140{10, "P0001F", 0x20000004, 0x20000005, 0x20000006,
                                        FlashPlayerForm::Kind::Radio};
constexpr FlashPlayerForm kRadioLoaderT520{9, "P0003F", 0x20000008, 0x20000009, 0x2000000A,
                                           FlashPlayerForm::Kind::Radio};

class FlashPlayer : public ::testing::Test {
protected:
    void Use(bool t520)
    {
        systemOwner = std::make_unique<SimHidDeviceSystem>();
        sim = SimFlashHidMeter::Add(system(), t520);
        std::unique_ptr<CCommHidMeter> comm;
        if (t520) {
            comm = std::make_unique<CCommT520>(system());
        } else {
            comm = std::make_unique<CCommT140>(system());
        }
        link = std::make_unique<CZarnflashHidLink>(std::move(comm), t520 ? CZarnflashHidLink::Family::T520
                                                                          : CZarnflashHidLink::Family::T140);
    }
    std::string Script(const std::vector<std::string>& lines)
    {
        const std::string path = scratch.File("QM630100.dlf");
        WriteFlashFile(path, lines);
        return path;
    }
    int Play(const FlashPlayerForm& form, const std::string& path)
    {
        CZarnflashPlayer player(form, *link, target, system().Clock());
        return player.Run(path, "");
    }

    ScratchFolder scratch;
    SimHidDeviceSystem& system() { return *systemOwner; }
    std::unique_ptr<SimHidDeviceSystem> systemOwner;
    SimFlashHidMeter sim;
    std::unique_ptr<CZarnflashHidLink> link;
    RecordingFlashTarget target;
};

TEST_F(FlashPlayer, MainScriptIsWrittenCommittedAndLeftWithTheBarFull)
{
    Use(false);
    const auto lines = FlashScriptLines("P0000F", 3);
    EXPECT_EQ(0, Play(kMainT140, Script(lines)));
    EXPECT_EQ(sim.mode->Memory("P0000F"), std::vector<std::string>(lines.begin() + 2, lines.end() - 1));
    const std::vector<std::string> log = sim.meter->Log();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ("P0000F", log.front());
    EXPECT_EQ("H00000", log.back());
    EXPECT_FALSE(sim.mode->InUpdateMode());
    const FlashMessage last = target.Last();
    EXPECT_EQ(WM_UPDATE_JOB_DONE, last.message);
    EXPECT_EQ(6u, last.wParam);
    const auto progress = target.Progress();
    EXPECT_EQ(std::make_pair(100u, 0u), progress.front());
    EXPECT_EQ(std::make_pair(7u, 7u), progress.back()); // 6 lines: range 7, full
    // Records go out as 36-byte reports with id 2, commands as reports with id 1.
    const auto ids = system().ReportIds(kT140Path);
    EXPECT_EQ(3, std::count(ids.begin(), ids.end(), 2));
}

// A broken or foreign script never reaches the meter: nothing at all is sent.
TEST_F(FlashPlayer, RefusedScriptsSendNothing)
{
    const std::string r = FlashRecord(1);
    struct Case {
        const char* name;
        std::string text;
    } cases[] = {
        {"empty file", ""},
        {"blank line inside", "P0000F\nQ00001\n" + r + "\n\n" + r + "\nQ000F1\n"},
        {"no final check", "P0000F\nQ00001\n" + r + "\n"},
        {"long record", "P0000F\nQ00001\n" + r + "0\nQ000F1\n"},
        {"short record", "P0000F\nQ00001\n" + r.substr(0, 30) + "\nQ000F1\n"},
        {"unknown line", "P0000F\nQ00001\nX123\nQ000F1\n"},
        {"radio entry inside", "P0000F\nQ00001\nP0001F\n" + r + "\nQ000F1\n"},
        {"another target's script", "P0003F\nQ00001\n" + r + "\nQ000F1\n"},
        {"long control line", "P0000F\nQ000011\nQ000F1\n"},
        {"huge line", "P0000F\nQ00001\nR" + std::string(30000, '0') + "\nQ000F1\n"},
    };
    Use(false);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim.meter->ClearLog();
        target.Clear();
        const std::string path = scratch.File("case.dlf");
        WriteFlashText(path, c.text);
        EXPECT_EQ(kFlashBadScript, Play(kMainT140, path));
        EXPECT_TRUE(sim.meter->Log().empty());
        EXPECT_EQ(WM_UPDATE_JOB_FAILED, target.Last().message);
        EXPECT_EQ(kFlashBadScript, target.Last().lParam);
        // Nothing was written: the bar ends empty.
        EXPECT_EQ(0u, target.Progress().back().second);
    }
    sim.meter->ClearLog();
    EXPECT_EQ(kFlashBadScript, Play(kMainT140, scratch.File("missing.dlf")));
    EXPECT_EQ(kFlashNoScript, Play(kMainT140, ""));
    EXPECT_TRUE(sim.meter->Log().empty());
    EXPECT_EQ(0, system().OpenCount());
}

// Trailing empty lines end the script after its final check; CR LF and LF files read alike.
TEST_F(FlashPlayer, TrailingBlankLinesAndLineEndsAreAccepted)
{
    Use(false);
    auto lines = FlashScriptLines("P0000F", 2);
    lines.push_back("");
    lines.push_back("");
    const std::string path = scratch.File("lf.dlf");
    WriteFlashFile(path, lines, "\n");
    EXPECT_EQ(0, Play(kMainT140, path));
    EXPECT_EQ(2u, sim.mode->Memory("P0000F").size());
}

// Every exchange of a script may fail: the job fails with its protocol code, the meter's memory
// stays as it was, and the next run writes the image.
TEST_F(FlashPlayer, AFaultAtAnyExchangeLeavesTheMemoryAndTheNextRunWorks)
{
    struct Form {
        FlashPlayerForm form;
        bool t520;
    } forms[] = {{kMainT140, false}, {kMainT520, true}, {kRadioAppT140, false}, {kRadioLoaderT520, true}};
    for (const Form& f : forms) {
        for (MeterFaultKind kind : {MeterFaultKind::WrongLetter, MeterFaultKind::NoReply, MeterFaultKind::ShortReply}) {
            // Exchanges of the script: entry (0), erase and its 3 polls (1-4), 2 records (5, 6), final
            // check and its 2 polls (7-9).
            for (std::uint64_t at = 0; at < 10; ++at) {
                SCOPED_TRACE(std::string(f.form.entryCommand) + " " + MeterFaultName(kind) + " at " +
                             std::to_string(at));
                Use(f.t520);
                const std::vector<std::string> old{FlashRecord(77)};
                sim.mode->SetMemory(f.form.entryCommand, old);
                const std::string path = Script(FlashScriptLines(f.form.entryCommand, 2));
                sim.meter->ResetExchangeCount();
                sim.meter->InjectFault({kind, at, 0});
                const int result = Play(f.form, path);
                // "T.O." on the main firmware's entry command is taken as the meter rebooting into
                // update mode, and the script goes on.
                const bool tolerated = at == 0 && kind == MeterFaultKind::NoReply &&
                                       f.form.kind == FlashPlayerForm::Kind::MainHid;
                if (tolerated) {
                    EXPECT_EQ(0, result);
                    continue;
                }
                EXPECT_EQ(f.form.protocolCode, result);
                // Up to the commit the memory is untouched; a reply lost after the meter committed
                // (the last poll) still fails the job, as the host cannot know.
                if (at < 9) {
                    EXPECT_EQ(old, sim.mode->Memory(f.form.entryCommand));
                } else {
                    EXPECT_EQ(2u, sim.mode->Memory(f.form.entryCommand).size());
                }
                // After any failure once the entry command went out, every form tells the meter once to
                // leave its update mode.
                const auto log = sim.meter->Log();
                EXPECT_EQ(1, std::count(log.begin(), log.end(), std::string("H00000")));
                EXPECT_FALSE(sim.mode->InUpdateMode());
                sim.meter->ClearLog();
                EXPECT_EQ(WM_UPDATE_JOB_FAILED, target.Last().message);
                EXPECT_EQ(static_cast<WPARAM>(f.form.jobId), target.Last().wParam);
                sim.meter->ClearFaults();
                EXPECT_EQ(0, Play(f.form, path));
                EXPECT_EQ(2u, sim.mode->Memory(f.form.entryCommand).size());
            }
        }
    }
}

TEST_F(FlashPlayer, RadioEntryTimeOutFailsAfterOneLeaveCommand)
{
    Use(false);
    const std::string path = Script(FlashScriptLines("P0001F", 1));
    sim.meter->ResetExchangeCount();
    sim.meter->InjectFault({MeterFaultKind::NoReply, 0, 0});
    EXPECT_EQ(0x20000006, Play(kRadioAppT140, path));
    EXPECT_EQ((std::vector<std::string>{"P0001F", "H00000"}), sim.meter->Log());
    // The final progress message carries the job id and position 0.
    const auto messages = target.Messages();
    ASSERT_GE(messages.size(), 2u);
    const FlashMessage bar = messages[messages.size() - 2];
    EXPECT_EQ(WM_UPDATE_PROGRESS, bar.message);
    EXPECT_EQ(10u, bar.wParam);
    EXPECT_EQ(0u, bar.Position());
}

TEST_F(FlashPlayer, MainEntryTimeOutGoesOnAndTheNextCommandGetsItsOwnAnswer)
{
    Use(true);
    const std::string path = Script(FlashScriptLines("P0000F", 1));
    sim.meter->ResetExchangeCount();
    // The meter answers the entry command only after the read has been given up.
    sim.meter->InjectFault({MeterFaultKind::Delay, 0, 4000});
    EXPECT_EQ(0, Play(kMainT520, path));
    EXPECT_EQ(1u, sim.mode->Memory("P0000F").size());
}

// Erase and final check wait by time on the links' clock: a meter busy for 30 s finishes, one busy
// for ever is given up at the limit and told once to leave its update mode.
TEST_F(FlashPlayer, BusyWaitsAreBoundedByTime)
{
    constexpr std::uint32_t kRoundTripMs = 5;
    constexpr int kThirtySeconds = 30000 / kRoundTripMs;
    constexpr int kForever = 1000000;
    struct Case {
        const char* name;
        int eraseBusy;
        int finalBusy;
        int result;
    } cases[] = {
        {"erase busy 30 s", kThirtySeconds, 2, 0},
        {"final check busy 30 s", 3, kThirtySeconds, 0},
        {"erase busy for ever", kForever, 2, 0x20000006},
        {"final check busy for ever", 3, kForever, 0x20000006},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Use(false);
        system().SetRoundTripMs(kRoundTripMs);
        target.Clear();
        sim.mode->SetEraseBusyPolls(c.eraseBusy);
        sim.mode->SetFinalBusyPolls(c.finalBusy);
        const std::string path = Script(FlashScriptLines("P0000F", 1));
        const std::uint64_t start = system().Clock().NowMs();
        EXPECT_EQ(c.result, Play(kMainT140, path));
        const std::uint64_t spent = system().Clock().NowMs() - start;
        const auto log = sim.meter->Log();
        EXPECT_EQ(1, std::count(log.begin(), log.end(), std::string("H00000")));
        EXPECT_FALSE(sim.mode->InUpdateMode());
        if (c.result == 0) {
            EXPECT_EQ(1u, sim.mode->Memory("P0000F").size());
        } else {
            // Given up at the limit, not before and not much later.
            EXPECT_GE(spent, CZarnflashPlayer::kBusyLimitMs);
            EXPECT_LT(spent, CZarnflashPlayer::kBusyLimitMs + 10000);
            EXPECT_TRUE(sim.mode->Memory("P0000F").empty());
        }
        // The erase share climbs and never falls, to 100 at most.
        unsigned highest = 0;
        for (const FlashMessage& m : target.Messages()) {
            if (m.message != WM_UPDATE_PROGRESS || m.Range() != 1000 || m.Position() > 100) continue;
            EXPECT_GE(m.Position(), highest);
            highest = m.Position();
        }
        EXPECT_LE(highest, 100u);
    }
}

// A failure whose leave command cannot be sent either (the meter went away) says the meter still
// waits for its firmware; a radio image's failed record is followed by the leave command too.
TEST_F(FlashPlayer, AMeterThatCannotBeToldToLeaveStillWaitsForItsFirmware)
{
    Use(false);
    const std::string path = Script(FlashScriptLines("P0001F", 2));
    sim.meter->ResetExchangeCount();
    sim.meter->InjectFault({MeterFaultKind::WrongLetter, 5, 0}); // the first record
    EXPECT_EQ(0x20000006, Play(kRadioAppT140, path));
    auto log = sim.meter->Log();
    EXPECT_EQ("H00000", log.back());
    EXPECT_FALSE(sim.mode->InUpdateMode());

    // The leave command cannot be written: the module stays in update mode and the user is told.
    sim.meter->ClearLog();
    sim.meter->ResetExchangeCount();
    sim.meter->InjectFault({MeterFaultKind::WrongLetter, 5, 0});
    sim.meter->FailCommand("H00000");
    EXPECT_EQ(kFlashStillInUpdateMode, Play(kRadioAppT140, path));
    EXPECT_EQ(kFlashStillInUpdateMode, static_cast<int>(target.Last().lParam));
    EXPECT_TRUE(sim.mode->InUpdateMode());
}

TEST_F(FlashPlayer, ProgressArithmetic)
{
    Use(false);
    CZarnflashPlayer player(kMainT140, *link, target, system().Clock());
    player.Run("", ""); // resets the erase share
    target.Clear();
    // Erase polls: 8 per poll to 80, one per poll to 90, then one per eight polls.
    struct Poll {
        int poll;
        int shown; // -1: nothing posted
    } polls[] = {{1, 0}, {2, 1}, {50, 40}, {100, 80}, {150, 85}, {200, 90}, {201, -1}, {1000, 100}, {1001, -1}};
    for (const Poll& p : polls) {
        SCOPED_TRACE(p.poll);
        target.Clear();
        player.PostErasePollProgress(p.poll);
        if (p.shown < 0) {
            EXPECT_TRUE(target.Messages().empty());
        } else if (p.poll == 1) {
            EXPECT_TRUE(target.Messages().empty()); // 0 does not raise a share of 0
        } else {
            ASSERT_EQ(1u, target.Messages().size());
            EXPECT_EQ(static_cast<unsigned>(p.shown), target.Last().Position());
        }
    }
    // A position past its range is shown full, never past 1000; a range of 0 posts nothing.
    target.Clear();
    player.PostLineProgress(12, 10);
    EXPECT_EQ(1000u, target.Last().Position());
    target.Clear();
    player.PostLineProgress(5, 0);
    EXPECT_TRUE(target.Messages().empty());
}

// Over 65,535 lines the scale halves; the posted words never wrap to 0.
TEST_F(FlashPlayer, BigScriptsKeepWholeProgressWords)
{
    Use(false);
    sim.mode->SetEraseBusyPolls(0);
    sim.mode->SetFinalBusyPolls(0);
    for (int records : {65532, 69997}) {
        SCOPED_TRACE(records);
        target.Clear();
        const auto lines = FlashScriptLines("P0000F", records);
        EXPECT_EQ(0, Play(kMainT140, Script(lines)));
        const auto progress = target.Progress();
        const unsigned n = static_cast<unsigned>(lines.size());
        const unsigned range = n <= 65535 ? 65535 : n / 2; // 65536 does not fit: shown as 65535
        EXPECT_EQ(std::make_pair(range, range), progress.back());
        for (const auto& p : progress) EXPECT_LE(p.second, p.first);
    }
}

TEST_F(FlashPlayer, HidRecordReportsAreFixedSize)
{
    Use(false);
    ASSERT_TRUE(link->Open("", nullptr));
    std::string reply;
    EXPECT_FALSE(link->Transact(FlashRecord(1) + "9", &reply)); // does not fit its report: not sent
    EXPECT_FALSE(link->Transact("G000001", &reply));
    EXPECT_TRUE(sim.meter->Log().empty());
    EXPECT_TRUE(link->Transact("G00001", &reply));
    EXPECT_EQ(6u, reply.size());
    link->Close();
}

TEST_F(FlashPlayer, SeveralMetersOrAnotherMeterAreNotOpened)
{
    Use(false);
    int err = 0;
    EXPECT_FALSE(link->Open("/dev/hidraw-other", &err));
    EXPECT_EQ(CZarnflashLink::kNoDevice, err);
    SimFlashHidMeter::Add(system(), false, 0x11, "/dev/hidraw-second");
    EXPECT_FALSE(link->Open("", &err));
    EXPECT_EQ(CZarnflashLink::kSeveralDevices, err);
    EXPECT_EQ(2, link->CountDevices(nullptr));
}

} // namespace
