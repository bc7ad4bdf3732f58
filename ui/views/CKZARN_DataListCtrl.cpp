#include "ui/views/CKZARN_DataListCtrl.h"

#include "platform/qt/QtMessageSink.h"
#include "platform/qt/WindowMessageHandler.h"
#include "ui/views/ZarnDrawing.h"
#include "ui/views/ZarnTextDrawer.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Hands every cell's painting to the list's owner draw.
class DataListDelegate final : public QStyledItemDelegate {
public:
    explicit DataListDelegate(CKZARN_DataListCtrl* list) : QStyledItemDelegate(list), list_(list) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        list_->DrawItem(*painter, option, index.row(), index.column());
    }

private:
    CKZARN_DataListCtrl* list_;
};

} // namespace

CKZARN_DataListCtrl::CKZARN_DataListCtrl(QWidget* parent) : QTableWidget(parent)
{
    m_edit.inputMode = 4;
    m_edit.EnableFixedRect(TRUE);
    m_edit.hide();
    m_edit.installEventFilter(this);
    connect(&m_edit, &QLineEdit::editingFinished, this, [this] { FinishEdit(false); });
    setColumnCount(kColumnCount);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    // Rows as compact as a report list's: one line of text with a little air.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setItemDelegate(new DataListDelegate(this));
}

CKZARN_DataListCtrl::~CKZARN_DataListCtrl()
{
    m_edit.removeEventFilter(this);
    m_edit.disconnect(this);
    m_edit.setParent(nullptr);
}

void CKZARN_DataListCtrl::SetRowMark(int row, int value)
{
    if (row < 0 || row >= kRowCount) {
        return;
    }
    m_nRowMarks[row] = value;
}

void CKZARN_DataListCtrl::SetMarkIcon(const QPixmap& icon, int width, int height)
{
    m_markIcon = icon;
    m_nIconWidth = width;
    m_nIconHeight = height;
}

std::string CKZARN_DataListCtrl::GetItemText(int row, int column) const
{
    const QTableWidgetItem* cell = item(row, column);
    return cell ? cell->text().toStdString() : std::string();
}

void CKZARN_DataListCtrl::SetItemText(int row, int column, const std::string& text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount()) {
        return;
    }
    QTableWidgetItem* cell = item(row, column);
    if (!cell) {
        cell = new QTableWidgetItem();
        setItem(row, column, cell);
    }
    cell->setText(QString::fromStdString(text));
}

void CKZARN_DataListCtrl::DrawItem(QPainter& painter, const QStyleOptionViewItem& option, int row, int column)
{
    painter.save();
    const QRect cell = option.rect;
    const bool selected = selectionModel() && selectionModel()->isRowSelected(row, QModelIndex());
    QColor background;
    QColor text;
    if (selected) {
        background = palette().color(QPalette::Highlight);
        text = palette().color(QPalette::HighlightedText);
    } else {
        background = row % 3 == 0 ? ColorFromRef(kBandColour) : palette().color(QPalette::Base);
        text = palette().color(QPalette::Text);
    }
    painter.fillRect(cell, background);
    painter.setPen(text);
    painter.setFont(font());
    RECT label = ToRect(cell);
    if (column == 0) {
        const int h = cell.height() - 2;
        const bool ownSize = m_nIconWidth < h && m_nIconHeight < h;
        if (row >= 0 && row < kRowCount && m_nRowMarks[row] && !m_markIcon.isNull()) {
            const int w = ownSize ? m_nIconWidth : h;
            const int ih = ownSize ? m_nIconHeight : h;
            painter.drawPixmap(QRect(cell.left() + 5, cell.top() + 1, w, ih), m_markIcon);
        }
        label.left += (ownSize ? m_nIconWidth : h) + 10;
    }
    if (label.left < label.right) {
        ZarnTextDrawer::DrawText(painter, GetItemText(row, column), label,
                                 DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    }
    // The focus rectangle: with the editing style around the current value cell, or around the
    // whole row when the ISO cell is current (its bounds are the row's), and nowhere without a
    // current column; without the editing style around the row.
    if (row == currentRow() && hasFocus()) {
        QPen dotted(palette().color(QPalette::Text));
        dotted.setStyle(Qt::DotLine);
        if (m_bEditLabels && m_nCurColumn != 0) {
            if (m_nCurColumn > 0 && column == m_nCurColumn) {
                DrawRectOutline(painter, dotted, cell.left(), cell.top(), cell.right(), cell.bottom());
            }
        } else {
            painter.setPen(dotted);
            painter.drawLine(cell.topLeft(), cell.topRight());
            painter.drawLine(cell.bottomLeft(), cell.bottomRight());
            if (column == 0) {
                painter.drawLine(cell.topLeft(), cell.bottomLeft());
            }
            if (column == columnCount() - 1) {
                painter.drawLine(cell.topRight(), cell.bottomRight());
            }
        }
    }
    painter.restore();
}

int CKZARN_DataListCtrl::FirstSelectedRow() const
{
    const QModelIndexList rows = selectionModel() ? selectionModel()->selectedRows() : QModelIndexList();
    int first = -1;
    for (const QModelIndex& index : rows) {
        if (first < 0 || index.row() < first) {
            first = index.row();
        }
    }
    return first;
}

void CKZARN_DataListCtrl::InvalidateRow(int row)
{
    if (row < 0) {
        return;
    }
    for (int c = 0; c < columnCount(); ++c) {
        viewport()->update(visualRect(model()->index(row, c)));
    }
}

void CKZARN_DataListCtrl::keyPressEvent(QKeyEvent* event) { OnKeyDown(event); }

void CKZARN_DataListCtrl::OnKeyDown(QKeyEvent* event)
{
    QTableWidget::keyPressEvent(event);
    if (!m_bEditLabels) {
        return;
    }
    switch (event->key()) {
    case Qt::Key_F2: {
        const int row = FirstSelectedRow();
        if (row >= 0) {
            m_bEditRequested = 1;
            EditLabel(row);
        }
        break;
    }
    case Qt::Key_Left:
        m_nCurColumn = std::max(1, m_nCurColumn - 1);
        InvalidateRow(FirstSelectedRow());
        break;
    case Qt::Key_Right:
        m_nCurColumn = std::min(5, m_nCurColumn + 1);
        InvalidateRow(FirstSelectedRow());
        break;
    default:
        break;
    }
}

void CKZARN_DataListCtrl::mousePressEvent(QMouseEvent* event)
{
    QTableWidget::mousePressEvent(event);
    m_nCurColumn = -1;
    if (!m_bEditLabels) {
        return;
    }
    const QPoint point = event->position().toPoint();
    const int row = rowAt(point.y());
    if (row < 0) {
        return;
    }
    for (int c = 0; c < kColumnCount && c < columnCount(); ++c) {
        if (visualRect(model()->index(row, c)).contains(point)) {
            m_nCurColumn = c;
            InvalidateRow(row);
        }
    }
}

void CKZARN_DataListCtrl::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableWidget::mouseDoubleClickEvent(event);
    if (!m_bEditLabels) {
        return;
    }
    const int row = rowAt(event->position().toPoint().y());
    if (row >= 0) {
        m_bEditRequested = 1;
        EditLabel(row);
    }
}

