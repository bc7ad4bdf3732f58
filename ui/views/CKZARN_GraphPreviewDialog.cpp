#include "ui/views/CKZARN_GraphPreviewDialog.h"

#include "core/util/CLangTable.h"
#include "ui/views/ZarnPagePreview.h"
#include "ui/views/ZarnPrintHost.h"

CKZARN_GraphPreviewDialog::CKZARN_GraphPreviewDialog(QWidget* parent, ZarnPrintHost* host)
    : CKZARN_ModalBaseDlg(kTemplateId, parent), m_wndGraph(nullptr, (host ? host : &ZarnPrintHost::Instance())->Fonts()),
      host_(host ? host : &ZarnPrintHost::Instance())
{
    resize(880, 620);
    m_wndGraph.hide();
}

CKZARN_GraphPreviewDialog::~CKZARN_GraphPreviewDialog()
{
    // The window is a member: take it off the dialog before the dialog deletes its children.
    m_wndGraph.setParent(nullptr);
}

void CKZARN_GraphPreviewDialog::SetGraph(const std::string& title1, const std::string& title2,
                                         const std::string& title3, const std::vector<CET_GraphLine*>* curves,
                                         const CharacteristicPoints* points, int layout, const CET_GraphStyle* style,
                                         int aspectWidth, int aspectHeight)
{
    m_wndGraph.SetGraph(0, title1, title2, title3, curves, points, layout, style, aspectWidth, aspectHeight);
}

BOOL CKZARN_GraphPreviewDialog::OnInitDialog()
{
    if (initialised_) {
        return m_wndGraph.parentWidget() == this;
    }
    initialised_ = true;
    setWindowTitle(QString::fromStdString(GetLangString(kCaptionTextId)));
    const RECT available{10, 10, width() - 10, height() - 10};
    ZarnPagePlacement placement;
    if (!PlacePreviewPage(*host_, QPageLayout::Landscape, available, placement)) {
        return FALSE;
    }
    m_wndGraph.setParent(this);
    m_wndGraph.setFocusPolicy(Qt::TabFocus);
    m_wndGraph.setGeometry(ToQRect(placement.page));
    m_wndGraph.m_rcPage = placement.printable;
    AddControl(kWindowId, &m_wndGraph);
    m_wndGraph.show();
    return TRUE;
}

void CKZARN_GraphPreviewDialog::showEvent(QShowEvent* event)
{
    OnInitDialog();
    CKZARN_ModalBaseDlg::showEvent(event);
}
