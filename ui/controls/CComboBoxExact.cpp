#include "ui/controls/CComboBoxExact.h"

#include "ui/controls/CListBoxExact.h"

CComboBoxExact::CComboBoxExact(QWidget* parent) : QComboBox(parent), listBox(new CListBoxExact)
{
    setView(listBox);
}

CComboBoxExact::~CComboBoxExact() = default;

void CComboBoxExact::showPopup()
{
    listBox->SetExactMode(1);
    QComboBox::showPopup();
}

void CComboBoxExact::hidePopup()
{
    QComboBox::hidePopup();
    listBox->SetExactMode(0);
}
