// Pages printed to PDF and read back, the previews and the print dialog's button.
#include "ui/views/CKZARN_ChartPreviewDialog.h"
#include "ui/views/CKZARN_CustomPrintDialog.h"
#include "ui/views/CKZARN_GraphPreviewDialog.h"
#include "ui/views/ZarnPrintHost.h"

#include "tests/support/ScratchFolder.h"
#include "tests/support/ScratchHome.h"
#include "tests/support/ScriptedPromptService.h"
#include "core/ZarnFileDialogFolder.h"
#include "core/util/CLangTable.h"
#include "tests/ui/views/PdfPageProbe.h"
#include "tests/ui/views/ViewImageProbe.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace {

struct PrintRig {
    ScratchFolder folder;
    ZarnPrintHost host;
    ScriptedPromptService prompts;

    QString Pdf(const char* name) const { return QString::fromStdString(folder.Path() + "/" + name); }
};

std::vector<CET_ChartData*> Rows(std::vector<std::unique_ptr<CET_ChartData>>& owned)
{
    std::vector<CET_ChartData*> rows;
    for (int i = 0; i < 67; ++i) {
        owned.push_back(std::make_unique<CET_ChartData>());
        owned.back()->iso = i + 3;
        owned.back()->hasValues = 1;
        owned.back()->values[2] = 0.5;
        rows.push_back(owned.back().get());
    }
    return rows;
}

const std::vector<std::string> kTitles = {"Profile", "Light", "Metering", "Studio", "Flash", "Incident"};
const std::vector<std::string> kHeaders = {"ISO", "CPM", "DRM", "CNT", "DRP", "CPP"};

} // namespace

TEST(ZarnPrinting, GraphPageIsLandscapeAndKeepsItsMargins)
{
    PrintRig rig;
    rig.host.SetOutputFile(rig.Pdf("graph.pdf"));
    CharacteristicPoints points;
    CET_GraphLine curve;
    curve.colour = 0x800000;
    curve.points = {{-6.0, 0.0, 0}, {0.0, 118.0, 1}, {6.0, 255.0, 1}};
    std::vector<CET_GraphLine*> curves{&curve};
    CET_GraphDrawInfo info{"Profile", "Studio", 0};
    std::vector<CET_GraphDrawInfo*> infos{&info};
    // Layout 0: the plot keeps a margin of its own on the right, so nothing may reach the 16 mm border.
    EXPECT_EQ(rig.host.PrintGraphPage("Title", "EV", "Level", &curves, &points, 0, nullptr, &infos, nullptr), TRUE);
    EXPECT_TRUE(rig.prompts.Prompts().empty());
    const std::string pdf = RunTool(QStringLiteral("pdfinfo"), {rig.Pdf("graph.pdf")});
    const std::size_t pages = pdf.find("Pages:");
    ASSERT_NE(pages, std::string::npos) << pdf;
    EXPECT_EQ(std::stoi(pdf.substr(pages + 6)), 1);
    EXPECT_NE(pdf.find("842 x 595 pts"), std::string::npos) << pdf;
    const QImage page = RenderPdf(rig.Pdf("graph.pdf"), rig.Pdf("graph"));
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(page.width(), page.height());
    // 16 mm at 50 dpi is 31.5 pixels; allow one pixel of rendering spill.
    EXPECT_FALSE(InkNearEdges(page, 30));
    // Something was drawn: the plot's grey area.
    EXPECT_GT(CountColour(page, 0xC0C0C0), 1000);
}

TEST(ZarnPrinting, ChartPageIsPortraitAndKeepsItsMargins)
{
    PrintRig rig;
    rig.host.SetOutputFile(rig.Pdf("table.pdf"));
    std::vector<std::unique_ptr<CET_ChartData>> owned;
    EXPECT_EQ(rig.host.PrintChartPage(kTitles, kHeaders, Rows(owned), 0xFFFFFF, 0xE1E1E1), TRUE);
    const std::string pdf = RunTool(QStringLiteral("pdfinfo"), {rig.Pdf("table.pdf")});
    EXPECT_NE(pdf.find("595 x 842 pts"), std::string::npos) << pdf;
    const QImage page = RenderPdf(rig.Pdf("table.pdf"), rig.Pdf("table"));
    ASSERT_FALSE(page.isNull());
    EXPECT_LT(page.width(), page.height());
    EXPECT_FALSE(InkNearEdges(page, 30));
    EXPECT_GT(CountColour(page, 0xE1E1E1), 500);
}

