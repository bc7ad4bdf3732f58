#include "ui/meter/CDURING_COMMUNICATION_DIALOG.h"

#include "core/CKZARN_Common.h"
#include "core/util/CLangTable.h"
#include "meter/CKZARN_LMCtrl.h"
#include "meter/CZarnCommand.h"
#include "meter/ZarnMeterMessages.h"
#include "ui/meter/MeterPictures.h"
#include "platform/qt/QtMessageSink.h"
#include "ui/controls/CStaticIcon.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace {

QString Text(int id)
{
    return CKZARN_Common::ToWidgetText(GetLangString(id));
}

} // namespace

CDURING_COMMUNICATION_DIALOG::CDURING_COMMUNICATION_DIALOG(QWidget* parent)
    : QDialog(parent),
      message_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      cancelButton_(new QPushButton(this)),
      serverPicture_(new CStaticIcon(this)),
      pcPicture_(new CStaticIcon(this)),
      serverIcon_(MeterPictures::Load(MeterPictures::kUpdateServer)),
      pcIcon_(MeterPictures::Load(MeterPictures::kPc))
{
    // The dialog's own positions.
    resize(360, 150);
    serverPicture_->setGeometry(20, 15, 48, 48);
    message_->setGeometry(80, 15, 200, 48);
    pcPicture_->setGeometry(292, 15, 48, 48);
    progress_->setGeometry(20, 75, 320, 18);
    cancelButton_->setGeometry(136, 108, 88, 24);
    message_->setWordWrap(true);
    progress_->setTextVisible(false);
    controls_ = {{kMessageId, message_},
                 {kProgressId, progress_},
                 {kCancelId, cancelButton_},
                 {kServerPictureId, serverPicture_},
                 {kPcPictureId, pcPicture_}};
    connect(cancelButton_, &QPushButton::clicked, this, [this] { OnCancel(); });
}

CDURING_COMMUNICATION_DIALOG::~CDURING_COMMUNICATION_DIALOG()
{
    if (handle_) QtMessageSink::Instance().Unregister(handle_);
}

QWidget* CDURING_COMMUNICATION_DIALOG::FindControl(int id) const
{
    const auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

int CDURING_COMMUNICATION_DIALOG::DoModal()
{
    OnInitDialog();
    return exec();
}

BOOL CDURING_COMMUNICATION_DIALOG::OnInitDialog()
{
    serverPicture_->SetIcon(serverIcon_, 48, 48);
    pcPicture_->SetIcon(pcIcon_, 48, 48);
    SetTexts();
    // Nothing moves the bar while the check runs.
    progress_->setRange(0, 1000);
    progress_->setValue(0);
    handle_ = QtMessageSink::Instance().Register(this, this);
    if (ctrl_ != nullptr) ctrl_->PostCommand(ZARN_CMD_UPDATE_CHECK, 0, handle_);
    return TRUE;
}

void CDURING_COMMUNICATION_DIALOG::SetTexts()
{
    setWindowTitle(Text(50118));
    cancelButton_->setText(Text(11));
    message_->setText(Text(50117));
}

LRESULT CDURING_COMMUNICATION_DIALOG::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ZARN_UPDATE_CHECK_DONE) return OnUpdateCheckDone(wParam, lParam);
    return 0;
}

LRESULT CDURING_COMMUNICATION_DIALOG::OnUpdateCheckDone(WPARAM /*wParam*/, LPARAM /*lParam*/)
{
    End(kEndedByReply);
    return 0;
}

void CDURING_COMMUNICATION_DIALOG::OnCancel()
{
    // The check's transfer ends too, so that meter commands do not queue behind it.
    if (ctrl_ != nullptr) ctrl_->CancelUpdateCheck();
    End(kCancelled);
}

void CDURING_COMMUNICATION_DIALOG::End(int result)
{
    progress_->setValue(1000);
    ctrl_ = nullptr;
    // A reply of the cancelled check must not end a later run of this object.
    if (handle_) {
        QtMessageSink::Instance().Unregister(handle_);
        handle_ = HWND();
    }
    done(result);
}
