// A label that centres its lines vertically and aligns them left, centred or right by
// `alignment` (1 left, 2 centred, 4 right; any other value left). It draws in its parent's font.
#pragma once

#include <QLabel>

class CHAlignLabel : public QLabel {
    Q_OBJECT
public:
    explicit CHAlignLabel(QWidget* parent = nullptr);

    // The space left above the lines: half of what they leave free, 0 when they do not fit.
    static int VerticalMargin(int clientHeight, int lines, int lineHeight);
    // The horizontal alignment for an `alignment` value (only its low three bits count).
    static Qt::Alignment HorizontalAlignment(int alignmentValue);

    int alignment = 1;

protected:
    void paintEvent(QPaintEvent* event) override;
};
