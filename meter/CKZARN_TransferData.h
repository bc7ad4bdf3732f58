// The PC-side table of one meter's profile memory: a header text and ten slots, each a name and one
// row per ISO speed of four groups of five EV values. Converts to and from the profile part of each
// family's transfer block and to and from the CSV backup file. A table belongs to the thread that
// made it and has no lock.
//
// The meter stores every value as a signed byte in tenths of an EV, -128 meaning no value. Values
// beyond what a byte can hold are stored at the nearest limit (+-12.7 EV) rather than wrapping round.
#pragma once

#include "meter/IsoTable.h"
#include "meter/MeterFamily.h"
#include "meter/ProfileSlot.h"
#include "meter/T140TransferBlock.h"
#include "meter/T310TransferBlock.h"
#include "meter/T520TransferBlock.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <iosfwd>
#include <string>

class CKZARN_TransferData {
public:
    static constexpr int kSlots = 10;
    static constexpr int kNameSize = 32;

    // Every value without value, names and header empty, family 0; slots 0 to 2, rows 35 to 66 hold
    // the default limits {0, -3.5, -2.5, +2.5, +3.5}.
    CKZARN_TransferData();
    virtual ~CKZARN_TransferData() = default;

    static int GetProfileCount(int family);
    static int GetRowCount(int family);

    int GetFamily() const { return family_; }
    void SetFamily(int family) { family_ = family; }

    // Slot index 1 to 9; any other index gives slot 0's name. Up to the first NUL, at most 32 bytes.
    std::string GetProfileName(int index) const;
    // The 67 rows of slot index 0 to 9, else null.
    ProfileRow* GetProfileRows(int index);
    const ProfileRow* GetProfileRows(int index) const;
    std::string GetHeaderText() const;
    // Zeroes the 32 bytes and copies in the text, cut to 31 bytes without splitting a character.
    void SetHeaderText(const std::string& text);
    // Sets a slot's name as SetHeaderText sets the header; FALSE for an index outside 0 to 9.
    BOOL SetProfileName(int index, const std::string& name);

    int ReadT310Image(const T310TransferBlock* block);
    int ReadT140Image(const T140TransferBlock* block);
    int ReadT520Image(const T520TransferBlock* block);
    int WriteT310Image(T310TransferBlock* block) const;
    int WriteT140Image(T140TransferBlock* block) const;
    int WriteT520Image(T520TransferBlock* block) const;

    // Fills one slot from the stored profile of that name (in the user's profile folder).
    int BuildFromResultFile(const std::string& name, int slot);
    // The same from a profile file at path; the slot is named name.
    int BuildFromProfileFile(const std::string& path, const std::string& name, int slot);

    // The CSV backup form (texts of the UI text table): the whole table for its family.
    int WriteText(std::ostream& file) const;
    // 1 on success, 0 at the first error (also a line longer than kMaxBackupLineBytes); the family
    // is set as soon as the first line is known.
    int ReadText(std::istream& file);
    // Reads the backup file at path. Backups are small (ten slots of a T-520 make about 80 KB): a
    // file over kMaxBackupBytes is refused by its size before anything is read, and only regular
    // files are opened.
    static constexpr std::size_t kMaxBackupBytes = 1024 * 1024;
    static constexpr std::size_t kMaxBackupLineBytes = 4096;
    enum class FileRead { Read, CannotOpen, NotABackup };
    FileRead ReadTextFile(const std::string& path);
    BOOL ParseRow(const std::string& line, ProfileRow* row) const;
    static BOOL ParseValue(const std::string& text, double* value);

    // The meter's byte codes, exposed for the encoders' users and tests.
    static std::int8_t EncodeTenths(double value);
    static double DecodeTenths(std::int8_t byte);
    static std::int8_t EncodeDifference(double a, double b);
    // Writes a text of at most 31 bytes (cut at a character boundary) with its NUL into 32 bytes.
    static void CopyName(char* destination, const std::string& text);

private:
    template <typename Block>
    void ReadHidImage(const Block& block, int rows);
    template <typename Block>
    void WriteHidImage(Block& block, int rows) const;

    char header_[kNameSize];
    ProfileSlot slots_[kSlots];
    int family_ = MeterFamilyT310;
};
