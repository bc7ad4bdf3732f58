// The print dialog with one extra button that opens a preview through the caller's callback; the
// button is hidden when no callback is given.
#pragma once

#include "platform/WinTypes.h"
#include "ui/views/ZarnPrintHost.h"

#include <QPrintDialog>

class QPushButton;

class CKZARN_CustomPrintDialog : public QPrintDialog {
    Q_OBJECT
public:
    static constexpr int kPreviewButtonId = 39321;
    static constexpr int kPreviewTextId = 126;

    // setupOnly: only the printer is chosen, nothing is printed by the dialog itself.
    CKZARN_CustomPrintDialog(BOOL setupOnly, QPrinter* printer, QWidget* parent = nullptr);
    ~CKZARN_CustomPrintDialog() override;

    // Creates the preview button (hidden without a callback); runs once, before the dialog shows.
    void OnInitDialog();
    // The preview button: the callback's result with the caller value, 0 without a callback.
    int OnPreview();

    QPushButton* m_btnPreview = nullptr;
    int m_nCallerValue = 0;
    PrintPreviewCallback m_pfnPreview = nullptr;
    BOOL m_bSetupOnly = FALSE;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceButton();
    // Proposes the print-to-file name in the file dialogs' start folder when the printer has no file.
    void ProposeOutputFile();
};
