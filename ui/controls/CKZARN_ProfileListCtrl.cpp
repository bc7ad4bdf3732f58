#include "ui/controls/CKZARN_ProfileListCtrl.h"

#include "core/CKZARN_Common.h"
#include "platform/qt/WindowMessageHandler.h"
#include "ui/controls/CNoContextEdit.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include <algorithm>
#include <cstdio>

namespace {

QColor ToColor(COLORREF c)
{
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

constexpr int kNumberColumnWidth = 40;
constexpr int kTextInset = 3;

} // namespace

// Edits a row's name in a CNoContextEdit and leaves the row's text alone: the owner decides what a
// new name does.
class CKZARN_ProfileListCtrl::Delegate final : public QStyledItemDelegate {
public:
    explicit Delegate(CKZARN_ProfileListCtrl* list) : QStyledItemDelegate(list), list_(list) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* edit = new CNoContextEdit(parent);
        edit->setFrame(true);
        list_->labelEditor = edit;
        list_->editingItem = index.row();
        return edit;
    }
    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        auto* edit = static_cast<CNoContextEdit*>(editor);
        edit->setText(index.data(Qt::DisplayRole).toString());
        edit->selectAll();
    }
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

private:
    CKZARN_ProfileListCtrl* list_;
};

CKZARN_ProfileListCtrl::CKZARN_ProfileListCtrl(QWidget* parent) : QTreeWidget(parent)
{
    setHeaderHidden(true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setColumnCount(1);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new Delegate(this));
    header()->setStretchLastSection(false);
}

CKZARN_ProfileListCtrl::~CKZARN_ProfileListCtrl() = default;

void CKZARN_ProfileListCtrl::SetSlotNumbering(int isNumbered, const std::string& emptyText)
{
    numbered = isNumbered;
    emptySlotText = isNumbered == 1 ? emptyText : std::string();
    if (numbered && columnCount() < 2) {
        setColumnCount(2);
    }
    viewport()->update();
}

std::string CKZARN_ProfileListCtrl::GetItemText(int item) const
{
    const QTreeWidgetItem* row = topLevelItem(item);
    return row == nullptr ? std::string() : row->text(NameColumn()).toStdString();
}

void CKZARN_ProfileListCtrl::SetItemText(int item, const std::string& text)
{
    if (QTreeWidgetItem* row = topLevelItem(item)) {
        row->setText(NameColumn(), QString::fromStdString(text));
    }
}

void CKZARN_ProfileListCtrl::InsertItem(int item, const std::string& text)
{
    auto* row = new QTreeWidgetItem;
    row->setText(NameColumn(), QString::fromStdString(text));
    insertTopLevelItem(std::clamp(item, 0, topLevelItemCount()), row);
}

std::vector<int> CKZARN_ProfileListCtrl::GetSelectedItems() const
{
    std::vector<int> rows;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->isSelected()) rows.push_back(i);
    }
    return rows;
}

int CKZARN_ProfileListCtrl::GetNextSelectedItem(int after) const
{
    for (int i = after + 1; i < topLevelItemCount(); ++i) {
        if (topLevelItem(i)->isSelected()) return i;
    }
    return -1;
}

