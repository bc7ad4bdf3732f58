// The seven-step exposure-profile wizard: chart and range, light source, meter readings,
// photographs, chart corners, result and saving. It owns the settings block, the photograph lists,
// the profile being built, the result points, the temporary result file and the page forms of its
// four screen areas; ChangeStep decides what each step shows, stores and prepares, and runs the
// calculation on its thread when the corners are done.
#pragma once

#include "platform/WinTypes.h"
#include "profilelib/ZarnLib_Buffer.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_Profile.h"
#include "ui/controls/CKZARN_ModalBaseDlg.h"
#include "ui/wizard/WizardCalculation.h"
#include "ui/wizard/WizardData.h"
#include "ui/wizard/WizardProfileSnapshot.h"
#include "ui/views/CharacteristicPoints.h"

#include <string>
#include <vector>

class CKZARN_ProgressThreadDlg;
class CKZARN_WizAreaBaseForm;
class ExifInputValues;
class QGroupBox;
class QLabel;
class QPushButton;
class WizardPhotoPage;

class CKZARN_WizardDlg : public CKZARN_ModalBaseDlg {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 133;
    static constexpr int kInstructionId = 1093;
    static constexpr int kArea7Id = 1094;
    static constexpr int kArea6Id = 1091;
    static constexpr int kArea4Id = 1022;
    static constexpr int kArea3Id = 1021;
    static constexpr int kSpareId = 1047;
    static constexpr int kExtraId = 1048;
    static constexpr int kNextId = 1027;
    static constexpr int kCancelId = 1049;
    static constexpr int kBackId = 1046;
    static constexpr const char* kTemporaryName = "WizTemporary.kpf";
    static constexpr const char* kLogName = "KZARN_Calc.log";

    explicit CKZARN_WizardDlg(QWidget* parent = nullptr);
    ~CKZARN_WizardDlg() override;

    // 0 new profile, 1 added condition; only before the window is initialised.
    void SetMode(int m);
    void SetResultFileName(const std::string& name) { resultFileName_ = name; }
    // Initialises and runs the wizard; IDOK after Next at step 6, else IDCANCEL.
    int DoModal();
    // Initialises the wizard and shows it without a modal loop (the window tests drive it so).
    BOOL Create();

    int GetMode() const { return mode_; }
    int GetStep() const { return step_; }
    void GoToStep(int n);
    std::string GetCurrentImagePath() const { return currentImagePath_; }
    double GetBrightnessAdjust();
    BOOL GetPhotoRecord(const std::string& path, ExifInputValues* record);
    void ApplyBrightnessAdjust(int level, BOOL redraw);
    void OnPhotoChecked(const std::string& path, const ExifInputValues& record, int checkedCount);
    void OnPhotoSelected(const std::string& path, const ExifInputValues& record);
    // An edit of a result point (kind 0..4 EV, 5..9 level of CPM, DRM, CNT, DRP, CPP; source 0 graph,
    // 1 keyboard step, 2 typed); refused edits beep and show the current values again.
    void SetResultValue(int kind, double value, int source);
    int RecalculateResult(int level);
    int HasStoredResult(int iso, int lightSource);
    void LoadStoredResult(const int* isoList, int lightSource, int* flags, int count);

    static int GetCineSetting(int n);
    static void SetCineSetting(int n, int value);
    static double FrameRateFromCode(int code);
    static double ShutterAngleFromCode(int code);

    // What the calculation thread works on, built on the wizard's stack for one run: the progress
    // dialog that receives the thread's messages, the settings block and the profile; the user's
    // levels and the number of measuring threads are read before the run starts.
    struct CalcThreadParam {
        CKZARN_ProgressThreadDlg* dialog = nullptr;
        WizardData* data = nullptr;
        ZarnLib_Profile* profile = nullptr;
        WizardUserLevels levels;
        int threads = 1;
        // Written by the thread before it reports: why the series check refused the chosen
        // photographs (by their index among them); empty when it did not.
        std::vector<ZarnLib_SeriesRefusal> refusals;
    };
    // The calculation thread's body: measures the chosen photographs into the profile, places the
    // five points, posts progress and the result code (0, 1 or 2) to the dialog. Returns the error
    // code of the first failing library call, 0 on success.
    static int CalcThreadProc(CalcThreadParam* param);

    // For the pages: the instruction text, and the reading controls the cine page shows and hides.
    void SetInstructionText(int textId);
    QWidget* FindReadingControl(int id) const;

