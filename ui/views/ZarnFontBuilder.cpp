#include "ui/views/ZarnFontBuilder.h"

#include "ui/views/ZarnDrawing.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

ZarnFontBuilder::ZarnFontBuilder(const QFont* base, int referenceDpi)
    : base_(base ? *base : QGuiApplication::font()), referenceDpi_(referenceDpi > 0 ? referenceDpi : kReferenceDpi)
{
}

const ZarnFontBuilder& ZarnFontBuilder::Default()
{
    static const ZarnFontBuilder builder;
    return builder;
}

int ZarnFontBuilder::LogicalHeight(int tenths) const
{
    return -std::abs(MulDiv(tenths, referenceDpi_, 720));
}

int ZarnFontBuilder::PrinterHeight(int n, int printerDpi)
{
    return -MulDiv(n, printerDpi, 72);
}

QFont ZarnFontBuilder::Make(int tenths, int weight) const
{
    QFont font(base_);
    // A negative logical height is the character height without internal leading, which is the
    // em height Qt's pixel size means.
    font.setPixelSize(std::max(1, -LogicalHeight(tenths)));
    if (weight > 0) {
        font.setWeight(weight >= 700 ? QFont::Bold : QFont::Normal);
    }
    return font;
}

QFont ZarnFontBuilder::FitToRoom(QPainter& painter, QFont font, const std::vector<std::string>& texts, int maxWidth,
                                 int maxLineHeight)
{
    std::vector<QString> lines;
    for (const std::string& text : texts) {
        for (const QString& line : QString::fromStdString(text).split(QLatin1Char('\n'))) {
            lines.push_back(line);
        }
    }
    // How much the font must shrink in the larger of the two directions: 1 when it fits.
    const auto excess = [&](const QFont& f) {
        const QFontMetrics metrics(f, painter.device());
        double ratio = 1.0;
        if (maxLineHeight > 0 && metrics.height() > maxLineHeight) {
            ratio = std::min(ratio, static_cast<double>(maxLineHeight) / metrics.height());
        }
        for (const QString& line : lines) {
            const int width = metrics.horizontalAdvance(line);
            if (maxWidth > 0 && width > maxWidth) {
                ratio = std::min(ratio, static_cast<double>(maxWidth) / width);
            }
        }
        return ratio;
    };
    // Metrics do not scale exactly with the size, so the first guess is checked and stepped down.
    int size = font.pixelSize();
    for (double ratio = excess(font); ratio < 1.0 && size > 1; ratio = excess(font)) {
        size = std::max(1, std::min(size - 1, static_cast<int>(size * ratio)));
        font.setPixelSize(size);
    }
    return font;
}