void CKZARN_ProfileListCtrl::SelectItem(int item, bool select, bool focus)
{
    QTreeWidgetItem* row = topLevelItem(item);
    if (row == nullptr) return;
    if (select && selectionMode() == QAbstractItemView::SingleSelection) {
        // A single-selection list holds one selected row at most.
        selectionModel()->select(indexFromItem(row),
                                 QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    } else {
        row->setSelected(select);
    }
    if (focus) {
        selectionModel()->setCurrentIndex(indexFromItem(row), QItemSelectionModel::NoUpdate);
    } else if (currentItem() == row) {
        selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    }
}

void CKZARN_ProfileListCtrl::DeselectAll()
{
    for (int i : GetSelectedItems()) {
        SelectItem(i, false, false);
    }
}

void CKZARN_ProfileListCtrl::ClearSelectedTexts()
{
    for (int i : GetSelectedItems()) {
        SetItemText(i, std::string());
    }
}

void CKZARN_ProfileListCtrl::AutoSizeColumns()
{
    const QFontMetrics metrics(font());
    int widest = 0;
    for (int i = 0; i < topLevelItemCount(); ++i) {
        widest = std::max(widest, metrics.horizontalAdvance(topLevelItem(i)->text(NameColumn())));
    }
    int w = widest + 10;
    const int cw = viewport()->width();
    if (w < cw) {
        w = pcList ? cw - 10 : cw;
    }
    if (numbered) {
        // 40 pixels, or what "No.00:" needs in the list's font when that is wider, so that the
        // slot numbers are never cut.
        const int number = std::max(kNumberColumnWidth, metrics.horizontalAdvance(QStringLiteral("No.00:")) + 2 * kTextInset);
        setColumnWidth(0, number);
        setColumnWidth(1, std::max(0, w - number));
    } else {
        setColumnWidth(0, w);
    }
    numberColumnRect = viewport()->rect();
    numberColumnRect.setRight(numberColumnRect.left() + columnWidth(0) - 1);
    viewport()->update();
}

void CKZARN_ProfileListCtrl::EditLabel(int item)
{
    QTreeWidgetItem* row = topLevelItem(item);
    if (row == nullptr) return;
    row->setFlags(row->flags() | Qt::ItemIsEditable);
    setCurrentItem(row, NameColumn());
    editItem(row, NameColumn());
    row->setFlags(row->flags() & ~Qt::ItemIsEditable);
}

void CKZARN_ProfileListCtrl::closeEditor(QWidget* editor, QAbstractItemDelegate::EndEditHint hint)
{
    const int item = editingItem;
    std::optional<std::string> text;
    if (auto* edit = qobject_cast<CNoContextEdit*>(editor); edit != nullptr && hint != QAbstractItemDelegate::RevertModelCache) {
        text = edit->text().toStdString();
    }
    editingItem = -1;
    labelEditor = nullptr;
    QTreeWidget::closeEditor(editor, hint);
    if (item >= 0) {
        emit labelEditEnded(item, text);
    }
}

QPixmap CKZARN_ProfileListCtrl::MakeDragImage(int item) const
{
    if (GetSelectedItems().size() > 1) return {};
    const QTreeWidgetItem* row = topLevelItem(item);
    if (row == nullptr) return {};
    QRect bounds = visualItemRect(row);
    bounds.setLeft(std::max(bounds.left(), viewport()->rect().left()));
    bounds.setRight(std::min(bounds.right(), viewport()->rect().right()));
    const std::string text = GetItemText(item);
    if (text.empty() || bounds.isEmpty()) return {};
    QPixmap picture(bounds.size());
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QColor(200, 200, 200));
    painter.setBrush(QColor(200, 200, 200));
    painter.drawRoundedRect(QRectF(0, 0, bounds.width() - 1, bounds.height() - 1), 5, 5);
    painter.setPen(Qt::black);
    painter.setFont(parentWidget() != nullptr ? parentWidget()->font() : font());
    painter.drawText(QRect(QPoint(0, 0), bounds.size()), Qt::AlignCenter | Qt::TextSingleLine,
                     QString::fromStdString(text));
    painter.end();
    // White is the picture's transparent colour.
    picture.setMask(picture.createMaskFromColor(Qt::white));
    return picture;
}

void CKZARN_ProfileListCtrl::BeginDrag(int item, QPoint point, QWidget* owner)
{
    if (!dragEnabled) return;
    dragItem = item;
    lastDragPoint = point;
    dragOwner = owner;
    const QPixmap picture = item == -1 ? QPixmap() : MakeDragImage(item);
    if (!picture.isNull() && owner != nullptr) {
        delete dragPicture_;
        dragPicture_ = new QLabel(owner);
        dragPicture_->setAttribute(Qt::WA_TransparentForMouseEvents);
        dragPicture_->setPixmap(picture);
        dragPicture_->resize(picture.size());
        // The hot spot: the press's x in the row and 3 pixels below the picture's top.
        hotSpot_ = QPoint(point.x(), 3);
        dragPicture_->move(owner->mapFromGlobal(viewport()->mapToGlobal(point)) - hotSpot_);
        dragPicture_->show();
        dragPicture_->raise();
        grabMouse();
        dragging = 1;
    }
    dropItem = -1;
    dropWindow = nullptr;
}

void CKZARN_ProfileListCtrl::EndDrag()
{
    releaseMouse();
    dragging = 0;
    delete dragPicture_;
    dragPicture_ = nullptr;
}

QWidget* CKZARN_ProfileListCtrl::WindowFromPoint(QPoint globalPoint) const
{
    return QApplication::widgetAt(globalPoint);
}

void CKZARN_ProfileListCtrl::EndDragAt(QPoint globalPoint)
{
    if (!dragging) return;
    EndDrag();
    QWidget* window = WindowFromPoint(globalPoint);
    dropWindow = window;
    CKZARN_ProfileListCtrl* target = nullptr;
    for (QWidget* w = window; w != nullptr && target == nullptr; w = w->parentWidget()) {
        target = qobject_cast<CKZARN_ProfileListCtrl*>(w);
        if (w->isWindow()) break;
    }
    if (target == nullptr) return;
    const QPoint local = target->viewport()->mapFromGlobal(globalPoint);
    QTreeWidgetItem* row = target->itemAt(local);
    target->dropItem = row == nullptr ? -1 : target->indexOfTopLevelItem(row);
    dropItem = target->dropItem;
    if (dropItem == -1 || (target == this && dropItem == dragItem)) return;
    if (auto* handler = dynamic_cast<WindowMessageHandler*>(dragOwner.data())) {
        handler->WindowProc(WM_ZARN_PROFILE_DROPPED, reinterpret_cast<WPARAM>(this), reinterpret_cast<LPARAM>(target));
    }
}

