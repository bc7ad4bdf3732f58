#include "ui/controls/CFlexListCtrl.h"

#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/controls/CCustomEdit.h"
#include "ui/controls/CFlexItem.h"
#include "ui/controls/CFlexListDelegate.h"
#include "ui/controls/CFlexListRows.h"
#include "ui/controls/FlexListMessages.h"

#include <QComboBox>
#include <QFontInfo>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kIconSize = 10;
constexpr int kCaptionColumnTextId = 28002;
constexpr int kValueColumnTextId = 28003;
constexpr int kEditInputMode = 99;

} // namespace

CFlexListCtrl::CFlexListCtrl(QWidget* parent)
    : QTableView(parent),
      stripeColour(233, 237, 255),
      edit_(new CCustomEdit(viewport())),
      combo_(new QComboBox(viewport())),
      rows_(new CFlexListRows(this)),
      delegate_(new CFlexListDelegate(this))
{
    setModel(rows_);
    setItemDelegate(delegate_);
    // Report style, one selected row shown even without the focus, headers that do not sort.
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(0);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::StyledPanel);
    edit_->hide();
    combo_->hide();
    edit_->setObjectName(QString::number(kEditId));
    combo_->setObjectName(QString::number(kComboId));

    // Dragging or double-clicking a divider commits the edit and keeps column 1 filling the width.
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section, int, int) {
        if (!fitting_) {
            OnNotify(section);
        }
    });
    connect(horizontalHeader(), &QHeaderView::sectionHandleDoubleClicked, this,
            [this](int section) { OnNotify(section); });
    // Scrolling by the scroll bar commits before the rows move.
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this](int) { CommitEdit(); });
}

CFlexListCtrl::~CFlexListCtrl()
{
    editItem = nullptr;
    rows_->ForgetItems();
    items_.Clear();
}

void CFlexListCtrl::Initialize()
{
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultSectionSize(MeasureItem());

    edit_->inputMode = kEditInputMode;
    edit_->setFont(font());
    edit_->hide();
    combo_->setFont(font());
    combo_->hide();
    edit_->installEventFilter(this);
    combo_->installEventFilter(this);

    rows_->SetColumnText(0, CKZARN_Common::ToWidgetText(GetLangString(kCaptionColumnTextId)));
    rows_->SetColumnText(1, CKZARN_Common::ToWidgetText(GetLangString(kValueColumnTextId)));
    fitting_ = true;
    setColumnWidth(0, kCaptionWidth);
    fitting_ = false;
    FitValueColumn();

    collapsedIcon_ = LoadTreeIcon(kCollapsedIconId);
    expandedIcon_ = LoadTreeIcon(kExpandedIconId);
}

int CFlexListCtrl::MeasureItem() const { return std::abs(QFontInfo(font()).pixelSize()) + 8; }

void CFlexListCtrl::FitValueColumn()
{
    fitting_ = true;
    setColumnWidth(1, std::max(0, viewport()->width() - columnWidth(0)));
    fitting_ = false;
}

void CFlexListCtrl::OnNotify(int /*section*/)
{
    CommitEdit();
    FitValueColumn();
}

void CFlexListCtrl::DrawItem(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    delegate_->DrawItem(painter, option, index);
}

QRect CFlexListCtrl::IconRect(const QRect& rowRect, int level)
{
    const int middle = rowRect.top() + rowRect.height() / 2;
    return {rowRect.left() + level * kLevelIndent + 2, middle - kIconSize / 2, kIconSize, kIconSize};
}

