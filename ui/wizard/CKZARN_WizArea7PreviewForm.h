// The photographs page of steps 3 and 4: the large photograph view above the thumbnail strip. It
// decides which selections and check marks the strip may make, asks for exposure values the Exif
// data lacks, shows the selected photograph with its brightness and corners, and tells the wizard.
#pragma once

#include "platform/WindowHandle.h"
#include "platform/qt/WindowMessageHandler.h"
#include "ui/wizard/CKZARN_WizAreaBaseForm.h"
#include "ui/wizard/WizardPhotoPage.h"

#include <memory>

class CKZARN_ImageWnd;
class CKZARN_ThumbnailWnd;
class ZarnLib_Image;

class CKZARN_WizArea7PreviewForm : public CKZARN_WizAreaBaseForm, public WizardPhotoPage, public WindowMessageHandler {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 140;
    static constexpr int kViewId = 1144;
    static constexpr int kStripId = 1102;

    explicit CKZARN_WizArea7PreviewForm(QWidget* parent = nullptr);
    ~CKZARN_WizArea7PreviewForm() override;

    void Refresh() override;

    void ClearPhotos() override;
    void LoadFolder(const std::string& folder) override;
    void SetPhotoList(const std::vector<std::string>& paths) override;
    void GetCheckedPaths(std::vector<std::string>* paths, int checkedOnly) override;
    void GetAllPaths(std::vector<std::string>* paths, int checkedOnly) override;
    BOOL GetRecordByPath(const std::string& path, ExifInputValues* record) override;
    BOOL UpdateRecord(const std::string& path, ExifInputValues* record, int takeCorners) override;
    BOOL IsMarked(const std::string& path) override;
    void ApplyBrightness(int level, int redraw) override;
    void MarkRefused(const std::vector<std::string>& paths) override;

    // Loads the photograph into the view; false when it cannot be decoded (the view is emptied).
    bool ShowImage(const std::string& path, const ExifInputValues& record);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnThumbSelect(ExifInputValues* record, LPARAM modifiers);
    LRESULT OnThumbCheck(ExifInputValues* record, LPARAM previous);
    LRESULT OnImageLButtonDown(WPARAM /*info*/, LPARAM /*marker*/) { return 0; }

    CKZARN_ThumbnailWnd* Strip() const { return strip_; }
    CKZARN_ImageWnd* View() const { return view_; }
    // The chart kind of the image library for the chosen chart.
    int ChartKind() const;

protected:
    BOOL OnInitDialog() override;

private:
    int Step() const;
    void StoreCurrentBrightness();
    int Warn(int textId);

    CKZARN_ThumbnailWnd* strip_;
    CKZARN_ImageWnd* view_;
    std::unique_ptr<ZarnLib_Image> source_;
    std::unique_ptr<ZarnLib_Image> display_;
    HWND handle_ = nullptr;
};
