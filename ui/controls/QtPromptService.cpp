#include "ui/controls/QtPromptService.h"

#include "platform/qt/QtMessageSink.h"
#include "ui/controls/CMsg4ButtonDlg.h"

#include <QMessageBox>
#include <QPushButton>

PromptService& QtPromptService::Current()
{
    static QtPromptService own;
    PromptService* installed = PromptService::Installed();
    return installed != nullptr ? *installed : own;
}

QWidget* QtPromptService::OwnerWidget(HWND owner)
{
    return qobject_cast<QWidget*>(QtMessageSink::Instance().FindWindow(owner));
}

int QtPromptService::MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type)
{
    QMessageBox box(OwnerWidget(owner));
    box.setWindowTitle(QString::fromStdString(caption));
    box.setText(QString::fromStdString(text));
    switch (type & MB_ICONMASK) {
    case MB_ICONSTOP:
        box.setIcon(QMessageBox::Critical);
        break;
    case MB_ICONQUESTION:
        box.setIcon(QMessageBox::Question);
        break;
    case MB_ICONEXCLAMATION:
        box.setIcon(QMessageBox::Warning);
        break;
    case MB_ICONINFORMATION:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        break;
    }

    struct Choice {
        QMessageBox::StandardButton button;
        int answer;
    };
    std::vector<Choice> choices;
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL:
        choices = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_YESNOCANCEL:
        choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
    case MB_YESNO:
        choices = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
        break;
    default:
        choices = {{QMessageBox::Ok, IDOK}};
        break;
    }
    for (const Choice& choice : choices) {
        box.addButton(choice.button);
    }
    const std::size_t defaultIndex = (type & MB_DEFMASK) == MB_DEFBUTTON2 ? 1 : (type & MB_DEFMASK) == MB_DEFBUTTON3 ? 2 : 0;
    if (defaultIndex < choices.size()) {
        box.setDefaultButton(choices[defaultIndex].button);
    }
    const int pressed = box.exec();
    for (const Choice& choice : choices) {
        if (pressed == choice.button) {
            return choice.answer;
        }
    }
    // Closed without a button: Cancel where there is one, else the only or the No answer.
    const bool hasCancel = (type & MB_TYPEMASK) == MB_OKCANCEL || (type & MB_TYPEMASK) == MB_YESNOCANCEL;
    if (hasCancel) {
        return IDCANCEL;
    }
    return (type & MB_TYPEMASK) == MB_YESNO ? IDNO : IDOK;
}

int QtPromptService::AskFourButtons(HWND owner, const std::vector<std::string>& texts, int icon, int defaultResult)
{
    CMsg4ButtonDlg dialog(OwnerWidget(owner));
    dialog.SetTexts(texts);
    dialog.SetDefaultButton(defaultResult);
    dialog.SetSystemIcon(icon);
    return dialog.DoModal();
}
