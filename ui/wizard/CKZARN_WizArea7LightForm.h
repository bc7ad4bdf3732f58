// The light-source choice of step 1: normal light or flash, each with a picture that chooses it.
#pragma once

#include "ui/wizard/CKZARN_WizAreaBaseForm.h"

class CStaticIcon;
class QRadioButton;

class CKZARN_WizArea7LightForm : public CKZARN_WizAreaBaseForm {
    Q_OBJECT
public:
    static constexpr int kTemplateId = 138;
    static constexpr int kNormalId = 1096;
    static constexpr int kFlashId = 1097;

    explicit CKZARN_WizArea7LightForm(QWidget* parent = nullptr);

    void Refresh() override;
    void OnLightClicked(int lightSource);
    void OnPictureClicked(int lightSource);

protected:
    BOOL OnInitDialog() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QRadioButton* normal_;
    QRadioButton* flash_;
    CStaticIcon* normalPicture_;
    CStaticIcon* flashPicture_;
};
