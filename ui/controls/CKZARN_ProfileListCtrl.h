// The profile list of the profile page and the profile chooser: a report-style list without a header.
// Numbered lists show one row per profile slot of the meter ("No.01:" in a grey number column, the
// profile name beside it, an empty name being an empty slot). The list carries its own drag and drop
// (press, move and release, with a floating picture of the dragged row over the owner window, which
// hears of a drop through WM_ZARN_PROFILE_DROPPED) and in-place editing of a row's name.
#pragma once

#include "platform/WinTypes.h"

#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QTreeWidget>

#include <optional>
#include <string>
#include <vector>

class CNoContextEdit;
class QLabel;

// Sent (called directly) to the drag owner after a drop onto a row: wParam the dragging list, lParam
// the target list.
constexpr UINT WM_ZARN_PROFILE_DROPPED = WM_USER + 0x69;

class CKZARN_ProfileListCtrl : public QTreeWidget {
    Q_OBJECT
public:
    explicit CKZARN_ProfileListCtrl(QWidget* parent = nullptr);
    ~CKZARN_ProfileListCtrl() override;

    // Colour of the number column (0x00BBGGRR).
    COLORREF columnColour = RGB(220, 220, 220);
    // The edit of a running label edit (null otherwise).
    QPointer<CNoContextEdit> labelEditor;
    int editingItem = -1;
    int numbered = 0;
    std::string emptySlotText;
    int dragEnabled = 0;
    // 1 only for the PC list: CAMERA_DEFAULT is marked and the name column keeps a 10-pixel margin.
    int pcList = 0;
    int dragging = 0;
    int dragItem = -1;
    int dropItem = -1;
    QPointer<QWidget> dropWindow;
    QPointer<QWidget> dragOwner;
    QPoint lastDragPoint;
    QRect numberColumnRect;

    void EnableDrag(int flag) { dragEnabled = flag; }
    void SetSlotNumbering(int isNumbered, const std::string& emptyText);
    BOOL IsEditingLabel() const { return editingItem != -1 ? TRUE : FALSE; }
    void DeselectAll();
    void ClearSelectedTexts();
    void AutoSizeColumns();
    // Starts a drag of the item from point (list client coordinates) over the owner; nothing when
    // dragging is disabled, the item is -1 or no picture can be made of it.
    void BeginDrag(int item, QPoint point, QWidget* owner);
    // The picture of one row; null when more than one row is selected, the row does not exist or its
    // text is empty.
    QPixmap MakeDragImage(int item) const;
    // The floating picture while a drag runs (null otherwise).
    QLabel* DragPicture() const { return dragPicture_; }

    // Rows: the name of each (the text after the number column in numbered lists).
    int GetItemCount() const { return topLevelItemCount(); }
    std::string GetItemText(int item) const;
    void SetItemText(int item, const std::string& text);
    void InsertItem(int item, const std::string& text);
    void DeleteAllItems() { clear(); }
    // Selected rows in ascending order.
    std::vector<int> GetSelectedItems() const;
    int GetNextSelectedItem(int after) const;
    void SelectItem(int item, bool select, bool focus);
    // The name column (1 in numbered lists, else 0).
    int NameColumn() const { return numbered ? 1 : 0; }
    // Starts the in-place edit of a row's name.
    void EditLabel(int item);
    // The drop part of a drag at a global point: ends the drag and reports a drop onto a row. Mouse
    // release while dragging runs it; tests call it directly.
    void EndDragAt(QPoint globalPoint);

signals:
    // The user started dragging a row (LVN_BEGINDRAG): the owner answers with BeginDrag.
    void beginDragRequested(int item, QPoint point);
    // A label edit ended: no value when it was cancelled, else the typed text.
    void labelEditEnded(int item, std::optional<std::string> text);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    void closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint) override;
    // The window under a global point (tests may steer it).
    virtual QWidget* WindowFromPoint(QPoint globalPoint) const;

private:
    class Delegate;
    void EndDrag();

    QLabel* dragPicture_ = nullptr;
    QPoint pressPoint_;
    int pressItem_ = -1;
    QPoint hotSpot_;
    mutable int lowestRowBottom_ = 0;
};
