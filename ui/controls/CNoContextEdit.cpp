#include "ui/controls/CNoContextEdit.h"

#include <QContextMenuEvent>

CNoContextEdit::CNoContextEdit(QWidget* parent) : QLineEdit(parent) {}

CNoContextEdit::~CNoContextEdit() = default;

void CNoContextEdit::contextMenuEvent(QContextMenuEvent* event)
{
    setFocus(Qt::MouseFocusReason);
    selectAll();
    event->accept();
}
