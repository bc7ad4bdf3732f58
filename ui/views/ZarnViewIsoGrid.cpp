#include "ui/views/ZarnViewIsoGrid.h"

#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "ui/views/CKZARN_DataListCtrl.h"
#include "ui/views/ZarnViewIcons.h"

#include <QStringList>

#include <cstdio>

namespace {

constexpr int kHeaderTexts[6] = {114, 146, 122, 121, 119, 118};

} // namespace

void ZarnViewIsoGrid::Prepare(CKZARN_DataListCtrl* grid, int dataColumnWidth)
{
    grid->SetMarkIcon(ZarnViewIcons::TableMark().pixmap(10, 10), 10, 10);
    grid->setColumnCount(6);
    QStringList headers;
    for (int i = 0; i < 6; ++i) {
        headers << CKZARN_Common::ToWidgetText(GetLangString(kHeaderTexts[i]));
        grid->setColumnWidth(i, i == 0 ? 100 : dataColumnWidth);
    }
    grid->setHorizontalHeaderLabels(headers);
    grid->setRowCount(CKZARN_DataListCtrl::kRowCount);
    int row = 0;
    for (const int iso : CKZARN_Common::IsoTable()) {
        grid->SetItemText(row++, 0, IsoText(iso));
    }
}

std::string ZarnViewIsoGrid::IsoText(int iso)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", iso);
    return text;
}
