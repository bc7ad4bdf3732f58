// The owner-drawn report list that shows a profile's data table: six columns (ISO, then five EV
// values), rows banded every third, an optional icon in marked rows, and in-place editing of one value
// cell at a time. It decides nothing about values: every finished edit is offered to the parent
// window, which accepts or refuses it.
//
// Editing needs the label-editing style (SetEditLabels); without it the grid only displays. An edit
// starts only from F2 or a double click; any other start is cancelled.
#pragma once

#include "platform/WinTypes.h"
#include "ui/controls/CCustomEdit.h"

#include <QPixmap>
#include <QTableWidget>

#include <string>

class QStyleOptionViewItem;

// To the parent, sent: an in-place edit ended with a non-empty text (wParam row, lParam column 1..5);
// the parent answers 1 to accept.
constexpr UINT WM_ZARN_GRID_EDITED = WM_USER + 1;
// To the parent, sent: editing was asked for on the ISO cell (wParam row, lParam 0).
constexpr UINT WM_ZARN_GRID_ROW_ACTIVATED = WM_USER + 2;

class CKZARN_DataListCtrl : public QTableWidget {
    Q_OBJECT
public:
    static constexpr int kRowCount = 67;
    static constexpr int kColumnCount = 6;
    static constexpr COLORREF kBandColour = 0xE8E8E8;

    explicit CKZARN_DataListCtrl(QWidget* parent = nullptr);
    ~CKZARN_DataListCtrl() override;

    // The label-editing style: turns every editing gesture on.
    void SetEditLabels(BOOL on) { m_bEditLabels = on; }
    BOOL HasEditLabels() const { return m_bEditLabels; }

    // Rows 0..66 only; other rows are ignored.
    void SetRowMark(int row, int value);
    int GetRowMark(int row) const { return row >= 0 && row < kRowCount ? m_nRowMarks[row] : 0; }
    void SetMarkIcon(const QPixmap& icon, int width, int height);
    // The typed text while the parent is asked about it; empty otherwise.
    const std::string& GetEditedText() const { return m_strEditedText; }

    // The text of a cell (the list's own storage).
    std::string GetItemText(int row, int column) const;
    void SetItemText(int row, int column, const std::string& text);

    // Owner draw of one cell's part of its row.
    void DrawItem(QPainter& painter, const QStyleOptionViewItem& option, int row, int column);

    // Starts a label edit on the row (the platform's LVM_EDITLABEL); true when an editor opened.
    bool EditLabel(int row);
    // LVN_BEGINLABELEDIT: true allows the edit.
    bool OnBeginLabelEdit(int row);
    // LVN_ENDLABELEDIT: text empty when the edit was cancelled.
    void OnEndLabelEdit(int row, const std::string& text);
    // Key down, after the default handling and only with the editing style: F2 asks for an edit of
    // the first selected row, Left and Right move the current column within 1..5.
    void OnKeyDown(QKeyEvent* event);
    bool IsEditing() const { return m_nEditRow >= 0; }
    CCustomEdit& Editor() { return m_edit; }

    int m_nCurColumn = -1;
    int m_bEditRequested = 0;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    LRESULT SendToParent(UINT message, WPARAM wParam, LPARAM lParam);
    void InvalidateRow(int row);
    int FirstSelectedRow() const;
    void FinishEdit(bool cancelled);

    CCustomEdit m_edit;
    QPixmap m_markIcon;
    int m_nIconWidth = 0;
    int m_nIconHeight = 0;
    int m_nRowMarks[kRowCount] = {};
    std::string m_strEditedText;
    BOOL m_bEditLabels = FALSE;
    int m_nEditRow = -1;
};
