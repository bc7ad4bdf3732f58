// An edit without a context menu: right-click selects the whole text instead.
#pragma once

#include <QLineEdit>

class CNoContextEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CNoContextEdit(QWidget* parent = nullptr);
    ~CNoContextEdit() override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
};
