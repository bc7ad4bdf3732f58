// The profile combo of the reference views: the saved profiles behind a placeholder entry, and the
// answer to choosing a profile that cannot be read.
#pragma once

class QComboBox;

class ZarnViewProfileCombo {
public:
    // Fills the combo with the saved profiles (defaults included) and puts the placeholder first,
    // selected. subVersionFilter is passed on to CKZARN_Common::FillProfileCombo.
    static void Fill(QComboBox* combo, int subVersionFilter);
    // Tells the user that the chosen profile cannot be read and goes back to the placeholder.
    static void RejectChoice(QComboBox* combo);
};
