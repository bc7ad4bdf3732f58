// Shows a graph on a white page of the proportions of the current printer's landscape page, with the
// graph in the page's printable part. Without a printer the dialog stays empty.
#pragma once

#include "ui/controls/CKZARN_ModalBaseDlg.h"
#include "ui/views/CKZARN_GparhWindow.h"

class ZarnPrintHost;

class CKZARN_GraphPreviewDialog : public CKZARN_ModalBaseDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 164;
    static constexpr int kWindowId = 39320;
    static constexpr int kCaptionTextId = 126;

    // host: the printer to imitate (null: the program's).
    explicit CKZARN_GraphPreviewDialog(QWidget* parent = nullptr, ZarnPrintHost* host = nullptr);
    ~CKZARN_GraphPreviewDialog() override;

    // Before the dialog runs: the graph, display only.
    void SetGraph(const std::string& title1, const std::string& title2, const std::string& title3,
                  const std::vector<CET_GraphLine*>* curves, const CharacteristicPoints* points, int layout,
                  const CET_GraphStyle* style, int aspectWidth, int aspectHeight);
    // Builds the page; runs once, before the dialog shows. FALSE when there is no printer.
    BOOL OnInitDialog();

    CKZARN_GparhWindow m_wndGraph;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ZarnPrintHost* host_;
    bool initialised_ = false;
};
