// A static text or picture of a wizard page that reports clicks, as the pages' pictures and some
// labels stand for the choice beside them.
#pragma once

#include <QLabel>

class WizardClickableLabel : public QLabel {
    Q_OBJECT
public:
    explicit WizardClickableLabel(QWidget* parent = nullptr) : QLabel(parent) {}

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};
