#include "flash/CZarnflashPlayer.h"

#include "flash/DlfScriptCheck.h"
#include "flash/ZarnflashDefs.h"

#include <algorithm>
#include <atomic>
#include <cmath>

namespace {

// Only one player runs at a time; atomic so that a test thread may read it.
std::atomic<double> g_eraseShare{0.0};

constexpr double kBigScript = 65535;

// A progress word: whole, never negative, never past 65535.
unsigned Word(double value)
{
    if (!(value > 0)) return 0;
    if (value >= 65535.0) return 65535;
    return static_cast<unsigned>(value);
}

} // namespace

CZarnflashPlayer::CZarnflashPlayer(const FlashPlayerForm& form, CZarnflashLink& link, FlashMessageTarget& target,
                                   Clock& clock)
    : form_(form), link_(link), target_(target), clock_(clock)
{
}

double CZarnflashPlayer::EraseShare()
{
    return g_eraseShare.load();
}

void CZarnflashPlayer::Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    target_.PostThreadMessage(message, wParam, lParam);
}

void CZarnflashPlayer::PostProgress(WPARAM wParam, double range, double position)
{
    const unsigned r = Word(range);
    const unsigned p = std::min(Word(position), r);
    Post(WM_UPDATE_PROGRESS, wParam, MakeProgressParam(r, p));
}

void CZarnflashPlayer::PostErasePollProgress(int poll)
{
    int v = 0;
    if (poll <= 100) {
        v = 8 * poll;
    } else if (poll <= 200) {
        v = poll + 700;
    } else {
        v = (poll - 200) / 8 + 900;
    }
    const double x = std::min(100.0, std::floor(v / 1000.0 * 100.0));
    if (g_eraseShare.load() < x) {
        g_eraseShare.store(x);
        PostProgress(kJobWriteMain, 1000, x);
    }
}

void CZarnflashPlayer::PostLineProgress(double position, double range)
{
    if (range == 0) return;
    const double d = std::floor(position / range * 900.0);
    const double e = g_eraseShare.load();
    g_eraseShare.store(e < 100 ? e + 1 : 100);
    PostProgress(kJobWriteMain, 1000, std::min(1000.0, g_eraseShare.load() + d));
}

std::string CZarnflashPlayer::Exchange(const std::string& command)
{
    std::string reply;
    link_.Transact(command, &reply);
    return reply;
}

bool CZarnflashPlayer::Leave()
{
    Exchange("H00000");
    return !link_.LastWriteFailed();
}

std::string CZarnflashPlayer::PollWhileBusy(std::string reply, bool postErase)
{
    const std::uint64_t start = clock_.NowMs();
    int poll = 0;
    while (reply == "Q00001" && poll < kBusyPollCeiling && clock_.NowMs() - start < kBusyLimitMs) {
        ++poll;
        if (postErase) PostErasePollProgress(poll);
        reply = Exchange("Q00000");
    }
    return reply;
}

int CZarnflashPlayer::Refuse(int code)
{
    Finish(code, 100, true);
    return code;
}

void CZarnflashPlayer::Finish(int result, double range, bool barEmpty)
{
    const WPARAM finalId = form_.kind == FlashPlayerForm::Kind::Radio ? static_cast<WPARAM>(form_.jobId)
                                                                       : static_cast<WPARAM>(kJobWriteMain);
    // Nothing written: the bar stays empty beside the failure; otherwise the radio form ends on its
    // range alone and the main forms on a full bar.
    if (barEmpty) {
        PostProgress(finalId, 100, 0);
    } else if (form_.kind == FlashPlayerForm::Kind::Radio) {
        Post(WM_UPDATE_PROGRESS, finalId, MakeProgressParam(Word(range), 0));
    } else {
        PostProgress(finalId, range, range);
    }
    if (result == 0) {
        Post(WM_UPDATE_JOB_DONE, finalId, 0);
    } else {
        Post(WM_UPDATE_JOB_FAILED, finalId, static_cast<LPARAM>(result));
    }
}

int CZarnflashPlayer::Run(const std::string& scriptPath, const std::string& where)
{
    g_eraseShare.store(0);
    PostProgress(kJobWriteMain, 100, 0);

    DlfScript script;
    scriptCheck_ = DlfCheckResult();
    if (scriptPath.empty()) return Refuse(kFlashNoScript);
    // A script that cannot be read whole, or that is not this target's, never reaches the meter.
    scriptCheck_ = ReadAndCheckDlfScript(scriptPath, form_.entryCommand, script);
    if (!scriptCheck_.Ok()) return Refuse(kFlashBadScript);
    int err = 0;
    if (!link_.Open(where, &err)) return Refuse(form_.openCode);
    if (!link_.Prepare(&err)) {
        link_.Close();
        return Refuse(form_.setupCode);
    }
    const double n = static_cast<double>(script.size());
    const double range = (form_.kind == FlashPlayerForm::Kind::MainSerial || n <= kBigScript) ? n + 1 : n * 0.5;
    if (form_.kind != FlashPlayerForm::Kind::MainHid) PostProgress(kJobWriteMain, range, 1);
    bool failed = false;
    int result = Play(script, &failed);
    // The meter leaves its update mode at the end of a main image, and after any failure (once, for
    // every form); a meter that cannot be told stays waiting for its firmware.
    if (failed || form_.kind != FlashPlayerForm::Kind::Radio) {
        if (!Leave() && failed) result = kFlashStillInUpdateMode;
    }
    if (link_.Close() && form_.kind != FlashPlayerForm::Kind::MainSerial) clock_.SleepMs(1000);
    Finish(result, range, false);
    return result;
}

int CZarnflashPlayer::Play(const DlfScript& script, bool* failedAfterEntry)
{
    const double n = static_cast<double>(script.size());
    const bool serial = form_.kind == FlashPlayerForm::Kind::MainSerial;
    const bool big = !serial && n > kBigScript;
    const double range = big ? n * 0.5 : n + 1;
    double position = 1;
    int counter = 1;
    std::string line;
    for (std::string_view text : script) {
        if (text.empty()) break;
        line.assign(text.data(), text.size());
        bool failed = false;
        if (line == form_.entryCommand || IsDlfEntryCommand(line)) {
            const std::string reply = Exchange(line);
            const bool accepted =
                reply == "P00000" || (form_.kind == FlashPlayerForm::Kind::MainHid && reply == "T.O.");
            if (!accepted) {
                *failedAfterEntry = true;
                return form_.protocolCode;
            }
        } else if (line == "Q00001" || line == "Q00011") {
            clock_.SleepMs(1000);
            link_.Wait(400);
            if (PollWhileBusy(Exchange(line), true) != "Q00000") failed = true;
            position += 1;
            PostProgress(kJobWriteMain, range, position);
            link_.Wait(100);
        } else if (line == "Q000F1") {
            link_.Wait(400);
            if (PollWhileBusy(Exchange(line), false) != "Q00002") failed = true;
            link_.Wait(100);
        } else if (line[0] == 'Q') {
            const std::string reply = Exchange(line.substr(0, 6));
            const std::string expected = line.substr(1, 4);
            if (reply.size() < 2 || reply.substr(2) != expected) failed = true;
        } else {
            if (Exchange(line) != "R00000") failed = true;
        }
        ++counter;
        position = big ? counter * 0.5 : position + 1;
        PostLineProgress(position, range);
        if (failed) {
            *failedAfterEntry = true;
            return form_.protocolCode;
        }
    }
    return 0;
}
