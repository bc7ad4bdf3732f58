#include "flash/ui/CAboutDlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#ifndef ZARN_VERSION_TEXT
#define ZARN_VERSION_TEXT "1.0.0"
#endif

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName("CAboutDlg");
    setWindowTitle("About Zarnflash");
    auto* icon = new QLabel(this);
    // The program's icon, which the main dialog sets for the application.
    icon->setPixmap((windowIcon().isNull() ? style()->standardIcon(QStyle::SP_ArrowUp) : windowIcon()).pixmap(32, 32));
    auto* version = new QLabel(QStringLiteral("Zarnflash version " ZARN_VERSION_TEXT), this);
    version->setObjectName("version");
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* top = new QHBoxLayout;
    top->addWidget(icon);
    top->addWidget(version, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(ok, 0, Qt::AlignRight);
}
