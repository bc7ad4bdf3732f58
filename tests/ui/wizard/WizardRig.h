// A wizard under test: its own user data folder and settings, answers for every question, a folder
// chooser that picks a given folder, and stand-ins for the photograph and result pages that record
// what the step machine asks of them.
#pragma once

#include "platform/SystemFolders.h"
#include "tests/support/ScratchFolder.h"
#include "tests/support/ScriptedPromptService.h"
#include "ui/wizard/CKZARN_WizAreaBaseForm.h"
#include "ui/wizard/CKZARN_WizardDlg.h"
#include "ui/wizard/ExifInputValues.h"
#include "ui/wizard/WizardAppLink.h"
#include "ui/wizard/WizardPageFactory.h"
#include "ui/wizard/WizardPhotoDataPage.h"
#include "ui/wizard/WizardPhotoPage.h"
#include "ui/wizard/WizardResultGraphPage.h"
#include "ui/wizard/WizardResultTablePage.h"
#include "core/util/CLangTable.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"

#include <gtest/gtest.h>

#include <QPushButton>

#include <algorithm>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace wizardtest {

class FakePhotoPage : public CKZARN_WizAreaBaseForm, public WizardPhotoPage {
public:
    explicit FakePhotoPage(QWidget* parent) : CKZARN_WizAreaBaseForm(WizardPageFactory::kPhotos, parent) {}

    void ClearPhotos() override
    {
        order.clear();
        ++clears;
    }
    void LoadFolder(const std::string& folder) override
    {
        loadedFolders.push_back(folder);
        order.clear();
        std::vector<std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file())
                files.push_back(entry.path().string());
        std::sort(files.begin(), files.end());
        for (const std::string& path : files) {
            order.push_back(path);
            if (!records.count(path)) {
                records[path] = std::make_unique<ExifInputValues>();
                records[path]->path = path;
            }
        }
    }
    void SetPhotoList(const std::vector<std::string>& paths) override { order = paths; }
    void GetCheckedPaths(std::vector<std::string>* paths, int) override
    {
        paths->clear();
        for (const std::string& path : order)
            if (records[path]->checked)
                paths->push_back(path);
    }
    void GetAllPaths(std::vector<std::string>* paths, int) override { *paths = order; }
    BOOL GetRecordByPath(const std::string& path, ExifInputValues* record) override
    {
        const auto it = records.find(path);
        if (it == records.end())
            return FALSE;
        record->Assign(*it->second);
        return TRUE;
    }
    BOOL UpdateRecord(const std::string& path, ExifInputValues* record, int takeCorners) override
    {
        if (takeCorners == 1)
            for (int k = 0; k < 4; ++k)
                record->corners[k] = viewCorners[k];
        auto& stored = records[path];
        if (!stored)
            stored = std::make_unique<ExifInputValues>();
        stored->Assign(*record);
        return TRUE;
    }
    BOOL IsMarked(const std::string& path) override { return records.count(path) && records[path]->cornersConfirmed; }
    void ApplyBrightness(int level, int) override { brightness = level; }
    void MarkRefused(const std::vector<std::string>& paths) override
    {
        for (const std::string& path : paths)
            if (records.count(path))
                records[path]->checked = 0;
        refusedMarks.push_back(paths);
    }

    // Puts a record in the strip (as the loader would have filled it).
    void Put(const ExifInputValues& record)
    {
        records[record.path] = std::make_unique<ExifInputValues>(record);
        records[record.path]->Assign(record);
    }

    std::vector<std::string> order;
    std::map<std::string, std::unique_ptr<ExifInputValues>> records;
    std::vector<std::string> loadedFolders;
    POINT viewCorners[4] = {};
    int clears = 0;
    int brightness = 0;
    // The paths of every MarkRefused call.
    std::vector<std::vector<std::string>> refusedMarks;
};

class FakePhotoDataPage : public CKZARN_WizAreaBaseForm, public WizardPhotoDataPage {
public:
    explicit FakePhotoDataPage(QWidget* parent) : CKZARN_WizAreaBaseForm(WizardPageFactory::kPhotoData, parent) {}
    double GetBrightnessAdjust() override { return brightness; }
    void ShowPhoto(const std::string& path, const ExifInputValues*) override { shown.push_back(path); }
    double brightness = 0.0;
    std::vector<std::string> shown;
};

class FakeResultPages : public CKZARN_WizAreaBaseForm, public WizardResultTablePage, public WizardResultGraphPage {
public:
    FakeResultPages(int templateId, QWidget* parent) : CKZARN_WizAreaBaseForm(templateId, parent) {}
    void FillTable(const CharacteristicPoints* points) override { filled.push_back(points != nullptr); }
    void SetEditable(int readOnly) override { readOnlyCalls.push_back(readOnly); }
    void DrawResult(ZarnLib_Profile*, const CharacteristicPoints*) override { ++draws; }
    void ClearGraph() override { ++clears; }
    std::vector<bool> filled;
    std::vector<int> readOnlyCalls;
    int draws = 0;
    int clears = 0;
};

