// The downloader's settings dialog: the COM port of a T-310 and the firmware images to play (main
// image and the three radio-module images), remembered in the registry between runs.
#pragma once

#include "platform/WinTypes.h"

#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include <functional>
#include <string>
#include <vector>

class CZarnflashFileselectDlg : public QDialog {
    Q_OBJECT
public:
    explicit CZarnflashFileselectDlg(QWidget* parent = nullptr);

    // 1 (IDOK) after a confirmed choice, 2 (IDCANCEL) after Cancel.
    int DoModal();
    BOOL OnInitDialog();
    void InitControls();
    void LoadSettings();
    void FillPortList();
    void OnOK();
    void OnCancel();
    void StorePort();
    void OnBrowseMain();
    void OnBrowseRadioApp();
    void OnBrowseRadioLoader();
    void OnBrowseRadioLoaderUpdater();
    // The file types a browse button offers (1000 main, 1001 radio application, 1002 radio loader,
    // 1003 radio loader updater), in order, each a description ending in its pattern in brackets.
    static std::vector<std::string> FileFilters(int button);
    // The file type a browse button starts on: the one made for the meter model, else the first.
    static std::string InitialFilter(int button, const std::string& model);
    void OnDropDownPort() {}

    // The COM ports of the meter's virtual serial device now present (tests replace it).
    std::function<std::vector<std::string>()> portLister;

    QComboBox* PortCombo() const { return port_; }
    QLineEdit* MainEdit() const { return main_; }
    QLineEdit* AppEdit() const { return app_; }
    QLineEdit* LoaderEdit() const { return loader_; }
    QLineEdit* UpdaterEdit() const { return updater_; }
    int Result() const { return result_; }

    // The model of the attached meter (empty when none), set by the owner before the dialog runs.
    std::string meterModel;
    std::string mainFolder, mainName, appFolder, appName, loaderFolder, loaderName, updaterFolder, updaterName, port;

private:
    void Browse(std::string& folder, std::string& name, QLineEdit* edit, int button);
    void End(int result);

    QComboBox* port_ = nullptr;
    QLineEdit* main_ = nullptr;
    QLineEdit* app_ = nullptr;
    QLineEdit* loader_ = nullptr;
    QLineEdit* updater_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    std::vector<QWidget*> labels_;
    int result_ = 0;
};
