#include "ui/main/CAboutDlg.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/util/CLangTable.h"
#include "core/util/TextUtility.h"
#include "platform/PromptService.h"
#include "platform/RegistryTypes.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/controls/CStaticIcon.h"
#include "ui/controls/QtPromptService.h"
#include "ui/main/ZarnProgramVersion.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QUrl>

#include <filesystem>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CAboutDlg::kTemplateId, 1300, 0, 0, 430, 156},
    {CAboutDlg::kIconId, 0, 18, 16, 32, 32},
    {CAboutDlg::kDescriptionId, 0, 70, 16, 230, 13},
    {CAboutDlg::kVersionId, 0, 70, 49, 230, 13},
    {CAboutDlg::kCopyrightId, 0, 70, 73, 230, 26},
    {CAboutDlg::kOkId, 10, 306, 46, 88, 23},
    {CAboutDlg::kSystemInfoId, 1302, 306, 78, 88, 23},
    {0, 0, 0, 0, 0, 0},
};

constexpr int kVersionFormatTextId = 1301;
constexpr int kCopyrightTextId = 1303;
constexpr int kNoSystemInfoTextId = 10012;

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    auto* icon = new CStaticIcon(this);
    icon->SetIcon(QApplication::windowIcon().isNull() ? style()->standardIcon(QStyle::SP_MessageBoxInformation)
                                                      : QApplication::windowIcon(),
                  32, 32);
    controls_[kIconId] = icon;
    controls_[kDescriptionId] = new QLabel(this);
    controls_[kVersionId] = new QLabel(this);
    auto* copyright = new QLabel(this);
    copyright->setWordWrap(true);
    controls_[kCopyrightId] = copyright;
    auto* ok = new QPushButton(this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    controls_[kOkId] = ok;
    auto* info = new QPushButton(this);
    info->setAutoDefault(false);
    connect(info, &QPushButton::clicked, this, [this] { OnSystemInfo(); });
    controls_[kSystemInfoId] = info;
}

CAboutDlg::~CAboutDlg() = default;

QWidget* CAboutDlg::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

int CAboutDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

std::string CAboutDlg::GetFileVersion()
{
    std::string version;
    for (const char c : ZarnProgramVersion::Text()) {
        if (c != ',' && c != ' ') {
            version.push_back(c);
        }
    }
    return version;
}

std::string CAboutDlg::GetFileDescription()
{
    return "Zarndesk";
}

BOOL CAboutDlg::OnInitDialog()
{
    if (initialised_) {
        return TRUE;
    }
    initialised_ = true;
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    static_cast<QLabel*>(controls_[kDescriptionId])->setText(CKZARN_Common::ToWidgetText(GetFileDescription()));
    static_cast<QLabel*>(controls_[kVersionId])
        ->setText(CKZARN_Common::ToWidgetText(ReplaceAll(GetLangString(kVersionFormatTextId), "%s", GetFileVersion())));
    static_cast<QLabel*>(controls_[kCopyrightId])->setText(CKZARN_Common::ToWidgetText(GetLangString(kCopyrightTextId)));
    return TRUE;
}

std::string CAboutDlg::OnSystemInfo()
{
    std::string path = CKZARN_Common::RegReadString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH");
    if (path.empty()) {
        path = CKZARN_Common::RegReadString(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO");
        if (!path.empty()) {
            path += "/MSINFO32.EXE"; // the folder separator of this platform
            std::error_code error;
            if (!std::filesystem::is_regular_file(path, error)) {
                path.clear();
            }
        }
    }
    if (path.empty()) {
        QtPromptService::Current().MessageBox(QtMessageSink::Instance().FindHandle(this),
                                              GetLangString(kNoSystemInfoTextId), GetLangString(1000),
                                              MB_OK | MB_ICONEXCLAMATION);
        return path;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(path)));
    return path;
}
