// Shows a data table on a white page of the proportions of the current printer's portrait page, with
// the table in the page's printable part. Without a printer the dialog stays empty.
#pragma once

#include "ui/controls/CKZARN_ModalBaseDlg.h"
#include "ui/views/CKZARN_ChartWindow.h"

class ZarnPrintHost;

class CKZARN_ChartPreviewDialog : public CKZARN_ModalBaseDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 163;
    static constexpr int kWindowId = 39320;
    static constexpr int kCaptionTextId = 126;

    // host: the printer to imitate (null: the program's).
    explicit CKZARN_ChartPreviewDialog(QWidget* parent = nullptr, ZarnPrintHost* host = nullptr);
    ~CKZARN_ChartPreviewDialog() override;

    // Before the dialog runs: the table, with band colour 0xF0F0F0.
    void SetChart(const std::vector<std::string>& titles, const std::vector<std::string>& headers,
                  const std::vector<CET_ChartData*>& rows, COLORREF background, COLORREF header);
    // Builds the page; runs once, before the dialog shows. FALSE when there is no printer.
    BOOL OnInitDialog();

    CKZARN_ChartWindow m_wndChart;

protected:
    void showEvent(QShowEvent* event) override;

private:
    ZarnPrintHost* host_;
    bool initialised_ = false;
};
