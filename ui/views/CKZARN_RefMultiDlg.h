// The multiple reference view: response curves compared in one graph, either up to five saved
// profiles at one ISO speed (camera page) or one profile at up to five ISO speeds (ISO page), for
// the chosen light source and metering block. The graph can be previewed and printed.
#pragma once

#include "ui/controls/CKZARN_ModalBaseDlg.h"
#include "ui/views/CET_GraphDrawInfo.h"
#include "ui/views/CET_GraphLine.h"

#include <string>
#include <vector>

class CKZARN_CustomPrintDialog;
class CKZARN_GparhWindow;
class CKZARN_RefCameraForm;
class CKZARN_RefIsoForm;
class QComboBox;
class QPushButton;
class QTabWidget;

class CKZARN_RefMultiDlg : public CKZARN_ModalBaseDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 146;
    static constexpr int kTabId = 1036;
    static constexpr int kGraphId = 1095;

    explicit CKZARN_RefMultiDlg(QWidget* parent = nullptr);
    ~CKZARN_RefMultiDlg() override;

    BOOL OnInitDialog();
    int exec() override;
    void InitForms();
    void BuildGraph();
    void ClearGraph();
    void RedrawGraph();
    void OnTabChange();
    // The light and photo combos: the graph is built and drawn again.
    void OnLightChange();
    void OnPhotoChange();
    // The page-setup button: the print dialog in its setup-only form.
    void OnPageSetup();
    void OnBack();
    int OnPreview();
    int OnPrint();
    static int OnPreviewRequest(CKZARN_CustomPrintDialog* dialog, int caller);
    CKZARN_GparhWindow* GraphWindow() const { return graphWindow; }

    CKZARN_RefCameraForm* CameraForm() const { return cameraForm; }
    CKZARN_RefIsoForm* IsoForm() const { return isoForm; }
    QTabWidget* Tab() const { return tab; }
    QComboBox* LightCombo() const { return lightCombo; }
    QComboBox* PhotoCombo() const { return photoCombo; }
    const std::vector<CET_GraphLine*>& Curves() const { return curves; }
    const std::vector<CET_GraphDrawInfo*>& Infos() const { return infos; }
    const std::vector<CET_GraphLine*>& ListedLines() const { return listedLines; }
    const std::string& Title(int i) const { return titles[i]; }

public slots:
    // The close box and Escape end the view with IDCANCEL; the back button ends it with IDOK.
    void reject() override;

private:
    QPushButton* pageSetupButton = nullptr;
    QPushButton* previewButton = nullptr;
    QComboBox* photoCombo = nullptr;
    QComboBox* lightCombo = nullptr;
    QTabWidget* tab = nullptr;
    CKZARN_RefCameraForm* cameraForm = nullptr;
    CKZARN_RefIsoForm* isoForm = nullptr;
    CKZARN_GparhWindow* graphWindow = nullptr;
    std::string titles[3];
    std::vector<CET_GraphLine*> curves;
    std::vector<CET_GraphDrawInfo*> infos;
    std::vector<CET_GraphLine*> listedLines;
    bool initialised = false;
};
