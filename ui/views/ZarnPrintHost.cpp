#include "ui/views/ZarnPrintHost.h"

#include "core/ZarnFileDialogFolder.h"
#include "core/util/CLangTable.h"
#include "platform/PromptService.h"
#include "ui/views/CET_ChartDraw.h"
#include "ui/views/CET_GraphDraw.h"
#include "ui/views/CKZARN_CustomPrintDialog.h"
#include "ui/views/ZarnFontBuilder.h"

#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cfenv>

ZarnPrintHost::ZarnPrintHost(const ZarnFontBuilder* fonts) : fonts_(fonts ? fonts : &ZarnFontBuilder::Default()) {}

ZarnPrintHost& ZarnPrintHost::Instance()
{
    static ZarnPrintHost host = [] {
        ZarnPrintHost h;
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (!info.isNull()) {
            h.SetPrinterName(info.printerName());
        }
        return h;
    }();
    return host;
}

bool ZarnPrintHost::GetPrinterDefaults(QPrinter& printer, QPageLayout::Orientation orientation) const
{
    if (!HasPrinter()) {
        return false;
    }
    if (!outputFile_.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(outputFile_);
    } else {
        printer.setOutputFormat(QPrinter::NativeFormat);
        printer.setPrinterName(printerName_);
        if (!printer.isValid()) {
            return false;
        }
    }
    printer.setResolution(resolution_);
    printer.setPageSize(pageSize_);
    printer.setPageOrientation(orientation);
    printer.setDocName(QCoreApplication::applicationName());
    return true;
}

PageGeometry ZarnPrintHost::GeometryOf(const QPrinter& printer)
{
    const int dpi = printer.resolution();
    const QPageLayout layout = printer.pageLayout();
    const QRect full = layout.fullRectPixels(dpi);
    const QMargins margins = layout.marginsPixels(dpi);
    PageGeometry page;
    page.pageW = full.width();
    page.pageH = full.height();
    page.offX = margins.left();
    page.offY = margins.top();
    page.printW = full.width() - margins.left() - margins.right();
    page.printH = full.height() - margins.top() - margins.bottom();
    page.dpiX = printer.logicalDpiX();
    page.dpiY = printer.logicalDpiY();
    return page;
}

int ZarnPrintHost::DoCustomPrintDialog(BOOL setupOnly, PrintPreviewCallback callback, int callerValue,
                                       QWidget* parent)
{
    QPrinter printer(QPrinter::HighResolution);
    GetPrinterDefaults(printer, QPageLayout::Portrait);
    std::fenv_t floatingPoint;
    std::fegetenv(&floatingPoint);
    CKZARN_CustomPrintDialog dialog(setupOnly, &printer, parent);
    dialog.m_pfnPreview = callback;
    dialog.m_nCallerValue = callerValue;
    const int result = dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
    std::fesetenv(&floatingPoint);
    if (result == IDOK) {
        // The printer chosen in the dialog stays the current one.
        if (printer.outputFormat() == QPrinter::PdfFormat || !printer.outputFileName().isEmpty()) {
            outputFile_ = printer.outputFileName();
            printerName_.clear();
            ZarnFileDialogFolder::Remember(outputFile_);
        } else {
            printerName_ = printer.printerName();
            outputFile_.clear();
        }
        pageSize_ = printer.pageLayout().pageSize();
    }
    return result;
}

namespace {

struct ChartJob {
    const ZarnFontBuilder* fonts;
    const std::vector<std::string>* titles;
    const std::vector<std::string>* headers;
    const std::vector<CET_ChartData*>* rows;
    COLORREF background;
    COLORREF header;
};

struct GraphJob {
    const ZarnFontBuilder* fonts;
    const std::string* titles[3];
    const std::vector<CET_GraphLine*>* curves;
    const CharacteristicPoints* points;
    int layout;
    const CET_GraphStyle* style;
    const std::vector<CET_GraphDrawInfo*>* infos;
    const std::vector<CET_GraphLine*>* lines;
};

void PaintChartPage(QPainter& painter, const RECT& r, const void* job)
{
    const auto& j = *static_cast<const ChartJob*>(job);
    CET_ChartDraw chart(j.fonts);
    chart.SetData(0, *j.titles, *j.headers, *j.rows, j.background, j.header, 0xF0F0F0);
    chart.Draw(painter, r.left, r.top, r.right, r.bottom);
}

void PaintGraphPage(QPainter& painter, const RECT& r, const void* job)
{
    const auto& j = *static_cast<const GraphJob*>(job);
    CET_GraphDraw graph(j.fonts);
    graph.SetGraph(CET_GraphDraw::kPrinter, *j.titles[0], *j.titles[1], *j.titles[2], j.curves, j.points, j.layout,
                   j.style, 30, 15);
    if (j.infos) {
        graph.SetDrawInfos(j.infos);
    }
    if (j.lines) {
        graph.SetLines(j.lines);
    }
    graph.Draw(painter, r);
}

} // namespace

BOOL ZarnPrintHost::PrintChartPage(const std::vector<std::string>& titles, const std::vector<std::string>& headers,
                                   const std::vector<CET_ChartData*>& rows, COLORREF background, COLORREF header)
{
    const ChartJob job{fonts_, &titles, &headers, &rows, background, header};
    return PrintPage(QPageLayout::Portrait, PaintChartPage, &job);
}

BOOL ZarnPrintHost::PrintGraphPage(const std::string& title1, const std::string& title2, const std::string& title3,
                                   const std::vector<CET_GraphLine*>* curves, const CharacteristicPoints* points,
                                   int layout, const CET_GraphStyle* style,
                                   const std::vector<CET_GraphDrawInfo*>* infos,
                                   const std::vector<CET_GraphLine*>* lines)
{
    const GraphJob job{fonts_, {&title1, &title2, &title3}, curves, points, layout, style, infos, lines};
    return PrintPage(QPageLayout::Landscape, PaintGraphPage, &job);
}

BOOL ZarnPrintHost::PrintPage(QPageLayout::Orientation orientation, PagePainter paint, const void* job)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!GetPrinterDefaults(printer, orientation)) {
        Report(kNoPrinterTextId);
        return FALSE;
    }
    const PageGeometry page = GeometryOf(printer);
    // The painter works in page coordinates; the printable rectangle keeps 16 mm or the printer's own
    // margin on every side, the sides measured with the horizontal resolution.
    printer.setFullPage(true);
    QPainter painter;
    if (!painter.begin(&printer)) {
        Report(kPrintFailedTextId);
        return FALSE;
    }
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    paint(painter, PrintableRectOnPage(page), job);
    if (!painter.end()) {
        printer.abort();
        Report(kPrintFailedTextId);
        return FALSE;
    }
    return TRUE;
}

void ZarnPrintHost::Report(int textId) const
{
    if (PromptService* prompts = PromptService::Installed()) {
        prompts->MessageBox(HWND(), GetLangString(textId), QCoreApplication::applicationName().toStdString(),
                            MB_OK | MB_ICONEXCLAMATION);
    }
}
