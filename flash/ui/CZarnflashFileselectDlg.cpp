#include "flash/ui/CZarnflashFileselectDlg.h"

#include "core/util/CLangTable.h"
#include "core/util/CRegistryHelper.h"
#include "core/util/PathUtility.h"
#include "platform/PromptService.h"
#include "platform/RegistryTypes.h"
#include "platform/UsbSerialPortFinder.h"

#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>

namespace {

const char kBaseKey[] = "SOFTWARE\\KESTRIN\\Zarndesk";

QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

// Dialog units of the template to pixels (about 1.5 pixels a unit across, 1.6 down).
QRect Du(int x, int y, int cx, int cy)
{
    return QRect(x * 3 / 2, y * 8 / 5, cx * 3 / 2, cy * 8 / 5);
}

} // namespace

CZarnflashFileselectDlg::CZarnflashFileselectDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName("CZarnflashFileselectDlg");
    // A caption and a modal frame, no system menu and so no close box: OK and Cancel end it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(Du(0, 0, 341, 202).size());
    auto label = [this](int id, QRect rect) {
        auto* l = new QLabel(this);
        l->setObjectName(QString::number(id));
        l->setGeometry(rect);
        labels_.push_back(l);
        return l;
    };
    auto edit = [this](int id, QRect rect) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::number(id));
        e->setGeometry(rect);
        return e;
    };
    auto button = [this](int id, QRect rect) {
        auto* b = new QPushButton(this);
        b->setObjectName(QString::number(id));
        b->setGeometry(rect);
        b->setAutoDefault(false);
        return b;
    };
    label(1007, Du(7, 23, 122, 10));
    port_ = new QComboBox(this);
    port_->setObjectName("1009");
    port_->setGeometry(Du(133, 21, 151, 12));
    label(1008, Du(7, 49, 121, 10));
    main_ = edit(1013, Du(133, 47, 151, 12));
    QPushButton* browseMain = button(1000, Du(287, 46, 17, 15));
    label(1019, Du(23, 67, 116, 10));
    auto* frame = new QGroupBox(this);
    frame->setGeometry(Du(13, 80, 309, 92));
    frame->lower();
    label(1010, Du(7, 94, 121, 12));
    app_ = edit(1016, Du(133, 93, 151, 12));
    QPushButton* browseApp = button(1001, Du(287, 91, 17, 15));
    label(1011, Du(7, 120, 121, 12));
    loader_ = edit(1017, Du(133, 119, 151, 12));
    QPushButton* browseLoader = button(1002, Du(287, 117, 17, 15));
    label(1012, Du(7, 146, 121, 14));
    updater_ = edit(1018, Du(133, 145, 151, 12));
    QPushButton* browseUpdater = button(1003, Du(287, 143, 17, 15));
    ok_ = button(1014, Du(227, 181, 50, 14));
    ok_->setDefault(true);
    cancel_ = button(1015, Du(284, 181, 50, 14));
    for (QWidget* w : labels_) w->raise();

    connect(ok_, &QPushButton::clicked, this, [this] { OnOK(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { OnCancel(); });
    connect(browseMain, &QPushButton::clicked, this, [this] { OnBrowseMain(); });
    connect(browseApp, &QPushButton::clicked, this, [this] { OnBrowseRadioApp(); });
    connect(browseLoader, &QPushButton::clicked, this, [this] { OnBrowseRadioLoader(); });
    connect(browseUpdater, &QPushButton::clicked, this, [this] { OnBrowseRadioLoaderUpdater(); });

    portLister = [] { return UsbSerialPortFinder().FindPorts(0x1F3C, 0x7001, 0); };
}

int CZarnflashFileselectDlg::DoModal()
{
    OnInitDialog();
    exec();
    return result_ == 0 ? IDCANCEL : result_;
}

BOOL CZarnflashFileselectDlg::OnInitDialog()
{
    InitControls();
    LoadSettings();
    return TRUE;
}

void CZarnflashFileselectDlg::InitControls()
{
    setWindowTitle(Q(GetLangString(50115)));
    const struct {
        const char* name;
        int text;
    } texts[] = {{"1007", 50113}, {"1008", 50114}, {"1014", 10},    {"1015", 11},    {"1000", 123}, {"1010", 50120},
                 {"1001", 123},   {"1011", 50121}, {"1002", 123},   {"1012", 50122}, {"1003", 123}, {"1019", 50124}};
    for (const auto& t : texts) {
        QWidget* w = findChild<QWidget*>(t.name);
        if (auto* l = qobject_cast<QLabel*>(w)) l->setText(Q(GetLangString(t.text)));
        if (auto* b = qobject_cast<QPushButton*>(w)) b->setText(Q(GetLangString(t.text)));
    }
}

void CZarnflashFileselectDlg::LoadSettings()
{
    CRegistryHelper registry(HKEY_LOCAL_MACHINE, 1);
    registry.PushKey(kBaseKey);
    const std::string main = registry.GetString("Last Update Firmware File", "");
    main_->setText(Q(main));
    SplitFolderAndName(main, mainFolder, mainName);
    port_->clear();
    port_->addItem(Q(GetLangString(50116)));
    const std::string stored = registry.GetString("Last Update Port", "");
    const std::vector<std::string> present = portLister ? portLister() : std::vector<std::string>();
    // A remembered port is offered only while it belongs to the meter attached now.
    bool storedPresent = false;
    for (const std::string& p : present) storedPresent = storedPresent || p == stored;
    if (!stored.empty() && storedPresent) port_->insertItem(0, Q(stored));
    app_->setText(Q(registry.GetString("Last Update RF Application Firmware File", "")));
    loader_->setText(Q(registry.GetString("Last Update RF Loader Firmware File", "")));
    updater_->setText(Q(registry.GetString("Last Update RF Loader Update Firmware File", "")));
    FillPortList();
    port_->setCurrentIndex(0);
}

void CZarnflashFileselectDlg::FillPortList()
{
    const std::vector<std::string> present = portLister ? portLister() : std::vector<std::string>();
    const int fixed = port_->count();
    std::vector<std::string> sorted(present);
    std::sort(sorted.begin(), sorted.end());
    for (const std::string& p : sorted) {
        if (port_->findText(Q(p)) < 0) port_->insertItem(port_->count(), Q(p));
    }
    (void)fixed;
}

void CZarnflashFileselectDlg::OnOK()
{
    SplitFolderAndName(main_->text().toStdString(), mainFolder, mainName);
    SplitFolderAndName(app_->text().toStdString(), appFolder, appName);
    SplitFolderAndName(loader_->text().toStdString(), loaderFolder, loaderName);
    SplitFolderAndName(updater_->text().toStdString(), updaterFolder, updaterName);
    const bool app = !app_->text().isEmpty(), loader = !loader_->text().isEmpty(),
               updater = !updater_->text().isEmpty();
    if ((!loader && !updater) || (app && loader && updater)) {
        StorePort();
        End(IDOK);
        return;
    }
    if (PromptService* prompts = PromptService::Installed()) {
        prompts->MessageBox(HWND{}, GetLangString(50123), "", MB_OK);
    }
}

void CZarnflashFileselectDlg::OnCancel()
{
    End(IDCANCEL);
}

void CZarnflashFileselectDlg::StorePort()
{
    const std::string text = port_->currentText().toStdString();
    port = text == GetLangString(50116) ? std::string() : text;
}

void CZarnflashFileselectDlg::End(int result)
{
    result_ = result;
    done(result);
}

void CZarnflashFileselectDlg::Browse(std::string& folder, std::string& name, QLineEdit* edit, int button)
{
    QStringList list;
    for (const std::string& f : FileFilters(button)) list << Q(f);
    // Started on the attached meter's file type, so its files are listed and Open works at once.
    QString selected = Q(InitialFilter(button, meterModel));
    const QString chosen =
        QFileDialog::getOpenFileName(this, QString(), Q(folder + name), list.join(";;"), &selected);
    if (chosen.isEmpty()) return;
    SplitFolderAndName(chosen.toStdString(), folder, name);
    edit->setText(chosen);
}

std::vector<std::string> CZarnflashFileselectDlg::FileFilters(int button)
{
    // The file dialog takes the pattern from the brackets that end each description.
    switch (button) {
    case 1000:
        return {"T-520D Download File(QP52*.dlf)", "T-310D/DR Download File(QK85*.dlf)",
                "T-310CINE Download File(QN41*.dlf)", "T-140D/DR Download File(QM63*.dlf)"};
    case 1001: return {"T-520D RF App Download File(QP52*A.dlf)", "T-140DR RF App Download File(QM63*A.dlf)"};
    case 1002: return {"T-520D RF Loader Download File(QP52*L.dlf)", "T-140DR RF Loader Download File(QM63*L.dlf)"};
    case 1003:
        return {"T-520D  RF Loader Updater Download File(QP52*U.dlf)",
                "T-140DR RF Loader Updater Download File(QM63*U.dlf)"};
    default: return {};
    }
}

std::string CZarnflashFileselectDlg::InitialFilter(int button, const std::string& model)
{
    const std::vector<std::string> filters = FileFilters(button);
    if (filters.empty()) return {};
    // Each type names its models at its start: "T-520D", "T-310D/DR", "T-310CINE", "T-140D/DR" or
    // "T-140DR"; every T-140 model takes the T-140 type.
    std::string family = model;
    if (model.rfind("T-140", 0) == 0) family = "T-140";
    if (!family.empty()) {
        for (const std::string& f : filters) {
            if (f.rfind(family, 0) == 0) return f;
        }
    }
    return filters.front();
}

void CZarnflashFileselectDlg::OnBrowseMain()
{
    Browse(mainFolder, mainName, main_, 1000);
}

void CZarnflashFileselectDlg::OnBrowseRadioApp()
{
    Browse(appFolder, appName, app_, 1001);
}

void CZarnflashFileselectDlg::OnBrowseRadioLoader()
{
    Browse(loaderFolder, loaderName, loader_, 1002);
}

void CZarnflashFileselectDlg::OnBrowseRadioLoaderUpdater()
{
    Browse(updaterFolder, updaterName, updater_, 1003);
}