TEST(ZarnPrinting, FailuresAreToldAndReturnFalse)
{
    PrintRig rig;
    CharacteristicPoints points;
    // No printer at all.
    EXPECT_EQ(rig.host.PrintGraphPage("t", "x", "y", nullptr, &points, 0, nullptr, nullptr, nullptr), FALSE);
    // A file that cannot be written.
    rig.host.SetOutputFile(QStringLiteral("/nonexistent-folder/page.pdf"));
    std::vector<std::unique_ptr<CET_ChartData>> owned;
    EXPECT_EQ(rig.host.PrintChartPage(kTitles, kHeaders, Rows(owned), 0xFFFFFF, 0xE1E1E1), FALSE);
    ASSERT_EQ(rig.prompts.Prompts().size(), 2u);
    EXPECT_EQ(rig.prompts.Prompts()[0].text, GetLangString(ZarnPrintHost::kNoPrinterTextId));
    EXPECT_EQ(rig.prompts.Prompts()[1].text, GetLangString(ZarnPrintHost::kPrintFailedTextId));
    EXPECT_EQ(rig.prompts.Prompts()[1].type, MB_OK | MB_ICONEXCLAMATION);
    EXPECT_FALSE(GetLangString(ZarnPrintHost::kPrintFailedTextId).empty());
}

TEST(ZarnPrinting, PreviewsImitateThePrintersPage)
{
    PrintRig rig;
    rig.host.SetOutputFile(rig.Pdf("unused.pdf"));
    CKZARN_GraphPreviewDialog graph(nullptr, &rig.host);
    CharacteristicPoints points;
    graph.SetGraph("t", "x", "y", nullptr, &points, 0, nullptr, 30, 15);
    ASSERT_EQ(graph.OnInitDialog(), TRUE);
    EXPECT_EQ(graph.windowTitle().toStdString(), GetLangString(126));
    EXPECT_EQ(graph.FindControl(CKZARN_GraphPreviewDialog::kWindowId), &graph.m_wndGraph);
    const QRect page = graph.m_wndGraph.geometry();
    EXPECT_NEAR(static_cast<double>(page.width()) / page.height(), 297.0 / 210.0, 0.01);
    // The page fills the area 10 pixels inside the dialog in one direction.
    EXPECT_TRUE(page.height() == graph.height() - 20 || page.width() == graph.width() - 20);
    EXPECT_LE(page.width(), graph.width() - 20);
    const RECT printable = graph.m_wndGraph.m_rcPage;
    const int margin = static_cast<int>(16.0 / 297.0 * page.width());
    EXPECT_NEAR(printable.left, margin, 1);
    EXPECT_NEAR(page.width() - printable.right, margin, 1);

    CKZARN_ChartPreviewDialog chart(nullptr, &rig.host);
    ASSERT_EQ(chart.OnInitDialog(), TRUE);
    const QRect portrait = chart.m_wndChart.geometry();
    EXPECT_NEAR(static_cast<double>(portrait.height()) / portrait.width(), 297.0 / 210.0, 0.01);
}

TEST(ZarnPrinting, PreviewsStayEmptyWithoutAPrinter)
{
    ZarnPrintHost none;
    CKZARN_GraphPreviewDialog graph(nullptr, &none);
    EXPECT_EQ(graph.OnInitDialog(), FALSE);
    EXPECT_EQ(graph.FindControl(CKZARN_GraphPreviewDialog::kWindowId), nullptr);
    EXPECT_NE(graph.m_wndGraph.parentWidget(), &graph);
    CKZARN_ChartPreviewDialog chart(nullptr, &none);
    EXPECT_EQ(chart.OnInitDialog(), FALSE);
}

namespace {

int PreviewTwice(CKZARN_CustomPrintDialog*, int value)
{
    return value * 2;
}

} // namespace

