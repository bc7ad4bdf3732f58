// The program's one current printer and the routines that print on it: the print dialog with its
// preview button, one data-table page (portrait) and one graph page (landscape). The dialog keeps the
// printer chosen in it as the current one; the previews and the page routines read it. Printing to a
// PDF file counts as a printer, which is how a user without a printer prints.
// Every failure is told to the user through the prompt service; the routines return FALSE then.
#pragma once

#include "platform/WinTypes.h"
#include "ui/views/CET_ChartData.h"
#include "ui/views/CET_GraphDrawInfo.h"
#include "ui/views/CET_GraphLine.h"
#include "ui/views/CET_GraphStyle.h"
#include "ui/views/CharacteristicPoints.h"
#include "ui/views/ZarnDrawing.h"

#include <QPageLayout>
#include <QPageSize>
#include <QString>

#include <string>
#include <vector>

class CKZARN_CustomPrintDialog;
class QPrinter;
class QWidget;
class ZarnFontBuilder;

// Opens a preview over the print dialog: (dialog, caller value) -> result.
using PrintPreviewCallback = int (*)(CKZARN_CustomPrintDialog* dialog, int callerValue);

class ZarnPrintHost {
public:
    static constexpr int kPrintFailedTextId = 12900;
    static constexpr int kNoPrinterTextId = 12901;

    // fonts: the renderers' base font and reference resolution (null: the default builder).
    explicit ZarnPrintHost(const ZarnFontBuilder* fonts = nullptr);

    // The program's host, starting on the system's default printer when there is one.
    static ZarnPrintHost& Instance();

    // The current printer: a named printer, or a PDF file when the output file is set.
    void SetPrinterName(const QString& name) { printerName_ = name; }
    void SetOutputFile(const QString& path) { outputFile_ = path; }
    void SetPageSize(const QPageSize& size) { pageSize_ = size; }
    void SetResolution(int dpi) { resolution_ = dpi; }
    const QString& PrinterName() const { return printerName_; }
    const QString& OutputFile() const { return outputFile_; }
    bool HasPrinter() const { return !printerName_.isEmpty() || !outputFile_.isEmpty(); }

    // Sets up the printer from the current one with the orientation; false when there is none.
    bool GetPrinterDefaults(QPrinter& printer, QPageLayout::Orientation orientation) const;
    // Page size, unprintable margins and resolution of a set-up printer, in device pixels.
    static PageGeometry GeometryOf(const QPrinter& printer);

    // Runs the print dialog on the current printer; on OK the printer chosen becomes the current one.
    // Returns IDOK or IDCANCEL.
    int DoCustomPrintDialog(BOOL setupOnly, PrintPreviewCallback callback, int callerValue,
                            QWidget* parent = nullptr);

    // One portrait page with the data table; TRUE when the page was printed.
    BOOL PrintChartPage(const std::vector<std::string>& titles, const std::vector<std::string>& headers,
                        const std::vector<CET_ChartData*>& rows, COLORREF background, COLORREF header);
    // One landscape page with the graph (kind 3, aspect 30 : 15); TRUE when the page was printed.
    BOOL PrintGraphPage(const std::string& title1, const std::string& title2, const std::string& title3,
                        const std::vector<CET_GraphLine*>* curves, const CharacteristicPoints* points, int layout,
                        const CET_GraphStyle* style, const std::vector<CET_GraphDrawInfo*>* infos,
                        const std::vector<CET_GraphLine*>* lines);

    const ZarnFontBuilder* Fonts() const { return fonts_; }

private:
    using PagePainter = void (*)(QPainter& painter, const RECT& printable, const void* job);
    BOOL PrintPage(QPageLayout::Orientation orientation, PagePainter paint, const void* job);
    void Report(int textId) const;

    const ZarnFontBuilder* fonts_;
    QString printerName_;
    QString outputFile_;
    QPageSize pageSize_{QPageSize::A4};
    int resolution_ = 300;
};