bool CKZARN_DataListCtrl::EditLabel(int row)
{
    if (row < 0 || row >= rowCount() || IsEditing() || !m_bEditLabels) {
        return false;
    }
    if (!OnBeginLabelEdit(row)) {
        return false;
    }
    return true;
}

bool CKZARN_DataListCtrl::OnBeginLabelEdit(int row)
{
    if (!m_bEditRequested) {
        return false;
    }
    m_bEditRequested = 0;
    if (m_nCurColumn == 0) {
        SendToParent(WM_ZARN_GRID_ROW_ACTIVATED, static_cast<WPARAM>(row), 0);
        return false;
    }
    if (m_nCurColumn < 1 || m_nCurColumn > 5) {
        return false;
    }
    QRect cell = visualRect(model()->index(row, m_nCurColumn));
    const QRect client = viewport()->rect();
    cell.setLeft(std::max(cell.left(), client.left()));
    cell.setRight(std::min(cell.right(), client.right()));
    cell.adjust(0, -2, 0, 2);
    m_nEditRow = row;
    m_edit.SubclassWithText(viewport(), GetItemText(row, m_nCurColumn), cell.x(), cell.y(), cell.width(),
                            cell.height());
    m_edit.selectAll();
    m_edit.setFocus();
    return true;
}

bool CKZARN_DataListCtrl::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == &m_edit && event->type() == QEvent::KeyPress && IsEditing()) {
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            FinishEdit(true);
            return true;
        }
    }
    return QTableWidget::eventFilter(watched, event);
}

void CKZARN_DataListCtrl::FinishEdit(bool cancelled)
{
    if (!IsEditing()) {
        return;
    }
    const int row = m_nEditRow;
    m_nEditRow = -1;
    const std::string text = m_edit.text().toStdString();
    OnEndLabelEdit(row, cancelled ? std::string() : text);
}

void CKZARN_DataListCtrl::OnEndLabelEdit(int row, const std::string& text)
{
    if (!text.empty()) {
        m_strEditedText = text;
        const LRESULT answer = SendToParent(WM_ZARN_GRID_EDITED, static_cast<WPARAM>(row),
                                            static_cast<LPARAM>(m_nCurColumn));
        if (answer == 1) {
            SetItemText(row, m_nCurColumn, text);
        }
        m_strEditedText.clear();
    }
    m_nEditRow = -1;
    if (m_edit.parentWidget()) {
        m_edit.EndEdit();
    }
    if (row >= 0 && row < rowCount()) {
        selectRow(row);
        setCurrentCell(row, std::max(0, m_nCurColumn));
    }
    setFocus();
}

LRESULT CKZARN_DataListCtrl::SendToParent(UINT message, WPARAM wParam, LPARAM lParam)
{
    QWidget* parent = parentWidget();
    if (!parent) {
        return 0;
    }
    if (auto* handler = dynamic_cast<WindowMessageHandler*>(parent)) {
        return handler->WindowProc(message, wParam, lParam);
    }
    QtMessageSink& sink = QtMessageSink::Instance();
    const HWND handle = sink.FindHandle(parent);
    return handle ? sink.SendMessage(handle, message, wParam, lParam) : 0;
}