QIcon CFlexListCtrl::LoadTreeIcon(int resourceId)
{
    // The two group icons are drawn here: a boxed plus (closed group) and a boxed minus (open group).
    QPixmap picture(kIconSize, kIconSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setPen(QColor(128, 128, 128));
    painter.setBrush(Qt::white);
    painter.drawRect(0, 0, kIconSize - 1, kIconSize - 1);
    painter.setPen(Qt::black);
    painter.drawLine(2, kIconSize / 2, kIconSize - 3, kIconSize / 2);
    if (resourceId == kCollapsedIconId) {
        painter.drawLine(kIconSize / 2, 2, kIconSize / 2, kIconSize - 3);
    }
    painter.end();
    return QIcon(picture);
}

void CFlexListCtrl::RebuildRows()
{
    setUpdatesEnabled(false);
    const int oldCount = rows_->rowCount();
    items_.RebuildVisible();
    const std::vector<CFlexItem*>& visible = items_.GetVisibleItems();
    const int count = static_cast<int>(visible.size());
    if (count > oldCount) {
        rows_->InsertRows(oldCount, count - oldCount);
    } else if (count < oldCount) {
        rows_->RemoveRows(count, oldCount - count);
    }
    int number = 0;
    for (int row = 0; row < count; ++row) {
        CFlexItem* item = visible[static_cast<std::size_t>(row)];
        std::string caption = item->GetCaption();
        if (item->level == 0) {
            char prefix[16];
            std::snprintf(prefix, sizeof prefix, "%d. ", ++number);
            caption = prefix + caption;
        }
        rows_->SetRow(row, CKZARN_Common::ToWidgetText(caption), item, item->level);
        rows_->SetValueText(row, CKZARN_Common::ToWidgetText(item->GetDisplayText()));
    }
    FitValueColumn();
    setUpdatesEnabled(true);
}

void CFlexListCtrl::ClearItems()
{
    if (editItem != nullptr) {
        editItem->EndEdit();
        editItem = nullptr;
        editRow = -1;
    }
    // The rows keep their texts until the next rebuild, but no longer point at the destroyed items.
    rows_->ForgetItems();
    items_.Clear();
}

QRect CFlexListCtrl::ValueCellRect(int row) const { return visualRect(rows_->index(row, 1)); }

int CFlexListCtrl::BeginEdit(CFlexItem* item, const QRect& cell, int row)
{
    editRow = -1;
    editItem = nullptr;
    if (item == nullptr) {
        return 0;
    }
    QWidget* editor = item->type == CFlexItem::kDirect ? static_cast<QWidget*>(edit_)
                      : item->type == CFlexItem::kSelect ? static_cast<QWidget*>(combo_)
                                                         : nullptr;
    if (item->BeginEdit(editor, cell) == 0) {
        return 0;
    }
    editRow = row;
    editItem = item;
    SendToParent(WM_FLEX_BEGINEDIT, row, item);
    return 1;
}

void CFlexListCtrl::CommitEdit()
{
    if (editItem == nullptr) {
        return;
    }
    CFlexItem* item = editItem;
    const int row = editRow;
    item->EndEdit();
    rows_->SetValueText(row, CKZARN_Common::ToWidgetText(item->GetDisplayText()));
    // The edit is over before the parent hears of it, so that the parent may rebuild or clear the
    // list from its handler; no row stays marked as edited.
    editRow = -1;
    editItem = nullptr;
    SendToParent(WM_FLEX_ENDEDIT, row, item);
    setFocus();
}

void CFlexListCtrl::SendToParent(unsigned message, int row, CFlexItem* item)
{
    QtMessageSink& sink = QtMessageSink::Instance();
    const HWND parent = sink.FindHandle(parentWidget());
    if (parent != nullptr) {
        sink.SendMessage(parent, message, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(item));
    }
}

void CFlexListCtrl::ToggleGroup(int row)
{
    CFlexItem* item = items_.GetRowItem(row);
    if (item == nullptr) {
        return;
    }
    int count = 0;
    int first = -1;
    if (item->expanded != 0) {
        if (items_.Collapse(row, &count, &first)) {
            rows_->RemoveRows(first, count);
        }
    } else {
        setUpdatesEnabled(false);
        if (items_.Expand(row, &count, &first)) {
            rows_->InsertRows(first, count);
            for (int i = 0; i < count; ++i) {
                CFlexItem* shown = items_.GetRowItem(first + i);
                rows_->SetRow(first + i, CKZARN_Common::ToWidgetText(shown->GetCaption()), shown, shown->level);
                rows_->SetValueText(first + i, CKZARN_Common::ToWidgetText(shown->GetDisplayText()));
            }
        }
        setUpdatesEnabled(true);
    }
    FitValueColumn();
    viewport()->update();
}

void CFlexListCtrl::mousePressEvent(QMouseEvent* event) { OnLButtonDown(event); }

void CFlexListCtrl::OnLButtonDown(QMouseEvent* event)
{
    CommitEdit();
    const QPoint point = event->position().toPoint();
    const int row = rowAt(point.y());
    if (row < 0 || row >= rows_->rowCount()) {
        event->accept(); // a click on no row does not reach the list
        return;
    }
    QTableView::mousePressEvent(event);
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const CFlexItem* item = items_.GetRowItem(row);
    if (item == nullptr || item->hasChildren != 1) {
        return;
    }
    const QRect rowRect = visualRect(rows_->index(row, 0));
    if (IconRect(rowRect, item->level).contains(point)) {
        ToggleGroup(row);
    }
}

void CFlexListCtrl::mouseDoubleClickEvent(QMouseEvent* event) { OnLButtonDblClk(event); }

void CFlexListCtrl::OnLButtonDblClk(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    CommitEdit();
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    const int row = rowAt(point.y());
    if (row < 0 || row >= rows_->rowCount()) {
        return;
    }
    const QRect cell = ValueCellRect(row);
    if (cell.contains(point)) {
        BeginEdit(items_.GetRowItem(row), cell, row);
    }
}

void CFlexListCtrl::keyPressEvent(QKeyEvent* event)
{
    if (event->modifiers() & Qt::AltModifier) {
        OnSysKeyDown(event);
    } else {
        OnKeyDown(event);
    }
}

void CFlexListCtrl::OnSysKeyDown(QKeyEvent* event)
{
    QTableView::keyPressEvent(event);
    if (event->key() == Qt::Key_Escape) {
        CommitEdit();
    }
}

void CFlexListCtrl::OnKeyDown(QKeyEvent* event)
{
    QTableView::keyPressEvent(event);
    if (event->key() == Qt::Key_F2 && editItem == nullptr) {
        const QModelIndexList selected = selectionModel()->selectedRows();
        if (!selected.isEmpty()) {
            const int row = selected.first().row();
            if (row >= 0 && row < rows_->rowCount()) {
                BeginEdit(items_.GetRowItem(row), ValueCellRect(row), row);
            }
        }
    }
}

void CFlexListCtrl::wheelEvent(QWheelEvent* event)
{
    CommitEdit();
    QTableView::wheelEvent(event);
}

void CFlexListCtrl::paintEvent(QPaintEvent* event)
{
    QTableView::paintEvent(event);
    const QModelIndex current = currentIndex();
    if (!hasFocus() || !current.isValid()) {
        return;
    }
    // The focus rectangle goes round the whole row.
    const QRect rowRect = visualRect(rows_->index(current.row(), 0)).united(visualRect(rows_->index(current.row(), 1)));
    QPainter painter(viewport());
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rowRect;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void CFlexListCtrl::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    FitValueColumn();
}

bool CFlexListCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && PreTranslateMessage(watched, static_cast<QKeyEvent*>(event))) {
        return true;
    }
    return QTableView::eventFilter(watched, event);
}

bool CFlexListCtrl::PreTranslateMessage(QObject* editor, QKeyEvent* event)
{
    if (editor != edit_ && editor != combo_) {
        return false;
    }
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
        CommitEdit();
        return true;
    }
    return false;
}