TEST(ZarnPrinting, PrintDialogPreviewButtonFollowsTheCallback)
{
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    CKZARN_CustomPrintDialog plain(FALSE, &printer);
    plain.OnInitDialog();
    ASSERT_NE(plain.m_btnPreview, nullptr);
    EXPECT_TRUE(plain.m_btnPreview->isHidden());
    EXPECT_EQ(plain.OnPreview(), 0);

    CKZARN_CustomPrintDialog withPreview(FALSE, &printer);
    withPreview.m_pfnPreview = PreviewTwice;
    withPreview.m_nCallerValue = 21;
    withPreview.OnInitDialog();
    EXPECT_FALSE(withPreview.m_btnPreview->isHidden());
    EXPECT_EQ(withPreview.m_btnPreview->text().toStdString(), GetLangString(126));
    EXPECT_EQ(withPreview.OnPreview(), 42);
}

namespace {

struct DialogVisit {
    bool sawButton = false;
    int previewResult = -1;
    bool accept = true;
};

DialogVisit* g_visit = nullptr;

int PreviewValue(CKZARN_CustomPrintDialog*, int value)
{
    return value + 1;
}

// Runs once the modal dialog is up: presses the preview button, then closes the dialog.
void VisitDialog()
{
    auto* dialog = qobject_cast<CKZARN_CustomPrintDialog*>(QApplication::activeModalWidget());
    if (!dialog || !g_visit) {
        QTimer::singleShot(0, VisitDialog);
        return;
    }
    g_visit->sawButton = dialog->m_btnPreview && !dialog->m_btnPreview->isHidden();
    g_visit->previewResult = dialog->OnPreview();
    if (g_visit->accept) {
        dialog->accept();
    } else {
        dialog->reject();
    }
}

} // namespace

TEST(ZarnPrinting, PrintDialogRunsOnTheCurrentPrinterAndKeepsTheChoice)
{
    for (bool accept : {true, false}) {
        PrintRig rig;
        rig.host.SetOutputFile(rig.Pdf("chosen.pdf"));
        DialogVisit visit;
        visit.accept = accept;
        g_visit = &visit;
        QTimer::singleShot(0, VisitDialog);
        const int result = rig.host.DoCustomPrintDialog(FALSE, PreviewValue, 41);
        g_visit = nullptr;
        EXPECT_EQ(result, accept ? IDOK : IDCANCEL);
        EXPECT_TRUE(visit.sawButton);
        EXPECT_EQ(visit.previewResult, 42);
        EXPECT_TRUE(rig.host.HasPrinter());
        EXPECT_EQ(rig.host.OutputFile(), rig.Pdf("chosen.pdf"));
    }
}

TEST(ZarnPrinting, PrintToFileProposesTheFileDialogsStartFolder)
{
    ScratchHome home;
    ZarnFileDialogFolder::Forget();
    std::filesystem::create_directories(home.File("Documents"));
    std::filesystem::create_directories(home.File("pages"));
    // Runs the dialog on the host and returns the file it proposes; accepts or cancels it.
    const auto proposed = [](ZarnPrintHost& host, bool accept) {
        QString text;
        QTimer::singleShot(0, [&text, accept]() {
            auto* dialog = qobject_cast<CKZARN_CustomPrintDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                ADD_FAILURE() << "no print dialog";
                return;
            }
            if (auto* field = dialog->findChild<QLineEdit*>(QStringLiteral("filename"))) {
                text = field->text();
            }
            if (accept) {
                dialog->accept();
            } else {
                dialog->reject();
            }
        });
        host.DoCustomPrintDialog(FALSE, nullptr, 0);
        return QDir::cleanPath(text);
    };
    // A printer without a file: the name is proposed in the documents folder, not the working folder.
    ZarnPrintHost none;
    EXPECT_EQ(proposed(none, false).toStdString(),
              home.File("Documents/" + QCoreApplication::applicationName().toStdString() + ".pdf"));
    // A file printed to is shown as it is, and its folder becomes the one the dialogs start in.
    ZarnPrintHost pdf;
    pdf.SetOutputFile(QString::fromStdString(home.File("pages/graph.pdf")));
    EXPECT_EQ(proposed(pdf, true).toStdString(), home.File("pages/graph.pdf"));
    EXPECT_EQ(ZarnFileDialogFolder::Start().toStdString(), home.File("pages"));
    ZarnFileDialogFolder::Forget();
}
