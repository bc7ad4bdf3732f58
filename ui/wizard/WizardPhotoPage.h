// What the wizard's step machine needs of its photograph page (the thumbnail strip with the
// photograph and corner views): filling it, reading and writing its photograph records.
#pragma once

#include "platform/WinTypes.h"

#include <string>
#include <vector>

class ExifInputValues;

class WizardPhotoPage {
public:
    virtual ~WizardPhotoPage() = default;
    virtual void ClearPhotos() = 0;
    virtual void LoadFolder(const std::string& folder) = 0;
    virtual void SetPhotoList(const std::vector<std::string>& paths) = 0;
    // The paths of the checked photographs (flag 1) or of all of them (flag 0), in strip order.
    virtual void GetCheckedPaths(std::vector<std::string>* paths, int checkedOnly) = 0;
    virtual void GetAllPaths(std::vector<std::string>* paths, int checkedOnly) = 0;
    // Copies the strip's record of the path; FALSE when the strip holds none.
    virtual BOOL GetRecordByPath(const std::string& path, ExifInputValues* record) = 0;
    // Writes a record back; takeCorners = 1 first takes the corners marked in the corner view.
    virtual BOOL UpdateRecord(const std::string& path, ExifInputValues* record, int takeCorners) = 0;
    // TRUE when the photograph's corners are confirmed.
    virtual BOOL IsMarked(const std::string& path) = 0;
    virtual void ApplyBrightness(int level, int redraw) = 0;
    // Marks refused photographs as the ones to replace: unchecked, the first of them selected.
    virtual void MarkRefused(const std::vector<std::string>& paths) = 0;
};
