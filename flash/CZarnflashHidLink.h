// The downloader's rules over a HID meter link (CCommT140 or CCommT520): reads wait up to 3000 ms
// and a silent meter gives the reply "T.O."; input left over from an exchange given up is drained
// before every command; commands go out as fixed 7-byte reports (id 1) and record lines as fixed
// 36-byte reports (id 2), zero-padded, and a line that does not fit its report is not sent; only a
// complete 7-byte input report counts as an answer. Also the identity queries the downloader reads:
// the radio versions with their whole four-digit field, and the radio variant.
#pragma once

#include "flash/CZarnflashLink.h"
#include "meter/CCommHidMeter.h"

#include <memory>
#include <string>

class CZarnflashHidLink final : public CZarnflashLink {
public:
    enum class Family { T140, T520 };
    static constexpr std::uint32_t kReadTimeoutMs = 3000;
    static constexpr std::size_t kRecordLength = 35;
    static constexpr std::size_t kCommandLength = 6;

    CZarnflashHidLink(std::unique_ptr<CCommHidMeter> link, Family family);

    // Number of attached meters of the family (capped at 2) and the path of the last one found.
    int CountDevices(std::string* path);
    BOOL IsDevicePresent();

    BOOL Open(const std::string& path, int* err) override;
    BOOL Prepare(int* err) override;
    BOOL Transact(const std::string& command, std::string* reply) override;
    BOOL Close() override;

    BOOL GetModelName(std::string* text);
    BOOL GetRevision(std::string* text);
    // T-140: the main program's rule (revision "17" or later polls on for 3000 ms); T-520: busy wait.
    BOOL WaitUntilReady(const std::string& revision);
    // "G0001A"/"G0000A" and "G00019"/"G00009": two prefix characters, ".", four hexadecimal digits;
    // empty on any failure.
    std::string GetVersionA();
    std::string GetVersionB();
    // "G0000B": 0 gives 1, 1 gives 3, 3 gives 2; anything else or a failure 0.
    int GetVariant();

    CCommHidMeter& Link() { return *link_; }

private:
    std::string RadioVersion(const char* first, const char* second);
    // A complete answer whose first character is the command's letter after upper-casing.
    bool Query(const char* command, std::string* reply);

    std::unique_ptr<CCommHidMeter> link_;
    Family family_;
};
