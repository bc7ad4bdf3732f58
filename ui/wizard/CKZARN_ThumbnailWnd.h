// The wizard's horizontal strip of photograph thumbnails. It owns one ExifInputValues record per
// photograph, which its ThumbnailLoader thread fills in as it decodes; selection and check changes
// are offered to the parent window (WM_ZARN_THUMB_SELECT, WM_ZARN_THUMB_CHECK, sent), which may
// refuse them. Corner mode (1) shows the chosen photographs with their corners-confirmed mark and
// no check boxes; mode 0 shows a folder with check boxes.
#pragma once

#include "platform/WinTypes.h"
#include "platform/qt/WindowMessageHandler.h"
#include "ui/wizard/ThumbnailLoader.h"

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

class ExifInputValues;
class QScrollBar;

inline constexpr UINT WM_ZARN_THUMB_SELECT = WM_APP + 1001;
inline constexpr UINT WM_ZARN_THUMB_CHECK = WM_APP + 1002;

class CKZARN_ThumbnailWnd : public QWidget, public WindowMessageHandler {
public:
    static constexpr int kScrollBarId = 1001;

    explicit CKZARN_ThumbnailWnd(QWidget* parent = nullptr);
    ~CKZARN_ThumbnailWnd() override;

    BOOL Create(DWORD style, const RECT& rect, QWidget* parent, UINT id);
    void ResetLayout(int cornerMode);
    void SetCornerMode(int cornerMode) { cornerMode_ = cornerMode; }
    int GetCornerMode() const { return cornerMode_; }

    int LoadFolder(const std::string& folder);
    int SetFiles(const std::vector<std::string>& paths);
    ExifInputValues* AddFile(const std::string& path);
    void Clear();

    int GetAllPaths(std::vector<std::string>* paths);
    int GetCheckedPaths(std::vector<std::string>* paths);
    int GetSelectedRecord(ExifInputValues* record);
    bool GetRecordByPath(const std::string& path, ExifInputValues* record);
    // Paths compare exactly: on this system two names that differ in letter case are two files.
    ExifInputValues* FindRecordByPath(const std::string& path, int* index);
    int IsMarked(const std::string& path);
    ExifInputValues* GetRecordAt(int index);
    int GetCount() const { return static_cast<int>(records_.size()); }
    int GetSelectedIndex() const { return selected_; }

    void UpdateRecord(const std::string& path, const ExifInputValues& record);
    void SetMarked(const std::string& path);
    int ToggleCheck(int index);
    int Select(int index, int notify);
    int SelectByPath(const std::string& path, int notify);
    int EnsureVisible(int index);
    void StopLoading();

    // Geometry of cell i at the current scroll offsets (left, top, right, bottom).
    RECT GetCellRect(int index) const;
    RECT GetCheckBoxRect(int index) const;
    RECT GetImageRect(int index) const;
    RECT GetNameRect(int index) const;
    RECT GetBevelRect(int index) const;
    int HitTest(POINT point, BOOL* inCheckBox) const;
    bool IsCellVisible(int index) const;

    int CellWidth() const { return cellW_; }
    int CellHeight() const { return cellH_; }
    int ScrollX() const { return scrollX_; }
    QScrollBar* ScrollBar() const { return scrollBar_; }
    bool IsScrollBarShown() const { return scrollBarShown_; }

    // The file title shown under a thumbnail: no folder, no extension (empty without a dot).
    static std::string FileTitle(const std::string& path);
    static void DrawBevel(QPainter& painter, const RECT& panel);

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnThumbLoaded(WPARAM wParam, LPARAM lParam);
    // A left-button press at a client point: check box, else selection.
    void OnLButtonDown(POINT point);
    // Every key press is consumed here; TRUE.
    BOOL PreTranslateMessage(QKeyEvent* event);
    void OnPaint();
    BOOL OnEraseBkgnd() { return FALSE; }
    void OnSetFocus() { update(); }
    // Stops the loader and frees the records.
    void OnDestroy();
    // The scroll request of the strip's own scroll bar, with the codes of a horizontal scroll bar.
    void OnHScroll(UINT code, int trackPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void UpdateScrollRange();
    void StartLoader();
    void TellLoaderVisibleCells();
    void DrawFileName(QPainter& painter, const std::string& path, const RECT& band);
    LRESULT SendToParent(UINT message, WPARAM wParam, LPARAM lParam);

    QPixmap checkedPicture_;
    QPixmap uncheckedPicture_;
    QPixmap confirmedPicture_;
    int scrollX_ = 0;
    int scrollY_ = 0;
    int cellW_ = 100;
    int cellH_ = 100;
    int cellsAcross_ = 6;
    int selected_ = -1;
    QImage backBuffer_;
    int cornerMode_ = 0;
    QScrollBar* scrollBar_ = nullptr;
    bool scrollBarShown_ = false;
    ThumbnailLoader::RecordList records_;
    std::unique_ptr<ThumbnailLoader> loader_;
    HWND handle_ = nullptr;
};
