// The rows of the property list's view, as a report-style list view keeps them: per row the two
// column texts, the item it shows (not owned) and its indent. The property list writes them; its
// delegate draws from them.
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <vector>

class CFlexItem;

class CFlexListRows : public QAbstractTableModel {
    Q_OBJECT
public:
    // Data roles beyond the display text.
    static constexpr int kItemRole = Qt::UserRole + 1;
    static constexpr int kIndentRole = Qt::UserRole + 2;

    explicit CFlexListRows(QObject* parent = nullptr);
    ~CFlexListRows() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    void SetColumnText(int column, const QString& text);
    // Empty rows inserted at row, and rows removed from row; out-of-range requests do nothing.
    void InsertRows(int row, int count);
    void RemoveRows(int row, int count);
    void SetRow(int row, const QString& caption, CFlexItem* item, int indent);
    void SetValueText(int row, const QString& text);
    QString Text(int row, int column) const;
    CFlexItem* Item(int row) const;
    int Indent(int row) const;
    // Forgets every row's item (their texts stay), for when the items are destroyed before the
    // rows are rewritten.
    void ForgetItems();

private:
    struct Row {
        QString caption;
        QString value;
        CFlexItem* item = nullptr;
        int indent = 0;
    };
    bool Valid(int row) const { return row >= 0 && row < static_cast<int>(rows_.size()); }

    std::vector<Row> rows_;
    QString columnTexts_[2];
};
