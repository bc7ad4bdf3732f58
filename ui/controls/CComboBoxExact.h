// A combo box whose open list searches whole items only: its drop-down list is a CListBoxExact
// that is in exact mode while it is open.
#pragma once

#include <QComboBox>

class CListBoxExact;

class CComboBoxExact : public QComboBox {
    Q_OBJECT
public:
    explicit CComboBoxExact(QWidget* parent = nullptr);
    ~CComboBoxExact() override;

    void showPopup() override;
    void hidePopup() override;

    CListBoxExact* listBox; // owned by the combo box as its view
};
