// A group box whose frame runs through the middle of its title, as the platform's group box draws
// it. The wizard's layout tables place controls for that frame: a frame drawn below the title
// (Qt's own) would run through the first row of controls.
#pragma once

#include <QGroupBox>

class WizardGroupBox : public QGroupBox {
    Q_OBJECT
public:
    explicit WizardGroupBox(QWidget* parent = nullptr);

    // Where the frame's top line runs: half the title's height below the box's top.
    int FrameTop() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
