#include "ui/views/ZarnPagePreview.h"

#include "core/NumberDateUtility.h"
#include "ui/views/ZarnPrintHost.h"

#include <QPrinter>

bool PlacePreviewPage(const ZarnPrintHost& host, QPageLayout::Orientation orientation, const RECT& available,
                      ZarnPagePlacement& out)
{
    QPrinter printer(QPrinter::HighResolution);
    if (!host.GetPrinterDefaults(printer, orientation)) {
        return false;
    }
    const PageGeometry geometry = ZarnPrintHost::GeometryOf(printer);
    if (geometry.pageW <= 0 || geometry.pageH <= 0) {
        return false;
    }
    const RECT printable = PrintableRectOnPage(geometry);
    FitPictureInRect(out.page, available, RECT{0, 0, geometry.pageW, geometry.pageH}, nullptr);
    ScaleRect(out.printable, printable, static_cast<double>(RectWidth(out.page)) / geometry.pageW);
    return true;
}
