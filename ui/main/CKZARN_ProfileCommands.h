// The main window's commands on profile files: NEW, REF and EDIT (each through the selection dialog,
// opening the wizard, the editor, the manual entry or the reference views), import, export (also as
// format version 2), delete, rename, and opening the user's guide. Each command is one modal
// sequence on the user-interface thread; its windows come from CKZARN_ProfileWindows.
#pragma once

#include "platform/WinTypes.h"

#include <string>

class CKZARN_MainProfileForm;
class QWidget;

class CKZARN_ProfileCommands {
public:
    static void RunNew(CKZARN_MainProfileForm* page);
    static void RunRef(CKZARN_MainProfileForm* page);
    static void RunEdit(CKZARN_MainProfileForm* page);
    // The menu's commands; the page (may be null) lists the Profile folder again afterwards.
    static void Import(QWidget* owner, CKZARN_MainProfileForm* page);
    static void Export(QWidget* owner);
    static void Delete(QWidget* owner, CKZARN_MainProfileForm* page);
    static void Rename(QWidget* owner, CKZARN_MainProfileForm* page);
    // Renames the profile file of one name to another, never over another profile's file (a change of
    // letter case only renames the file when no other spelling of the name exists). 0 when renamed,
    // else the id of the text that tells why not: kTextNameExists or kTextRenameFailed.
    static constexpr int kTextNameExists = 10003;
    static constexpr int kTextRenameFailed = 6009;
    static int MoveProfile(const std::string& oldName, const std::string& newName);
    // The guide at path (the application's guide path).
    static void OpenGuide(const std::string& path);
};
