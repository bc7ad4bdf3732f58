#include "ui/controls/CHAlignLabel.h"

#include <QPainter>

#include <algorithm>

CHAlignLabel::CHAlignLabel(QWidget* parent) : QLabel(parent) {}

int CHAlignLabel::VerticalMargin(int clientHeight, int lines, int lineHeight)
{
    const int margin = (clientHeight - lines * lineHeight) / 2;
    return margin < 0 ? 0 : margin;
}

Qt::Alignment CHAlignLabel::HorizontalAlignment(int alignmentValue)
{
    switch (alignmentValue & 7) {
    case 2:
        return Qt::AlignHCenter;
    case 4:
        return Qt::AlignRight;
    default:
        return Qt::AlignLeft;
    }
}

void CHAlignLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setFont(parentWidget() != nullptr ? parentWidget()->font() : font());
    const QString caption = text();
    int flags = static_cast<int>(HorizontalAlignment(alignment) | Qt::AlignTop);
    int lines = static_cast<int>(caption.count(QLatin1Char('\n'))) + 1;
    const int lineHeight = painter.fontMetrics().height();
    if (wordWrap() && lineHeight > 0) {
        // A caption that wraps is centred by the lines it takes.
        flags |= Qt::TextWordWrap;
        lines = std::max(lines, painter.fontMetrics().boundingRect(rect(), flags, caption).height() / lineHeight);
    }
    const int margin = VerticalMargin(height(), lines, lineHeight);
    QRect area = rect();
    area.adjust(0, margin, 0, -margin);
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(area, flags, caption);
}
