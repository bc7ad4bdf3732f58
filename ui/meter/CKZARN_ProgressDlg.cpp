#include "ui/meter/CKZARN_ProgressDlg.h"

#include "core/CKZARN_Common.h"
#include "core/DialogLayoutItem.h"
#include "core/util/CLangTable.h"
#include "meter/CKZARN_LMCtrl.h"
#include "meter/ZarnMeterMessages.h"
#include "ui/meter/MeterPictures.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/controls/CStaticIcon.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

constexpr DialogLayoutItem kLayout[] = {
    {CKZARN_ProgressDlg::kDialogId, 0, 0, 0, 440, 170},
    {CKZARN_ProgressDlg::kLeftPictureId, 0, 15, 20, 50, 52},
    {CKZARN_ProgressDlg::kMessageId, 0, 65, 30, 290, 40},
    {CKZARN_ProgressDlg::kRightPictureId, 0, 355, 20, 50, 52},
    {CKZARN_ProgressDlg::kProgressId, 0, 15, 80, 390, 23},
    {CKZARN_ProgressDlg::kOkButtonId, 10, 170, 80, 88, 23},
    {0, 0, 0, 0, 0, 0},
};

QString Text(int id)
{
    return CKZARN_Common::ToWidgetText(GetLangString(id));
}

} // namespace

CKZARN_ProgressDlg::CKZARN_ProgressDlg(QWidget* parent)
    : QDialog(parent),
      message_(new QLabel(this)),
      okButton_(new QPushButton(this)),
      progress_(new QProgressBar(this)),
      leftPicture_(new CStaticIcon(this)),
      rightPicture_(new CStaticIcon(this))
{
    message_->setWordWrap(true);
    progress_->setTextVisible(false);
    controls_ = {{kMessageId, message_},
                 {kOkButtonId, okButton_},
                 {kProgressId, progress_},
                 {kLeftPictureId, leftPicture_},
                 {kRightPictureId, rightPicture_}};
    connect(okButton_, &QPushButton::clicked, this, [this] { OnOKButton(); });
}

CKZARN_ProgressDlg::~CKZARN_ProgressDlg()
{
    // No message may reach the handler once the object is being taken apart.
    if (handle_) QtMessageSink::Instance().Unregister(handle_);
}

QWidget* CKZARN_ProgressDlg::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

int CKZARN_ProgressDlg::DoModal()
{
    OnInitDialog();
    return exec();
}

const CKZARN_ProgressDlg::CommandTexts* CKZARN_ProgressDlg::TextsOf(int code, bool factoryReset)
{
    static constexpr CommandTexts kWriteProfiles{true, 7000, 7001, 7005, 7006, 7010, 7011, false};
    static constexpr CommandTexts kFactoryReset{true, 7000, 7001, 7053, 7054, 7010, 7011, false};
    if (factoryReset || code == 19 || code == 29) return &kFactoryReset;
    static constexpr CommandTexts kWriteCustom{true, 7000, 7015, 7005, 7017, 7010, 7019, false};
    static constexpr CommandTexts kWriteUser{true, 7000, 7021, 7005, 7023, 7010, 7025, false};
    static constexpr CommandTexts kReadProfiles{false, 7002, 7003, 7007, 7008, 7012, 7013, false};
    static constexpr CommandTexts kReadInfo{false, 7002, 7004, 7007, 7009, 7012, 7014, true};
    static constexpr CommandTexts kReadCustom{false, 7002, 7016, 7007, 7018, 7012, 7020, true};
    static constexpr CommandTexts kReadUser{false, 7002, 7022, 7007, 7024, 7012, 7026, true};
    switch (code) {
    case 2: case 12: case 22: return &kWriteProfiles;
    case 6: case 16: case 26: return &kWriteCustom;
    case 18: case 28: return &kWriteUser;
    case 3: case 13: case 23: return &kReadProfiles;
    case 4: case 14: case 24: return &kReadInfo;
    case 5: case 15: case 25: return &kReadCustom;
    case 17: case 27: return &kReadUser;
    default: return nullptr;
    }
}

