#include "ui/views/ZarnViewLayout.h"

#include <QComboBox>
#include <QWidget>

void ZarnViewLayout::FitComboHeights(QWidget* window)
{
    if (window == nullptr) {
        return;
    }
    for (QComboBox* combo : window->findChildren<QComboBox*>(QString(), Qt::FindDirectChildrenOnly)) {
        const QRect place = combo->geometry();
        combo->setGeometry(place.x(), place.y(), place.width(), combo->sizeHint().height());
    }
}
