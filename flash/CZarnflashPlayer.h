// Plays one firmware script into the meter: checks it, opens the link, exchanges it line by line
// (entry command, erase and final check with their busy polls, control commands, data records),
// leaves the update mode as its form asks, closes the link and reports progress and the result as
// thread messages. One player family, parameterised by link, entry command, result codes and form.
#pragma once

#include "flash/CZarnflashLink.h"
#include "flash/DlfScript.h"
#include "flash/DlfScriptCheck.h"
#include "flash/FlashMessageTarget.h"
#include "platform/Clock.h"

#include <cstdint>
#include <string>

struct FlashPlayerForm {
    enum class Kind {
        MainHid,    // T-140 and T-520 main firmware: "T.O." accepted on entry, "H00000" at the end
        MainSerial, // T-310 main firmware: range always lines + 1, "H00000" at the end, no pause
        Radio,      // radio images: no "H00000" at the end, final messages carry the job id
    };
    int jobId = 6;
    const char* entryCommand = "P0000F";
    int openCode = 0;
    int setupCode = 0;
    int protocolCode = 0;
    Kind kind = Kind::MainHid;
};

class CZarnflashPlayer {
public:
    // An erase or final check that keeps answering busy is given up after this long on the clock
    // the player was given (the links' clock); a real erase takes a few seconds.
    static constexpr std::uint64_t kBusyLimitMs = 60000;
    // A safety bound on the polls of one wait, far above what the time allows: no link answers a
    // poll in less than a tenth of a millisecond.
    static constexpr int kBusyPollCeiling = 600000;

    CZarnflashPlayer(const FlashPlayerForm& form, CZarnflashLink& link, FlashMessageTarget& target, Clock& clock);

    // scriptPath empty: the job's list held no script. where: device path or port for the link.
    // Posts the job's messages, the result last; returns the result code (0 for success). After a
    // failure once the script's entry command went out, the meter is told once to leave its update
    // mode; when that command cannot be sent either, the result is kFlashStillInUpdateMode.
    int Run(const std::string& scriptPath, const std::string& where);
    // Ends the job without touching the meter: an empty bar and the failure code.
    int Refuse(int code);
    // Why Run refused its script with kFlashBadScript (problem None otherwise).
    const DlfCheckResult& ScriptCheck() const { return scriptCheck_; }

    // The erase share of the progress bar, shared by the players of the process.
    static double EraseShare();

    // Posts the erase share for poll i when it grows.
    void PostErasePollProgress(int poll);
    // Posts the share of the lines played: erase share + 900 × L / range, at most 1000.
    void PostLineProgress(double position, double range);

private:
    void Post(UINT message, WPARAM wParam, LPARAM lParam);
    void PostProgress(WPARAM wParam, double range, double position);
    // Exchanges command; a reply that never came reads "T.O." (HID) or what arrived.
    std::string Exchange(const std::string& command);
    // Sends "H00000"; FALSE when it could not be sent.
    bool Leave();
    // Polls a busy erase or final check until the reply is no longer "Q00001", the time limit has
    // passed or the poll ceiling is reached; returns the last reply.
    std::string PollWhileBusy(std::string reply, bool postErase);
    // Plays the lines; failed set when the script failed after its entry command went out.
    int Play(const DlfScript& script, bool* failed);
    void Finish(int result, double range, bool barEmpty);

    FlashPlayerForm form_;
    CZarnflashLink& link_;
    FlashMessageTarget& target_;
    Clock& clock_;
    DlfCheckResult scriptCheck_;
};
