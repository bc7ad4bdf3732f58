#include "ui/wizard/WizardGroupBox.h"

#include <QPainter>

WizardGroupBox::WizardGroupBox(QWidget* parent) : QGroupBox(parent) {}

int WizardGroupBox::FrameTop() const
{
    return title().isEmpty() ? 0 : fontMetrics().height() / 2;
}

void WizardGroupBox::paintEvent(QPaintEvent*)
{
    // Drawn here rather than by the style: styles place the frame below a title.
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(palette().color(QPalette::Mid));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect().adjusted(0, FrameTop(), -1, -1)).translated(0.5, 0.5), 2, 2);
    if (title().isEmpty())
        return;
    // The title interrupts the frame's top line, on the box's own background.
    const QFontMetrics metrics = fontMetrics();
    const QRect text(8, 0, metrics.horizontalAdvance(title()) + 6, metrics.height());
    painter.fillRect(text, palette().brush(backgroundRole()));
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    painter.drawText(text, Qt::AlignCenter, title());
}
