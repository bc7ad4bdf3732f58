#include "ui/controls/CFlexListDelegate.h"

#include "ui/controls/CFlexItem.h"
#include "ui/controls/CFlexListCtrl.h"
#include "ui/controls/CFlexListRows.h"

#include <QPainter>

CFlexListDelegate::CFlexListDelegate(CFlexListCtrl* list) : QStyledItemDelegate(list), list_(list) {}
CFlexListDelegate::~CFlexListDelegate() = default;

CFlexListDelegate::Colours CFlexListDelegate::RowColours(int row, bool selected) const
{
    const QPalette& palette = list_->palette();
    Colours colours{palette.color(QPalette::Active, QPalette::Text), palette.color(QPalette::Active, QPalette::Base)};
    if (selected) {
        if (list_->hasFocus()) {
            colours = {palette.color(QPalette::Active, QPalette::HighlightedText),
                       palette.color(QPalette::Active, QPalette::Highlight)};
        } else {
            // The list always shows its selection: window text on the button face without focus.
            colours = {palette.color(QPalette::Active, QPalette::WindowText),
                       palette.color(QPalette::Active, QPalette::Button)};
        }
    } else if (row % 2 == 1) {
        colours.background = list_->StripeColour();
    }
    const CFlexItem* item = list_->Rows()->Item(row);
    if (item != nullptr && item->enabled == 0 && item->greyWhenDisabled == 1) {
        colours.text = palette.color(QPalette::Disabled, QPalette::Text);
    }
    return colours;
}

void CFlexListDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    // The list draws its own rows.
    list_->DrawItem(painter, option, index);
}

void CFlexListDelegate::DrawItem(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int row = index.row();
    const bool selected = (option.state & QStyle::State_Selected) != 0;
    const Colours colours = RowColours(row, selected);
    painter->save();
    painter->fillRect(option.rect, colours.background);
    painter->setPen(colours.text);
    painter->setFont(option.font);

    QRect textRect = option.rect;
    if (index.column() == 0) {
        const int indent = list_->Rows()->Indent(row) * CFlexListCtrl::kLevelIndent;
        const CFlexItem* item = list_->Rows()->Item(row);
        if (item != nullptr && item->hasChildren == 1) {
            const QRect icon = CFlexListCtrl::IconRect(option.rect, indent / CFlexListCtrl::kLevelIndent);
            const QIcon& picture = item->expanded != 0 ? list_->ExpandedIcon() : list_->CollapsedIcon();
            picture.paint(painter, icon);
        }
        textRect.setLeft(option.rect.left() + indent + CFlexListCtrl::kLevelIndent);
    } else {
        textRect.setLeft(option.rect.left() + 5);
    }
    if (textRect.width() > 0) {
        const QString text = index.data(Qt::DisplayRole).toString();
        // One line, vertically centred, "&" drawn as it stands.
        painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                          text);
    }
    painter->restore();
}

QSize CFlexListDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    size.setHeight(list_->MeasureItem());
    return size;
}
