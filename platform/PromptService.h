// Every question and notice a window shows goes through this service, so that tests can answer
// it. The program installs the Qt implementation at start-up; tests install a scripted one.
#pragma once

#include "platform/WinTypes.h"
#include "platform/WindowHandle.h"

#include <string>
#include <vector>

// Buttons, icons and default button of a message box, and its answers. The numbers are fixed
// because callers combine one of each group with | and stored answers compare against them.
constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_ICONSTOP = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONMASK = 0xF0;
constexpr UINT MB_DEFMASK = 0xF00;

constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// System icons by resource number.
constexpr int IDI_HAND = 32513;
constexpr int IDI_QUESTION = 32514;
constexpr int IDI_EXCLAMATION = 32515;
constexpr int IDI_WARNING = 32515;
constexpr int IDI_ASTERISK = 32516;

class PromptService {
public:
    virtual ~PromptService() = default;

    // A message box over the owner (null: no owner): returns IDOK, IDCANCEL, IDYES or IDNO.
    virtual int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT type) = 0;

    // The four-button question: texts are caption, message and the four button labels; icon a
    // system icon number; defaultResult 257..260 names the default button. Returns 257..260 for
    // the buttons and 256 when cancelled.
    virtual int AskFourButtons(HWND owner, const std::vector<std::string>& texts, int icon, int defaultResult) = 0;

    // The installed service (null until one is installed); the program and tests install theirs.
    static PromptService* Installed();
    static void Install(PromptService* service);
};
