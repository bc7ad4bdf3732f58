#include "ui/controls/CFlexListRows.h"

CFlexListRows::CFlexListRows(QObject* parent) : QAbstractTableModel(parent) {}
CFlexListRows::~CFlexListRows() = default;

int CFlexListRows::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CFlexListRows::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant CFlexListRows::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !Valid(index.row())) {
        return {};
    }
    const Row& row = rows_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole: return index.column() == 0 ? row.caption : row.value;
    case kItemRole: return QVariant::fromValue(static_cast<void*>(row.item));
    case kIndentRole: return row.indent;
    default: return {};
    }
}

QVariant CFlexListRows::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2) {
        return columnTexts_[section];
    }
    if (orientation == Qt::Horizontal && role == Qt::TextAlignmentRole) {
        return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
    }
    return {};
}

Qt::ItemFlags CFlexListRows::flags(const QModelIndex& index) const
{
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

void CFlexListRows::SetColumnText(int column, const QString& text)
{
    if (column < 0 || column > 1) {
        return;
    }
    columnTexts_[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void CFlexListRows::InsertRows(int row, int count)
{
    if (count <= 0 || row < 0 || row > static_cast<int>(rows_.size())) {
        return;
    }
    beginInsertRows(QModelIndex(), row, row + count - 1);
    rows_.insert(rows_.begin() + row, static_cast<std::size_t>(count), Row{});
    endInsertRows();
}

void CFlexListRows::RemoveRows(int row, int count)
{
    if (count <= 0 || !Valid(row) || row + count > static_cast<int>(rows_.size())) {
        return;
    }
    beginRemoveRows(QModelIndex(), row, row + count - 1);
    rows_.erase(rows_.begin() + row, rows_.begin() + row + count);
    endRemoveRows();
}

void CFlexListRows::SetRow(int row, const QString& caption, CFlexItem* item, int indent)
{
    if (!Valid(row)) {
        return;
    }
    Row& r = rows_[static_cast<std::size_t>(row)];
    r.caption = caption;
    r.item = item;
    r.indent = indent;
    emit dataChanged(index(row, 0), index(row, 1));
}

void CFlexListRows::SetValueText(int row, const QString& text)
{
    if (!Valid(row)) {
        return;
    }
    rows_[static_cast<std::size_t>(row)].value = text;
    emit dataChanged(index(row, 1), index(row, 1));
}

QString CFlexListRows::Text(int row, int column) const
{
    if (!Valid(row)) {
        return {};
    }
    const Row& r = rows_[static_cast<std::size_t>(row)];
    return column == 0 ? r.caption : column == 1 ? r.value : QString();
}

CFlexItem* CFlexListRows::Item(int row) const
{
    return Valid(row) ? rows_[static_cast<std::size_t>(row)].item : nullptr;
}

int CFlexListRows::Indent(int row) const { return Valid(row) ? rows_[static_cast<std::size_t>(row)].indent : 0; }

void CFlexListRows::ForgetItems()
{
    for (Row& row : rows_) {
        row.item = nullptr;
    }
}
