#include "ui/ZarndeskMainWindow.h"

#include "core/CSplashWnd.h"
#include "ui/main/CKZARN_MainDlg.h"

ZarndeskMainWindow::ZarndeskMainWindow() : dialog_(std::make_unique<CKZARN_MainDlg>(nullptr))
{
    dialog_->SetSplashHook(this);
}

ZarndeskMainWindow::~ZarndeskMainWindow()
{
    dialog_->SetSplashHook(nullptr);
}

QWidget* ZarndeskMainWindow::Widget()
{
    return dialog_.get();
}

int ZarndeskMainWindow::DoModal()
{
    return dialog_->DoModal();
}

void ZarndeskMainWindow::DestroyWindow()
{
    dialog_->DestroyWindow();
}

int ZarndeskMainWindow::OnExternalProgramStarting(const std::string& file, const std::string& parameters)
{
    return dialog_->OnExternalProgramStarting(file, parameters);
}

LRESULT ZarndeskMainWindow::OnExternalProgramEnded(WPARAM wParam, LPARAM lParam)
{
    return dialog_->OnExternalProgramEnded(wParam, lParam);
}

void ZarndeskMainWindow::ShowSplashScreen(CKZARN_MainDlg* mainWindow)
{
    CSplashWnd::ShowSplashScreen(mainWindow);
}

BOOL ZarndeskMainWindow::ShowClosingSplash(CKZARN_MainDlg* mainWindow)
{
    CSplashWnd::EnableSplashScreen(TRUE, TRUE);
    return CSplashWnd::ShowSplashScreen(mainWindow);
}
