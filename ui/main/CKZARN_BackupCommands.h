// The main window's commands that move a meter's whole profile memory: receive it into a backup
// file, send a backup file into the meter, show a backup file, restore the meter's factory profiles,
// and the initial-levels dialog. Every meter command runs under the facade's progress dialog, which
// reports a failure itself.
#pragma once

#include <string>

class CKZARN_MainProfileForm;
class CKZARN_TransferData;
class QWidget;

class CKZARN_BackupCommands {
public:
    static void ReceiveBackup();
    // The page (may be null) reads the meter's names again after a send.
    static void SendBackup(CKZARN_MainProfileForm* page);
    static void ViewBackup(QWidget* parent);
    // resetFile: the reset file of the T-310 family (KZARN_Reset.csv in the program folder).
    static void Reset(CKZARN_MainProfileForm* page, const std::string& resetFile);
    static void InitialLevels(QWidget* parent);

    // The family of the connected meter's model text (0 T-310, 1 T-140, 2 T-520), -1 for none.
    static int FamilyOfModel(const std::string& model);
    // Reads a backup file; 0, or the text id of the failure (6043 not opened, 6044 not readable).
    static int ReadBackupFile(const std::string& path, CKZARN_TransferData* table);
};