    // The buttons' handlers (also what the tests press).
    void OnNext();
    void OnBack();
    void OnExtra();
    // Button 1049: the same cancel handling as Esc and the close box.
    void OnCancelButton();
    virtual void OnCancel();

    WizardData& Data() { return data_; }
    ZarnLib_Profile& Profile() { return profile_; }
    const CharacteristicPoints& ResultPoints() const { return resultPoints_; }
    CharacteristicPoints& ResultPoints() { return resultPoints_; }
    ZarnLib_Buffer<ZarnLib_CnvPolyLine>& EvaluationCurves() { return evaluationCurves_; }
    int ResultPending() const { return resultPending_; }
    int ResultRetained() const { return resultRetained_; }
    const std::string& TemporaryPath() const { return temporaryPath_; }
    const std::string& PhotoFolder() const { return photoFolder_; }
    // The page of a template number (null before initialisation).
    CKZARN_WizAreaBaseForm* Page(int templateId) const;
    // Threads the calculation measures photographs on (0: one per core, at most one per photograph).
    void SetCalculationThreads(int threads) { calculationThreads_ = threads; }

    void reject() override;

protected:
    BOOL OnInitDialog();
    void ChangeStep();
    void OnDestroy();

private:
    void CreatePages();
    void SwitchArea(CKZARN_WizAreaBaseForm*& current, CKZARN_WizAreaBaseForm* wanted);
    int InstructionOf(int step) const;
    std::string ChooseFolder();
    void ClearShownPhoto();
    void EnterPhotoStep();
    void EnterCornerStep();
    void RunCalculation();
    void DiscardRun();
    void SaveResult();
    // Version 3.0, the offsets of the last table and the chart kind; then the save. TRUE on success;
    // a failure is reported.
    BOOL FinishAndSave(const std::string& path);
    int Ask(int textId, UINT type);
    int Ask(const std::string& text, UINT type);
    // Refuses checked photographs whose exposures make no sound series, naming the first rule that
    // refused and the photographs it refused, which are marked in the strip.
    bool ChosenSeriesIsSound();
    WizardPhotoPage* PhotoPage() const;
    void EndWizard(int result);

    QLabel* instruction_;
    QWidget* area7_;
    QWidget* area6_;
    QWidget* area4_;
    QPushButton* spare_;
    QPushButton* extra_;
    QPushButton* next_;
    QPushButton* cancel_;
    QPushButton* back_;
    QWidget* area3_;
    QGroupBox* groups_[5] = {};

    int mode_ = -1;
    int step_ = -1;
    int previousStep_ = -1;
    WizardData data_;
    std::string photoFolder_;
    // The photographs a refused run named, marked in the strip when the photograph step is back.
    std::vector<std::string> refusedPaths_;
    std::string resultFileName_;
    std::string currentImagePath_;
    ZarnLib_Profile profile_;
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> curves_;
    ZarnLib_Buffer<ZarnLib_CnvPolyLine> evaluationCurves_;
    CharacteristicPoints resultPoints_;
    int resultPending_ = 0;
    int resultRetained_ = 0;
    std::string temporaryPath_;
    // The profile as it was before the last run, given back when the run is discarded.
    WizardProfileSnapshot beforeRun_;
    int calculationThreads_ = 0;
    bool initialised_ = false;
    bool destroyed_ = false;

    CKZARN_WizAreaBaseForm* stepList_ = nullptr;
    CKZARN_WizAreaBaseForm* currentArea4_ = nullptr;
    CKZARN_WizAreaBaseForm* photoData_ = nullptr;
    CKZARN_WizAreaBaseForm* resultTable_ = nullptr;
    CKZARN_WizAreaBaseForm* exposureRange_ = nullptr;
    CKZARN_WizAreaBaseForm* cineReadings_ = nullptr;
    CKZARN_WizAreaBaseForm* summary_ = nullptr;
    CKZARN_WizAreaBaseForm* currentArea7_ = nullptr;
    CKZARN_WizAreaBaseForm* resultGraph_ = nullptr;
    CKZARN_WizAreaBaseForm* light_ = nullptr;
    CKZARN_WizAreaBaseForm* readings_ = nullptr;
    CKZARN_WizAreaBaseForm* photos_ = nullptr;
    CKZARN_WizAreaBaseForm* chart_ = nullptr;
};
