#include "ui/controls/CListBoxExact.h"

#include <QApplication>

CListBoxExact::CListBoxExact(QWidget* parent) : QListView(parent) {}

CListBoxExact::~CListBoxExact() = default;

int CListBoxExact::FindString(int start, const QString& text) const
{
    return Find(start, text, exactMode == 1);
}

int CListBoxExact::FindStringExact(int start, const QString& text) const
{
    return Find(start, text, true);
}

int CListBoxExact::Find(int start, const QString& text, bool exact) const
{
    const QAbstractItemModel* items = model();
    if (items == nullptr) {
        return -1;
    }
    const int rows = items->rowCount(rootIndex());
    if (rows == 0) {
        return -1;
    }
    const int from = start < 0 || start >= rows ? 0 : start + 1;
    for (int step = 0; step < rows; ++step) {
        const int row = (from + step) % rows;
        const QString item = items->index(row, modelColumn(), rootIndex()).data(Qt::DisplayRole).toString();
        const bool match = exact ? item.compare(text, Qt::CaseInsensitive) == 0
                                 : item.startsWith(text, Qt::CaseInsensitive);
        if (match) {
            return row;
        }
    }
    return -1;
}

void CListBoxExact::keyboardSearch(const QString& search)
{
    if (search.isEmpty()) {
        return;
    }
    // Keys typed in quick succession extend the searched text, as in any list.
    if (!sinceLastKey_.isValid() || sinceLastKey_.elapsed() > QApplication::keyboardInputInterval()) {
        typed_.clear();
    }
    sinceLastKey_.start();
    typed_ += search;
    const int current = currentIndex().isValid() ? currentIndex().row() : -1;
    const int row = FindString(typed_.size() > 1 ? current - 1 : current, typed_);
    if (row >= 0) {
        setCurrentIndex(model()->index(row, modelColumn(), rootIndex()));
    }
}
