// Command set of the T-310 family over its USB virtual serial port. Memory is addressed in 16-bit
// words: "L" commands set the word address, read or write the word there, commit and poll the
// completion status; "G" queries give model, revision and date. Every command and reply is six
// ASCII characters; the link's set-up adds a one-byte "[" handshake. Only the meter worker thread
// uses an object of this class.
#pragma once

#include "meter/CCommSyncBase.h"
#include "meter/T310TransferBlock.h"
#include "platform/MessageSink.h"
#include "platform/SerialDeviceSystem.h"
#include "platform/UsbSerialPortFinder.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <string>

class CCommT310 : public CCommSyncBase {
public:
    static constexpr std::uint16_t kVendorId = 0x1F3C;
    static constexpr std::uint16_t kProductId = 0x7001;
    static constexpr int kInterface = 0;
    static constexpr int kNoDeviceError = 20;
    // How long a commit may keep answering "saving" before the write is given up.
    static constexpr std::uint32_t kCommitDeadlineMs = 30000;
    static constexpr std::uint32_t kCommitPollMs = 20;

    // finder and deviceDir say where the meter's port is looked up (sysfs) and opened
    // (deviceDir + "/" + port name).
    explicit CCommT310(SerialDeviceSystem& system, UsbSerialPortFinder finder = UsbSerialPortFinder(),
                       std::string deviceDir = "/dev");
    ~CCommT310() override;

    // Clears the progress target and counters, then closes the port.
    BOOL Close(int* err = nullptr) override;

    // TRUE when a meter port is found; *moreThanOne TRUE (and TRUE) when several are.
    virtual BOOL IsDevicePresent(BOOL* moreThanOne);
    // Opens the meter's port at 115200 8N1 with the link's time-outs; error 20 when none is found.
    virtual BOOL OpenDevice(int* err = nullptr);
    // The same on a given port name (such as "ttyUSB0"); an empty name finds the meter's port.
    BOOL ConnectPort(const std::string& portName, int* err = nullptr);
    // The one-byte handshake: up to six attempts of "[" answered by "[".
    virtual BOOL PrepareDevice(int* err = nullptr);
    // 2 (T-310D/DR), 3 (T-310CINE) or 999.
    virtual int GetModelCode(int* err = nullptr);
    // "YYYY/MM/DD"; the year part alone when the second query fails, empty when the first does.
    virtual BOOL GetDateString(std::string* text, int* err = nullptr);
    // "T-310D/DR", "T-310CINE" or "---".
    virtual BOOL GetModelName(std::string* text, int* err = nullptr);
    // Two-character firmware revision, empty on failure.
    virtual BOOL GetRevision(std::string* text, int* err = nullptr);
    // Header text and the three slots' transferred words.
    virtual BOOL ReadAllProfiles(T310TransferBlock* block, int* err = nullptr);
    // Words 0x110 and 0x111.
    virtual BOOL ReadCustomSettings(T310TransferBlock* block, int* err = nullptr);
    virtual BOOL WriteCustomSettings(const T310TransferBlock* block, int* err = nullptr);
    // The three slot names.
    virtual BOOL ReadProfileNames(T310TransferBlock* block, int* err = nullptr);
    // mask bits 0x1, 0x2, 0x4: slots 0 to 2; 0x8: header text; mask 0 fails without sending.
    virtual BOOL WriteProfiles(const T310TransferBlock* block, int mask, int* err = nullptr);
    // Where the next operation posts its progress (window null: nowhere).
    virtual void SetNotifyWindow(HWND window, UINT message);
    // The sink that carries the progress messages (set once by the owner of the link).
    void SetMessageSink(MessageSink* sink) { sink_ = sink; }

    // The meter's port name (such as "ttyUSB0"), or empty.
    std::string FindT310Port() const;
    // TRUE when more than one port belongs to a meter of this family.
    BOOL HasMultipleT310Ports() const;

    // One serial exchange: writes the command, then reads replyLength bytes into reply (which must
    // hold replyLength + 1 bytes; it is zeroed first). FALSE when either call fails or moves fewer
    // bytes than asked.
    BOOL Transact(const char* command, DWORD length, char* reply, DWORD replyLength, int* err = nullptr);

    int ProgressTotal() const { return progressTotal_; }
    int ProgressCount() const { return progressCount_; }

private:
    // Sends a six-character command and checks the reply's length and letter (after upper-casing
    // unless keepCase). reply receives the six characters and a zero.
    BOOL Command(const char* command, char letter, char* reply, int* err, bool keepCase = false);
    BOOL SetAddress(unsigned address, int* err);
    BOOL ReadWord(unsigned address, std::uint16_t* word, int* err);
    BOOL WriteWord(unsigned address, std::uint16_t word, int* err);
    BOOL ReadWordRange(T310TransferBlock* block, std::size_t offset, unsigned first, unsigned last, int* err);
    BOOL WriteWordRange(const T310TransferBlock* block, std::size_t offset, unsigned first, unsigned last,
                        int* err);
    BOOL ReadSlot(T310TransferBlock* block, int slot, int* err);
    BOOL WriteSlot(const T310TransferBlock* block, int slot, int* err);
    BOOL CommitAndWait(int* err);
    void StartProgress(int total);
    void PostProgress();

    MessageSink* sink_ = nullptr;
    UsbSerialPortFinder finder_;
    std::string deviceDir_;
    HWND notifyWindow_;
    UINT notifyMessage_ = 0;
    int progressTotal_ = 0;
    int progressCount_ = 0;
};