class WizardRig {
public:
    WizardRig()
    {
        SystemFolders::SetLocalAppDataOverride(dataFolder.Path());
        settings.userCPM = 30;
        settings.userDRM = 45;
        settings.userDRP = 120;
        settings.userCPP = 135;
        settings.userCNT = 80;
        WizardAppLink::SetSettings(&settings);
        WizardAppLink::SetSaveChooser([this](QWidget*, const std::string& preset, std::string* path) {
            presets.push_back(preset);
            if (savePath.empty())
                return false;
            *path = savePath;
            return true;
        });
        WizardPageFactory::SetMaker([this](int templateId, QWidget* parent) -> CKZARN_WizAreaBaseForm* {
            switch (templateId) {
            case WizardPageFactory::kPhotos: return photos = new FakePhotoPage(parent);
            case WizardPageFactory::kPhotoData: return photoData = new FakePhotoDataPage(parent);
            case WizardPageFactory::kResultTable: return table = new FakeResultPages(templateId, parent);
            case WizardPageFactory::kResultGraph: return graph = new FakeResultPages(templateId, parent);
            default: return nullptr;
            }
        });
        WizardAppLink::SetFolderChooser([this](QWidget*, const std::string&, const std::string& start, std::string* folder) {
            ++folderQuestions;
            startFolders.push_back(start);
            if (chosenFolder.empty())
                return false;
            *folder = chosenFolder;
            return true;
        });
    }
    ~WizardRig()
    {
        wizard.reset();
        WizardAppLink::SetFolderChooser(nullptr);
        WizardPageFactory::SetMaker(nullptr);
        WizardAppLink::SetSaveChooser(nullptr);
        WizardAppLink::SetSettings(nullptr);
        SystemFolders::SetLocalAppDataOverride(std::string());
    }

    CKZARN_WizardDlg& Open(int mode, const std::string& editName = std::string())
    {
        wizard = std::make_unique<CKZARN_WizardDlg>();
        wizard->SetMode(mode);
        if (!editName.empty())
            wizard->SetResultFileName(editName);
        opened = wizard->Create();
        return *wizard;
    }

    QPushButton* Button(int id) const { return qobject_cast<QPushButton*>(wizard->FindControl(id)); }
    bool NextEnabled() const { return Button(CKZARN_WizardDlg::kNextId)->isEnabled(); }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& prompt : prompts.Prompts())
            texts.push_back(prompt.text);
        return texts;
    }

    ScratchFolder dataFolder;
    ScratchFolder photoFolder;
    ZarnAppSettings settings;
    ScriptedPromptService prompts;
    std::unique_ptr<CKZARN_WizardDlg> wizard;
    BOOL opened = FALSE;
    FakePhotoPage* photos = nullptr;
    FakePhotoDataPage* photoData = nullptr;
    FakeResultPages* table = nullptr;
    FakeResultPages* graph = nullptr;
    std::string chosenFolder;
    std::string savePath;
    std::vector<std::string> presets;
    int folderQuestions = 0;
    std::vector<std::string> startFolders;
};

inline std::string T(int id) { return GetLangString(id); }

inline ZarnLib_PatchKey Condition(int iso, int light)
{
    ZarnLib_PatchKey key;
    key.SetIso(iso);
    key.SetLightSource(light);
    return key;
}

// Writes three Gradus II photographs into the rig's photograph folder and puts their records,
// checked and with confirmed corners, into the photograph page.
inline void PutSeries(WizardRig& rig)
{
    const double exposures[3] = {-2, -1, 0};
    for (int i = 0; i < 3; ++i) {
        auto photo = WritePhoto(rig.photoFolder.File("p" + std::to_string(i) + ".jpg"), 2, exposures[i], true);
        ASSERT_NE(nullptr, photo);
        rig.photos->Put(photo->values);
    }
}

// From step 0 (mode 1, Gradus II) to the corners: readings, folder, three checked photographs.
inline void WalkToCorners(WizardRig& rig)
{
    CKZARN_WizardDlg& w = *rig.wizard;
    w.Data().target = 1;
    rig.chosenFolder = rig.photoFolder.Path();
    PutSeries(rig);
    w.OnNext(); // 1
    w.OnNext(); // 2
    w.OnNext(); // 3: the folder chooser answers
    ASSERT_EQ(3, w.GetStep());
    w.OnNext(); // 4
    ASSERT_EQ(4, w.GetStep());
}

// On to the result: the calculation runs on entering step 5.
inline void WalkToResult(WizardRig& rig)
{
    WalkToCorners(rig);
    rig.wizard->OnNext(); // 5
}

} // namespace wizardtest
