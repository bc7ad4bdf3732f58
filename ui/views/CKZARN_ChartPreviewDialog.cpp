#include "ui/views/CKZARN_ChartPreviewDialog.h"

#include "core/util/CLangTable.h"
#include "ui/views/ZarnPagePreview.h"
#include "ui/views/ZarnPrintHost.h"

CKZARN_ChartPreviewDialog::CKZARN_ChartPreviewDialog(QWidget* parent, ZarnPrintHost* host)
    : CKZARN_ModalBaseDlg(kTemplateId, parent), m_wndChart(nullptr, (host ? host : &ZarnPrintHost::Instance())->Fonts()),
      host_(host ? host : &ZarnPrintHost::Instance())
{
    resize(600, 820);
    m_wndChart.hide();
}

CKZARN_ChartPreviewDialog::~CKZARN_ChartPreviewDialog()
{
    // The window is a member: take it off the dialog before the dialog deletes its children.
    m_wndChart.setParent(nullptr);
}

void CKZARN_ChartPreviewDialog::SetChart(const std::vector<std::string>& titles,
                                         const std::vector<std::string>& headers,
                                         const std::vector<CET_ChartData*>& rows, COLORREF background,
                                         COLORREF header)
{
    m_wndChart.SetChart(titles, headers, rows, background, header, 0xF0F0F0);
}

BOOL CKZARN_ChartPreviewDialog::OnInitDialog()
{
    if (initialised_) {
        return m_wndChart.parentWidget() == this;
    }
    initialised_ = true;
    setWindowTitle(QString::fromStdString(GetLangString(kCaptionTextId)));
    const RECT available{10, 10, width() - 10, height() - 10};
    ZarnPagePlacement placement;
    if (!PlacePreviewPage(*host_, QPageLayout::Portrait, available, placement)) {
        return FALSE;
    }
    m_wndChart.setParent(this);
    m_wndChart.setFocusPolicy(Qt::TabFocus);
    m_wndChart.setGeometry(ToQRect(placement.page));
    m_wndChart.m_rcPage = placement.printable;
    AddControl(kWindowId, &m_wndChart);
    m_wndChart.show();
    return TRUE;
}

void CKZARN_ChartPreviewDialog::showEvent(QShowEvent* event)
{
    OnInitDialog();
    CKZARN_ModalBaseDlg::showEvent(event);
}
