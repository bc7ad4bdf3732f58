// Layout tables give a combo box its height with the drop-down list open (180 pixels); on screen a
// closed combo box takes only its own height. This trims the combo boxes of a window after its table
// was applied, keeping their position and width.
#pragma once

class QWidget;

class ZarnViewLayout {
public:
    static void FitComboHeights(QWidget* window);
};
