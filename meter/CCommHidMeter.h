// The command set shared by the HID meters (T-520D and the T-140 family): "G" queries for identity
// and state, and "W" register commands that select a memory area and an item, entry or profile slot
// in it, read or write its fields and text units, then commit the area and poll until the meter has
// saved it. CCommT520 and CCommT140 add what differs per family. Every operation stops at the first
// command whose exchange or reply check fails; nothing is retried except the busy and completion
// polls. Used by the meter worker thread only.
#pragma once

#include "meter/CCommSyncHidBase.h"
#include "platform/MessageSink.h"
#include "platform/WinTypes.h"
#include "platform/WindowHandle.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Where a family keeps its parts in its transfer block, and how its command set differs.
struct HidMeterFamily {
    std::uint16_t productId = 0;
    std::size_t list10 = 0;
    std::size_t list11 = 0;
    std::size_t list12 = 0;
    std::size_t profiles = 0;
    int rows = 0;               // profile rows transferred per group
    unsigned maxValue = 0;      // custom-function and list values above this fail a read
    bool list10Field12Bit = false;
    int itemCount = 0;          // entries of the custom-item table that may be selected
};

// One custom-function item: its three-digit code and its byte in the transfer block.
struct HidCustomItem {
    unsigned code;
    std::size_t byte;
};

class CCommHidMeter : public CCommSyncHidBase {
public:
    static constexpr std::uint16_t kVendorId = 0x1F3C;
    static constexpr int kNoDevice = 20;
    // A meter that keeps answering "saving" is given up after this long.
    static constexpr std::uint32_t kCommitDeadlineMs = 30000;

    CCommHidMeter(HidDeviceSystem& system, const HidMeterFamily& family);

    // Clears the progress target and counters, then closes the device.
    BOOL Close(int* err = nullptr) override;

    // TRUE when a meter of the family is attached; *moreThanOne TRUE when several are.
    virtual BOOL IsDevicePresent(BOOL* moreThanOne);
    // Finds the family's meter and opens it; error 20 when none is attached.
    virtual BOOL OpenDevice(int* err = nullptr);
    // HID meters need no set-up.
    virtual BOOL PrepareDevice(int* err = nullptr);
    // Always TRUE (FALSE for a null path): path gets the last matching interface or stays empty.
    BOOL FindHidDevice(std::string* path, BOOL* moreThanOne);

    virtual int GetState(int* err = nullptr);
    virtual int GetModelCode(int* err = nullptr) = 0;
    virtual BOOL GetDateString(std::string* text, int* err = nullptr);
    virtual BOOL GetModelName(std::string* text, int* err = nullptr);
    virtual BOOL GetRevision(std::string* text, int* err = nullptr);
    virtual int GetStatus(int* err = nullptr) = 0;
    virtual BOOL GetVersionA(std::string* text, int* err = nullptr);
    virtual BOOL GetVersionB(std::string* text, int* err = nullptr);
    virtual BOOL ResetMeter(int* err = nullptr);

    // Where progress messages go: message posted with wParam = steps so far, lParam = total.
    virtual void SetNotifyWindow(HWND window, UINT message);
    // The sink that carries the progress messages (set once by the owner of the link).
    void SetMessageSink(MessageSink* sink) { sink_ = sink; }
    int ProgressTotal() const { return progressTotal_; }
    int ProgressCount() const { return progressCount_; }

    // Selections (public for the firmware and settings layers that reuse them).
    BOOL SelectArea(int index, int* err = nullptr);
    BOOL SelectCustomItem(int index, int* err = nullptr);
    BOOL SelectListEntry(int list, int entry, int* err = nullptr);

protected:
    // One command: exchange, exactly seven report bytes, upper case (unless raw), matching letter.
    // reply must hold 8 bytes.
    BOOL Command(const char* command, char* reply, int* err, bool upperCase = true);
    BOOL CommandLetter(const char* command, int* err);
    BOOL CommandEcho(const char* command, int width, unsigned value, int* err);
    BOOL CommandRead(const char* command, int width, unsigned* value, int* err);
    // A query's two-digit field, or -1 when the exchange or its check failed.
    int QueryField2(const char* query, int* err);

    BOOL SelectAreaCode(unsigned code, int* err);
    BOOL SelectCustomCode(unsigned code, int* err);
    BOOL ReadTextUnits(std::uint8_t* destination, int* err);
    BOOL WriteTextUnits(const std::uint8_t* source, int* err);
    BOOL WriteHeaderText(const std::uint8_t* block);
    // Commit, then poll while the meter is saving; TRUE when it ends with status 2. With
    // stepPerPoll every poll posts a step and the last step is total of total.
    BOOL CommitAndComplete(int* err, bool stepPerPoll = false);

    BOOL ReadCustomItems(std::uint8_t* block, const HidCustomItem* items, std::size_t count, int* err);
    BOOL WriteCustomItems(const std::uint8_t* block, const HidCustomItem* items, std::size_t count, int* err);
    BOOL ReadSettingTablesOf(std::uint8_t* block, int* err);
    BOOL WriteSettingTablesOf(const std::uint8_t* block, int* err);
    BOOL ReadProfileNamesOf(std::uint8_t* block, int* err);
    BOOL ReadAllProfilesOf(std::uint8_t* block, int* err);
    BOOL WriteProfilesOf(const std::uint8_t* block, unsigned mask, int* err);
    BOOL ReadProfileSlot(std::uint8_t* block, int slot, int* err);
    BOOL WriteProfileSlot(const std::uint8_t* block, int slot, int* err);

    // The model name for a model code ("---" for an unknown one).
    virtual std::string ModelNameOf(int code) const = 0;

    void BeginProgress(int total);
    void PostProgress();
    // Counts `steps` steps at once with one post: a text that ends before its 16 units still
    // advances the count by 16, so that every operation's total is known before it starts.
    void SkipProgress(int steps);

    // Steps of one text (up to 16 units, one step each).
    static constexpr int kTextSteps = 16;
    // Steps of one profile slot: its name and one per row of each of the four groups.
    int SlotSteps() const { return kTextSteps + 4 * family_.rows; }

    const HidMeterFamily& Family() const { return family_; }

private:
    BOOL VersionText(const char* first, const char* second, bool emptyMinor, std::string* text, int* err);

    HidMeterFamily family_;
    MessageSink* sink_ = nullptr;
    HWND notifyWindow_;
    UINT notifyMessage_ = 0;
    int progressTotal_ = 0;
    int progressCount_ = 0;
};
