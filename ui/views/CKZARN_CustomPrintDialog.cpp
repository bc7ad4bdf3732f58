#include "ui/views/CKZARN_CustomPrintDialog.h"

#include "core/ZarnFileDialogFolder.h"
#include "core/util/CLangTable.h"

#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>

CKZARN_CustomPrintDialog::CKZARN_CustomPrintDialog(BOOL setupOnly, QPrinter* printer, QWidget* parent)
    : QPrintDialog(printer, parent), m_bSetupOnly(setupOnly)
{
    // No selection and no page numbers: the program prints one whole page. Printing to a file stays
    // available, since a PDF file is the printer of a user without one.
    setOption(QAbstractPrintDialog::PrintSelection, false);
    setOption(QAbstractPrintDialog::PrintPageRange, false);
    setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    setOption(QAbstractPrintDialog::PrintToFile, true);
}

CKZARN_CustomPrintDialog::~CKZARN_CustomPrintDialog() = default;

void CKZARN_CustomPrintDialog::OnInitDialog()
{
    if (m_btnPreview) {
        return;
    }
    m_btnPreview = new QPushButton(QString::fromStdString(GetLangString(kPreviewTextId)), this);
    m_btnPreview->setObjectName(QStringLiteral("control_%1").arg(kPreviewButtonId));
    m_btnPreview->setFont(font());
    connect(m_btnPreview, &QPushButton::clicked, this, [this] { OnPreview(); });
    // Qt's print dialog keeps its own buttons in a button box whose left end already holds the
    // options button; the preview button joins that box so that nothing overlaps. Without a box it
    // sits at the dialog's lower left corner.
    if (auto* box = findChild<QDialogButtonBox*>()) {
        box->addButton(m_btnPreview, QDialogButtonBox::ActionRole);
    } else {
        PlaceButton();
    }
    m_btnPreview->setVisible(m_pfnPreview != nullptr);
}

int CKZARN_CustomPrintDialog::OnPreview()
{
    return m_pfnPreview ? m_pfnPreview(this, m_nCallerValue) : 0;
}

void CKZARN_CustomPrintDialog::showEvent(QShowEvent* event)
{
    OnInitDialog();
    ProposeOutputFile();
    QPrintDialog::showEvent(event);
}

void CKZARN_CustomPrintDialog::ProposeOutputFile()
{
    // Qt's dialog proposes a file in the working folder when the printer has none; the program's
    // file dialogs start in the documents folder or the last folder used instead. Its file field is
    // the line edit named "filename".
    if (!printer()->outputFileName().isEmpty()) {
        return;
    }
    if (auto* field = findChild<QLineEdit*>(QStringLiteral("filename"))) {
        field->setText(ZarnFileDialogFolder::Proposal(QCoreApplication::applicationName() + QStringLiteral(".pdf")));
    }
}

void CKZARN_CustomPrintDialog::resizeEvent(QResizeEvent* event)
{
    QPrintDialog::resizeEvent(event);
    PlaceButton();
}

void CKZARN_CustomPrintDialog::PlaceButton()
{
    if (!m_btnPreview || m_btnPreview->parentWidget() != this) {
        return;
    }
    // {client left + 20, client bottom - 29, client left + 150, client bottom - 8}
    const QRect client = rect();
    m_btnPreview->setGeometry(client.left() + 20, client.bottom() + 1 - 29, 130, 21);
    m_btnPreview->raise();
}
