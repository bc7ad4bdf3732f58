// The About box names the program's version in the form the update page shows it.
#include "ui/main/CAboutDlg.h"

#include "core/util/CLangTable.h"
#include "ui/main/CKZARN_MainUpdateImplDialog.h"

#include <QLabel>
#include <QRegularExpression>
#include <gtest/gtest.h>

TEST(AboutBox, ShowsTheVersionAsTheUpdatePageDoes)
{
    const QString version = QString::fromStdString(CKZARN_MainUpdateImplDialog::OwnVersionText());
    // "%d.%d%d": 1.0.0 reads 1.00.
    const QRegularExpression form(QStringLiteral("^\\d+\\.\\d\\d+$"));
    EXPECT_TRUE(form.match(version).hasMatch()) << version.toStdString();
    CAboutDlg about;
    about.OnInitDialog();
    auto* label = qobject_cast<QLabel*>(about.FindControl(CAboutDlg::kVersionId));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QString::fromStdString(GetLangString(1301)).replace(QStringLiteral("%s"), version));
}
