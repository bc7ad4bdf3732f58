#include "ui/views/ZarnTextDrawer.h"

#include "ui/views/ZarnDrawing.h"

#include <QFontMetrics>
#include <QPainter>

namespace {

thread_local ZarnTextRecorder* t_recorder = nullptr;

int AlignmentOf(UINT format)
{
    int flags = 0;
    if (format & DT_CENTER) {
        flags |= Qt::AlignHCenter;
    } else if (format & DT_RIGHT) {
        flags |= Qt::AlignRight;
    } else {
        flags |= Qt::AlignLeft;
    }
    // Vertical centring and bottom alignment apply to single lines only, as on the platform.
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER)) {
        flags |= Qt::AlignVCenter;
    } else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM)) {
        flags |= Qt::AlignBottom;
    } else {
        flags |= Qt::AlignTop;
    }
    if (format & DT_SINGLELINE) {
        flags |= Qt::TextSingleLine;
    }
    if (format & DT_WORDBREAK) {
        flags |= Qt::TextWordWrap;
    }
    flags |= Qt::TextDontClip;
    return flags;
}

void Notify(QPainter& painter, const std::string& text, const RECT& rect, UINT format, bool turned, const RECT& box)
{
    if (t_recorder) {
        t_recorder->Record(ZarnDrawnText{text, rect, format, painter.font().pixelSize(), turned, box});
    }
}

} // namespace

int ZarnTextDrawer::DrawText(QPainter& painter, const std::string& text, const RECT& rect, UINT format)
{
    QString shown = QString::fromStdString(text);
    if (format & DT_SINGLELINE) {
        shown.replace(QLatin1Char('\r'), QString()).replace(QLatin1Char('\n'), QLatin1Char(' '));
    }
    const QRect box = ToQRect(rect);
    const QRect bounds = painter.fontMetrics().boundingRect(box, AlignmentOf(format), shown);
    if (!(format & DT_CALCRECT)) {
        Notify(painter, text, rect, format, false, ToRect(bounds));
        painter.drawText(box, AlignmentOf(format), shown);
    }
    return bounds.height();
}

void ZarnTextDrawer::TextOut(QPainter& painter, int x, int y, const std::string& text, bool turned)
{
    const QString shown = QString::fromStdString(text);
    const QFontMetrics metrics = painter.fontMetrics();
    const int width = metrics.horizontalAdvance(shown);
    const RECT box = turned ? RECT{x, y - width, x + metrics.height(), y} : RECT{x, y, x + width, y + metrics.height()};
    Notify(painter, text, RECT{x, y, x, y}, 0, turned, box);
    painter.save();
    painter.translate(x, y);
    if (turned) {
        painter.rotate(-90.0);
    }
    painter.drawText(0, metrics.ascent(), shown);
    painter.restore();
}

SIZE ZarnTextDrawer::TextExtent(QPainter& painter, const std::string& text)
{
    const QFontMetrics metrics = painter.fontMetrics();
    return SIZE{metrics.horizontalAdvance(QString::fromStdString(text)), metrics.height()};
}

int ZarnTextDrawer::LineHeight(QPainter& painter)
{
    return painter.fontMetrics().height();
}

void ZarnTextDrawer::SetRecorder(ZarnTextRecorder* recorder)
{
    t_recorder = recorder;
}

const ZarnDrawnText* ZarnTextLog::Find(const std::string& text) const
{
    for (const ZarnDrawnText& t : texts) {
        if (t.text == text) {
            return &t;
        }
    }
    return nullptr;
}
