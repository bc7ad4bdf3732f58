// The two-column property list of the setting pages: column 0 the caption of each setting, indented
// by its level and numbered on level 0, column 1 its value. It owns its items (CFlexItemList), the
// in-place CCustomEdit and combo box, and draws every row itself through its delegate. It knows
// nothing of meters: the hosting page adds the items, and hears by WM_FLEX_BEGINEDIT and
// WM_FLEX_ENDEDIT (sent to the parent window) when an edit begins and when a value was committed.
// There is no way to cancel an edit: every way of leaving it commits what the editor holds.
#pragma once

#include "ui/controls/CFlexItemList.h"

#include <QColor>
#include <QIcon>
#include <QTableView>

class CCustomEdit;
class CFlexItem;
class CFlexListDelegate;
class CFlexListRows;
class QComboBox;

class CFlexListCtrl : public QTableView {
    Q_OBJECT
public:
    static constexpr int kLevelIndent = 16;
    static constexpr int kEditId = 1001;
    static constexpr int kComboId = 1002;
    static constexpr int kCollapsedIconId = 201;
    static constexpr int kExpandedIconId = 202;
    static constexpr int kCaptionWidth = 200;

    explicit CFlexListCtrl(QWidget* parent = nullptr);
    ~CFlexListCtrl() override;

    // Once, after the page has placed the list: row height, editors, the two columns and the icons.
    void Initialize();
    CFlexItemList& GetItemList() { return items_; }
    // Brings the rows in line with the item model and rewrites every row's texts.
    void RebuildRows();
    // Ends a running edit without telling the parent, then destroys every item. The rows stay
    // until the next RebuildRows.
    void ClearItems();
    // Starts editing the item in the value cell of the row; 1 when the item accepted.
    int BeginEdit(CFlexItem* item, const QRect& cell, int row);
    // Commits a running edit: the item takes the editor's value, the cell is redrawn, the parent
    // hears WM_FLEX_ENDEDIT; then no edit runs and the list has the focus.
    void CommitEdit();
    // The row height: the font's pixel height and 8.
    int MeasureItem() const;
    // Column 1 takes what column 0 leaves of the client width.
    void FitValueColumn();

    // Draws one cell of a row as the list shows it (the row's part of the background, icon, text).
    void DrawItem(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

    // The rectangle of a group's icon in a row whose column 0 starts at rowRect's left.
    static QRect IconRect(const QRect& rowRect, int level);

    int GetEditRow() const { return editRow; }
    CFlexItem* GetEditItem() const { return editItem; }
    CCustomEdit* GetEdit() const { return edit_; }
    QComboBox* GetCombo() const { return combo_; }
    CFlexListRows* Rows() const { return rows_; }
    QColor StripeColour() const { return stripeColour; }
    const QIcon& CollapsedIcon() const { return collapsedIcon_; }
    const QIcon& ExpandedIcon() const { return expandedIcon_; }

    // The list's own handling of mouse, keys and key presses in its editors; the Qt event handlers
    // below pass their events here.
    void OnLButtonDown(QMouseEvent* event);
    void OnLButtonDblClk(QMouseEvent* event);
    void OnKeyDown(QKeyEvent* event);
    // Esc as a system key (with Alt held) commits a running edit.
    void OnSysKeyDown(QKeyEvent* event);
    // The header's divider was dragged or double-clicked: a running edit is committed and column 1
    // refitted, so that it always fills the client width.
    void OnNotify(int section);
    // Enter or Esc in either editor commits the edit; true when the key was used up.
    bool PreTranslateMessage(QObject* editor, QKeyEvent* event);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static QIcon LoadTreeIcon(int resourceId);
    void SendToParent(unsigned message, int row, CFlexItem* item);
    void ToggleGroup(int row);
    QRect ValueCellRect(int row) const;

    QColor stripeColour;
    QIcon collapsedIcon_;
    QIcon expandedIcon_;
    int editRow = -1;
    CFlexItemList items_;
    CCustomEdit* edit_;
    QComboBox* combo_;
    CFlexItem* editItem = nullptr;
    CFlexListRows* rows_;
    CFlexListDelegate* delegate_;
    bool fitting_ = false;
};
