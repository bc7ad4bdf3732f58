// A list whose keyboard search matches whole items only while `exactMode` is 1 (otherwise items
// that begin with what was typed), without regard to letter case.
#pragma once

#include <QElapsedTimer>
#include <QListView>

class CListBoxExact : public QListView {
    Q_OBJECT
public:
    explicit CListBoxExact(QWidget* parent = nullptr);
    ~CListBoxExact() override;

    void SetExactMode(int flag) { exactMode = flag; }
    // The first row after `start` (-1: from the top), wrapping round, whose text begins with the
    // text, or equals it in exact mode; -1 when none.
    int FindString(int start, const QString& text) const;
    // Always whole-item matching.
    int FindStringExact(int start, const QString& text) const;

    void keyboardSearch(const QString& search) override;

    int exactMode = 0;

private:
    int Find(int start, const QString& text, bool exact) const;

    QString typed_;
    QElapsedTimer sinceLastKey_;
};
