// Where a preview dialog puts its imitated page: the printer's page fitted into the dialog's area
// and the printable part of the page scaled into it.
#pragma once

#include "platform/WinTypes.h"

#include <QPageLayout>

class ZarnPrintHost;

struct ZarnPagePlacement {
    RECT page{};      // the page in the dialog's client coordinates
    RECT printable{}; // the printable part in the page window's own coordinates
};

// False when the host has no printer. available: the dialog's area for the page.
bool PlacePreviewPage(const ZarnPrintHost& host, QPageLayout::Orientation orientation, const RECT& available,
                      ZarnPagePlacement& out);
