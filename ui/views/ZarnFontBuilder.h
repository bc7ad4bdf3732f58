// Builds the renderers' fonts from one base font, changing only the height (and, where asked, the
// weight and the turn). A height H in tenths of a point becomes the pixel height |MulDiv(H, dpi, 720)|
// at the reference screen resolution, which stays pinned (96 by default) also when the target is a
// printer, so that a page looks the same whatever screen the program runs on.
#pragma once

#include <QFont>

#include <string>
#include <vector>

class QPainter;

class ZarnFontBuilder {
public:
    static constexpr int kReferenceDpi = 96;

    // base: the application's base font (null: Qt's general font); referenceDpi: the screen
    // resolution the heights are converted with.
    explicit ZarnFontBuilder(const QFont* base = nullptr, int referenceDpi = kReferenceDpi);

    // The process-wide builder the windows use when their owner gives none.
    static const ZarnFontBuilder& Default();

    // The logical font height of H tenths of a point: -|MulDiv(H, reference dpi, 720)|.
    int LogicalHeight(int tenths) const;
    // The height H for a printer: -MulDiv(N, printer dpi, 72).
    static int PrinterHeight(int n, int printerDpi);

    // The base font with the height of H tenths of a point; weight 0 keeps the base weight, otherwise
    // the platform's 100..900 scale (400 normal, 700 bold).
    QFont Make(int tenths, int weight = 0) const;

    // The font, made smaller where needed until, measured on the painter's device, every line of the
    // texts (split at line feeds) is at most maxWidth wide and a line at most maxLineHeight high; a
    // limit of 0 or less is not checked. A font that fits comes back unchanged. Printed pages use it
    // so that a text never runs out of the room its place on the page gives it.
    static QFont FitToRoom(QPainter& painter, QFont font, const std::vector<std::string>& texts, int maxWidth,
                           int maxLineHeight);

    const QFont& Base() const { return base_; }
    int ReferenceDpi() const { return referenceDpi_; }

private:
    QFont base_;
    int referenceDpi_;
};