void CKZARN_ProfileListCtrl::mousePressEvent(QMouseEvent* event)
{
    QTreeWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        pressPoint_ = event->position().toPoint();
        QTreeWidgetItem* row = itemAt(pressPoint_);
        pressItem_ = row == nullptr ? -1 : indexOfTopLevelItem(row);
    }
}

void CKZARN_ProfileListCtrl::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (dragging) {
        lastDragPoint = point;
        if (dragPicture_ != nullptr && dragOwner != nullptr) {
            dragPicture_->move(dragOwner->mapFromGlobal(viewport()->mapToGlobal(point)) - hotSpot_);
        }
        return;
    }
    if ((event->buttons() & Qt::LeftButton) && pressItem_ >= 0 && dragEnabled &&
        (point - pressPoint_).manhattanLength() >= QApplication::startDragDistance()) {
        const int item = pressItem_;
        pressItem_ = -1;
        emit beginDragRequested(item, pressPoint_);
        return;
    }
    // No rubber-band selection: a press and move either drags a row or does nothing more.
}

void CKZARN_ProfileListCtrl::mouseReleaseEvent(QMouseEvent* event)
{
    pressItem_ = -1;
    if (dragging) {
        EndDragAt(viewport()->mapToGlobal(event->position().toPoint()));
    }
    QTreeWidget::mouseReleaseEvent(event);
}

void CKZARN_ProfileListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    const int item = index.row();
    if (item < 0) return;
    if (item == editingItem) {
        QTreeWidget::drawRow(painter, option, index);
        return;
    }
    const QTreeWidgetItem* row = topLevelItem(item);
    const QRect bounds = option.rect;
    const bool selected = row->isSelected();
    const bool focused = hasFocus();
    const QPalette& pal = palette();
    QColor text = pal.color(QPalette::Text);
    QColor background = pal.color(QPalette::Base);
    if (selected) {
        // The palette's highlight, also while another control has the focus (its inactive form):
        // the chosen profile and slot stay plain to see beside the list the user works in.
        const QPalette::ColorGroup group = focused ? QPalette::Active : QPalette::Inactive;
        text = pal.color(group, QPalette::HighlightedText);
        background = pal.color(group, QPalette::Highlight);
    }
    QFont rowFont = font();
    const std::string name = GetItemText(item);
    if (pcList && CKZARN_Common::IsDefaultProfileName(name)) {
        rowFont.setBold(true);
        rowFont.setItalic(true);
    }
    painter->save();
    painter->fillRect(bounds, background);
    painter->setFont(rowFont);
    const int flags = Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine;
    QRect focusRect = bounds;
    if (numbered) {
        const QRect number(bounds.left(), bounds.top(), columnWidth(0), bounds.height());
        painter->fillRect(number, ToColor(columnColour));
        painter->setPen(QColor(96, 96, 96));
        painter->drawLine(number.right(), number.top(), number.right(), number.bottom());
        char label[16];
        std::snprintf(label, sizeof label, "No.%02d:", item + 1);
        painter->setPen(pal.color(QPalette::WindowText));
        painter->drawText(number.adjusted(kTextInset, 0, 0, 0), flags, QString::fromLatin1(label));
        const std::string shown = name.empty() ? emptySlotText : name;
        painter->setPen(text);
        painter->drawText(QRect(number.right() + 1 + kTextInset, bounds.top(),
                                bounds.right() - number.right() - kTextInset, bounds.height()),
                          flags, QString::fromStdString(shown));
        focusRect.setLeft(number.right() + 1);
    } else {
        painter->setPen(text);
        painter->drawText(bounds.adjusted(kTextInset, 0, 0, 0), flags, QString::fromStdString(name));
    }
    if (focused && currentIndex().row() == item) {
        QStyleOptionFocusRect focus;
        focus.rect = focusRect;
        focus.state = QStyle::State_Enabled;
        focus.backgroundColor = background;
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, this);
    }
    painter->restore();
    lowestRowBottom_ = std::max(lowestRowBottom_, bounds.bottom() + 1);
}

void CKZARN_ProfileListCtrl::paintEvent(QPaintEvent* event)
{
    lowestRowBottom_ = 0;
    QTreeWidget::paintEvent(event);
    if (!numbered || columnCount() < 1) return;
    // The number column runs on below the last row to the bottom of the list.
    QPainter painter(viewport());
    const int top = lowestRowBottom_;
    numberColumnRect = QRect(0, top, columnWidth(0), std::max(0, viewport()->height() - top));
    if (numberColumnRect.isEmpty()) return;
    painter.fillRect(QRect(0, top, viewport()->width(), viewport()->height() - top), palette().color(QPalette::Base));
    painter.fillRect(numberColumnRect, ToColor(columnColour));
    painter.setPen(QColor(128, 128, 128));
    painter.drawLine(numberColumnRect.right(), top, numberColumnRect.right(), viewport()->height());
}
