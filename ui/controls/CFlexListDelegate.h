// Draws the property list's rows: stripes on odd rows, the selection colours with and without the
// focus, grey text for disabled items that ask for it, the caption indented by level with the
// group icon in front of it, and the value 5 pixels in from its cell's left edge.
#pragma once

#include <QStyledItemDelegate>

class CFlexListCtrl;

class CFlexListDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit CFlexListDelegate(CFlexListCtrl* list);
    ~CFlexListDelegate() override;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    // The text and background colours of a row, as the row is drawn.
    struct Colours {
        QColor text;
        QColor background;
    };
    Colours RowColours(int row, bool selected) const;
    // Draws one cell of a row: its part of the row's background and its text.
    void DrawItem(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const;

private:
    CFlexListCtrl* list_;
};
