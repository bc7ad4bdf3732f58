// Pixel probes for the renderer tests: images without antialiasing and colour checks by COLORREF.
#pragma once

#include "platform/WinTypes.h"

#include <QImage>
#include <QPainter>

inline QImage BlankImage(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    return image;
}

inline COLORREF PixelRef(const QImage& image, int x, int y)
{
    const QRgb c = image.pixel(x, y);
    return RGB(static_cast<BYTE>(qRed(c)), static_cast<BYTE>(qGreen(c)), static_cast<BYTE>(qBlue(c)));
}

// Pixels of exactly this colour inside {l, t, r, b}.
inline int CountColour(const QImage& image, COLORREF colour, int l, int t, int r, int b)
{
    int n = 0;
    for (int y = std::max(0, t); y < std::min(b, image.height()); ++y) {
        for (int x = std::max(0, l); x < std::min(r, image.width()); ++x) {
            n += PixelRef(image, x, y) == colour;
        }
    }
    return n;
}

inline int CountColour(const QImage& image, COLORREF colour)
{
    return CountColour(image, colour, 0, 0, image.width(), image.height());
}
