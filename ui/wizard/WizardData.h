// The wizard's settings block: the chart, light source and meter readings the user chose, and the
// two photograph lists. Every page holds a pointer to the one block the wizard owns; the wizard
// owns the records of both lists.
#pragma once

#include <vector>

class CKZARN_WizFileData;

class WizardData {
public:
    // target: the stored chart choice of the application settings.
    explicit WizardData(int storedTarget = 0);
    ~WizardData();
    WizardData(const WizardData&) = delete;
    WizardData& operator=(const WizardData&) = delete;

    // Photographs needed for the chart and range: 11 / 21 for Gradus I, 3 / 5 for the others;
    // -1 for an unknown chart or range.
    int GetRequiredPhotoCount() const;
    // Deletes the records of both lists and empties them.
    void ClearPhotos();
    static void ClearList(std::vector<CKZARN_WizFileData*>& list);

    int target;
    int lightSource = 0;
    int isoSpeed = 100;
    int ilShutterIndex = 54;
    int ilFrameRateCode = 24;
    int ilShutterAngleCode = 180;
    int ilApertureIndex = 20;
    int ilTenths = 0;
    int rlShutterIndex = 54;
    int rlFrameRateCode = 24;
    int rlShutterAngleCode = 180;
    int rlApertureIndex = 20;
    int rlTenths = 0;
    int expandedRange = 0;
    int cineMode = 0;
    int colorCheckerVariant = 0;
    double ilFrameRate = 0.0;
    double ilShutterAngle = 999.999;
    double rlFrameRate = 0.0;
    double rlShutterAngle = 999.999;
    std::vector<CKZARN_WizFileData*> chosenPhotos;
    std::vector<CKZARN_WizFileData*> allPhotos;
};