void CKZARN_ProgressDlg::LoadPictures()
{
    pcIcon_ = MeterPictures::Load(MeterPictures::kPc);
    t310Icon_ = MeterPictures::Load(MeterPictures::kT310);
    t140Icon_ = MeterPictures::Load(MeterPictures::kT140);
    t520Icon_ = MeterPictures::Load(MeterPictures::kT520);
    pcWidth_ = 50;
    pcHeight_ = 40;
    t310Width_ = 30;
    t310Height_ = 52;
    t140Width_ = 54;
    t140Height_ = 54;
    t520Width_ = 48;
    t520Height_ = 48;
}

BOOL CKZARN_ProgressDlg::OnInitDialog()
{
    CKZARN_Common::ApplyDialogLayout(this, kLayout, FALSE);
    progress_->setRange(0, 10);
    progress_->setValue(0);
    progress_->show();
    okButton_->hide();
    LoadPictures();

    if (const CommandTexts* texts = TextsOf(code_, factoryReset_)) {
        setWindowTitle(Text(texts->runCaption));
        message_->setText(Text(texts->runMessage));
        const QIcon* meterIcon = &t520Icon_;
        int meterWidth = t520Width_, meterHeight = t520Height_;
        if (code_ < 10) {
            meterIcon = &t310Icon_;
            meterWidth = t310Width_;
            meterHeight = t310Height_;
        } else if (code_ < 20) {
            meterIcon = &t140Icon_;
            meterWidth = t140Width_;
            meterHeight = t140Height_;
        }
        CStaticIcon* pcSide = texts->toMeter ? leftPicture_ : rightPicture_;
        CStaticIcon* meterSide = texts->toMeter ? rightPicture_ : leftPicture_;
        pcSide->SetIcon(pcIcon_, pcWidth_, pcHeight_);
        meterSide->SetIcon(*meterIcon, meterWidth, meterHeight);
    }

    handle_ = QtMessageSink::Instance().Register(this, this);
    if (ctrl_ != nullptr) {
        ctrl_->PostCommand(code_, value_, handle_);
    } else {
        // Without a worker no reply could ever come; end the wait with a failure at once.
        QtMessageSink::Instance().PostMessage(handle_, WM_ZARN_COMMAND_DONE, 0, kNoWorkerError);
    }
    return TRUE;
}

LRESULT CKZARN_ProgressDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_ZARN_PROGRESS: return OnProgress(wParam, lParam);
    case WM_ZARN_COMMAND_DONE: return OnCommandDone(wParam, lParam);
    default: return 0;
    }
}

LRESULT CKZARN_ProgressDlg::OnProgress(WPARAM wParam, LPARAM lParam)
{
    // The total is taken anew from every message, cut to 16 bits.
    progress_->setRange(0, static_cast<int>(lParam & 0xFFFF));
    progress_->setValue(static_cast<int>(wParam));
    return 0;
}

LRESULT CKZARN_ProgressDlg::OnCommandDone(WPARAM /*wParam*/, LPARAM lParam)
{
    result_ = static_cast<int>(lParam);
    progress_->hide();
    okButton_->show();
    const CommandTexts* texts = TextsOf(code_, factoryReset_);
    if (result_ == 0) {
        if (texts != nullptr) {
            setWindowTitle(Text(texts->okCaption));
            message_->setText(Text(texts->okMessage));
            if (texts->endsOnSuccess) {
                done(kIdOk);
                return 0;
            }
        }
    } else if (texts != nullptr) {
        setWindowTitle(Text(texts->failCaption));
        message_->setText(Text(texts->failMessage) + QStringLiteral("\n") +
                          CKZARN_Common::ToWidgetText(CKZARN_Common::GetErrorMessage(static_cast<unsigned>(result_))));
    } else {
        message_->setText(CKZARN_Common::ToWidgetText(CKZARN_Common::GetErrorMessage(static_cast<unsigned>(result_))));
    }
    QApplication::beep();
    okButton_->setDefault(true);
    okButton_->setFocus();
    return 0;
}

void CKZARN_ProgressDlg::OnOKButton()
{
    done(kIdOk);
}
