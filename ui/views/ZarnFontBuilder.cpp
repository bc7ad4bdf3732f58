#include "ui/views/ZarnFontBuilder.h"

#include "ui/views/ZarnDrawing.h"

#include <QGuiApplication>

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
