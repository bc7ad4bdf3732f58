// Helpers shared by every window of the main program: folders, profile names and files, error texts,
// dialog layout tables, value tables and combo-box helpers. All static; the class holds no data.
#pragma once

#include "core/ComboTextItem.h"
#include "core/ControlHost.h"
#include "core/DialogLayoutItem.h"
#include "platform/RegistryTypes.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class QAbstractItemView;
class QComboBox;
class QIcon;
class QString;
class QWidget;

// The folder kinds of GetFolderPath: 0 and 7 the user data folder, 2 its "Profile" and 4 its "Backup"
// folder (no trailing separator, created on demand); 1, 3, 5, 6 and 8 the program folder with a
// trailing separator.
using FolderKind = int;

class CKZARN_Common {
public:
    virtual ~CKZARN_Common() = default;

    static constexpr const char* kDefaultProfileName = "CAMERA_DEFAULT";
    static constexpr int kPlaceholderTextId = 132;
    static constexpr int kCannotLoadProfileTextId = 10015;

    // Folders, profile names and files.
    static std::string GetFolderPath(FolderKind kind);
    static BOOL IsDefaultProfileName(const std::string& name);
    static BOOL IsProfileNameLengthValid(const std::string& name);
    static BOOL IsAsciiText(const std::string& text);
    static BOOL HasInvalidFileNameChar(const std::string& name);
    static BOOL IsValidProfileName(const std::string& name);
    // The profile's file: an existing file whose name differs only in letter case is that file.
    static std::string GetProfilePath(const std::string& name);
    // TRUE when a profile of the name exists, in any letter case.
    static BOOL ProfileFileExists(const std::string& name);
    // TRUE when a profile file of the name exists, in any letter case, other than ownName's own file:
    // the test of every rename (ownName empty: any file of the name).
    static BOOL IsProfileNameTaken(const std::string& name, const std::string& ownName);
    // The "cannot be loaded" message naming the profile or file: the name, a line break, text 10015.
    static std::string CannotLoadProfileText(const std::string& name);
    static BOOL CanLoadProfile(const std::string& name);
    static int ReadProfileVersion(const std::string& path, short* version, short* subVersion);
    static void ListProfileNames(std::vector<std::string>* names, int includeDefault, int versionFilter,
                                 int subVersionFilter);
    // Rewrites the file in another format version through the library's atomic save: the old file
    // stays intact when the save fails. -10000 for an unsupported version.
    static int ConvertProfileVersion(const std::string& path, short version, short subVersion);
    static std::string GetErrorMessage(unsigned code);

    // Dialog layout. The table ends at its row of id 0, or at the end of the span, whichever comes
    // first, so a table without its end row is never read beyond its last row.
    static int ApplyDialogLayout(ControlHost* dialog, std::span<const DialogLayoutItem> table, BOOL unused);

    // Combo boxes; item data is an int.
    static void FillComboFromTable(QComboBox* combo, std::span<const ComboTextItem> rows);
    static int GetComboItemData(QComboBox* combo, int index);
    static int FindComboIndexByData(QComboBox* combo, int value);
    static void SelectComboItemByData(QComboBox* combo, int value);

    // Value tables.
    static std::span<const int> IsoTable();
    static std::span<const int> ShutterTimeTable();
    static std::span<const int> FrameRateTable();
    static std::span<const int> ShutterAngleTable();
    static std::span<const int> ApertureTable();
    static std::span<const int> DigitTable();
    static BOOL IsValidIsoCode(int code);
    static BOOL IsValidShutterTimeCode(int code);
    static BOOL IsValidFrameRateCode(int code);
    static BOOL IsValidShutterAngleCode(int code);
    static BOOL IsValidApertureCode(int code);
    static BOOL IsValidDigitCode(int code);
    static std::string IsoToText(int code);
    static std::string ShutterTimeToText(int code);
    static std::string FrameRateToText(int code);
    static std::string ShutterAngleToText(int code);
    static std::string ApertureToText(int code);
    static std::string GetDigitText(int value);
    static BOOL IsPlaceholderText(const std::string& text);
    static void FillIsoCombo(QComboBox* combo);
    static void FillShutterTimeCombo(QComboBox* combo);
    static void FillFrameRateCombo(QComboBox* combo);
    static void FillShutterAngleCombo(QComboBox* combo);
    static void FillApertureCombo(QComboBox* combo);
    static void FillDigitCombo(QComboBox* combo);
    // The ISO values with images: imageIndex (67 entries, like the ISO table) picks an icon of images
    // for each row; -1 or an index outside images gives none. No array gives no images.
    static void FillIsoComboEx(QComboBox* combo, const int* imageIndex, const std::vector<QIcon>& images);
    static void FillProfileCombo(QComboBox* combo, int includeDefault, int versionFilter, int subVersionFilter);

    // Small helpers.
    static int GetSelectedListItem(QAbstractItemView* list);
    static COLORREF GetGraphLineColor(int line);
    // Writes the strings NUL-separated with a final extra NUL when the buffer holds them all; returns
    // the length needed (with the final NUL). A null or short buffer is left untouched.
    static int JoinToMultiString(char* buffer, std::size_t bufferSize, const std::vector<std::string>& strings);
    static std::string RegReadString(HKEY root, const std::string& subKey, const std::string& valueName);
    static DWORD RegReadDword(HKEY root, const std::string& subKey, const std::string& valueName);

    // A text of the ANSI code page as a widget text.
    static QString ToWidgetText(const std::string& text);
};
