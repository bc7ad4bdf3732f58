// The yardstick of the start-up benchmark: a bare Qt program with a main window of the same kind as
// Zarndesk's (a fixed-size dialog with a menu bar and four tab pages). It writes the same line as
// Zarndesk's start-up trace when the window is first painted.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenuBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cstdio>

namespace {

class BareDialog final : public QDialog {
public:
    BareDialog()
    {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* menu = new QMenuBar(this);
        for (const char* title : {"&Profile", "&Edit", "&Option", "&Help"}) menu->addMenu(title)->addAction("Item");
        layout->setMenuBar(menu);
        auto* tabs = new QTabWidget(this);
        for (const char* title : {"Profiles", "Custom Functions", "User Settings", "Updates"}) {
            tabs->addTab(new QLabel(title), title);
        }
        layout->addWidget(tabs);
        setFixedSize(570, 690);
    }

protected:
    void paintEvent(QPaintEvent* event) override
    {
        if (!painted_) {
            painted_ = true;
            std::fprintf(stderr, "zarn-startup: 0 main window shown\n");
            std::fflush(stderr);
        }
        QDialog::paintEvent(event);
    }

private:
    bool painted_ = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    BareDialog dialog;
    return dialog.exec();
}
