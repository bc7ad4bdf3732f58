// Pages printed to PDF, read back with poppler's tools: the page rendered as an image, and ink near
// its edges.
#pragma once

#include <QImage>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <string>

// The tool's standard output, empty when it cannot be run or fails.
inline std::string RunTool(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return std::string();
    }
    return process.readAllStandardOutput().toStdString();
}

// The first page rendered by poppler at the resolution, kept as <stem>.png.
inline QImage RenderPdf(const QString& pdf, const QString& stem, int dpi = 50)
{
    // Without antialiasing, so that every pixel has one of the colours drawn.
    RunTool(QStringLiteral("pdftoppm"),
            {QStringLiteral("-aa"), QStringLiteral("no"), QStringLiteral("-aaVector"), QStringLiteral("no"),
             QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"), QStringLiteral("-singlefile"), pdf, stem});
    return QImage(stem + QStringLiteral(".png"));
}

// Whether anything but white lies within the margin of an edge.
inline bool InkNearEdges(const QImage& page, int margin)
{
    for (int y = 0; y < page.height(); ++y) {
        for (int x = 0; x < page.width(); ++x) {
            const bool border = x < margin || y < margin || x >= page.width() - margin || y >= page.height() - margin;
            if (border && (page.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
                return true;
            }
        }
    }
    return false;
}
