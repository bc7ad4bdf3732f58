// Where the program's file dialogs start (opening and saving files, printing to a file): the folder
// of the last file chosen in one of them during this run, else the user's documents folder (the
// home folder when the desktop names none or it is missing). The working folder is never proposed:
// it is wherever the program happened to be started from.
#pragma once

#include <QString>

class ZarnFileDialogFolder {
public:
    // The folder to start in; it exists.
    static QString Start();
    // The file name in the start folder, as a save or print-to-file dialog proposes it.
    static QString Proposal(const QString& fileName);
    // Notes the folder of a chosen file as the last used; an empty path changes nothing.
    static void Remember(const QString& chosenFile);
    // Forgets the last folder.
    static void Forget();
};
