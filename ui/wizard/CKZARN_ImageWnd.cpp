#include "ui/wizard/CKZARN_ImageWnd.h"

#include "core/ZarnAppSettings.h"
#include "core/util/CLangTable.h"
#include "platform/PromptService.h"
#include "platform/qt/QtMessageSink.h"
#include "profilelib/ZarnLib_Bitmap.h"
#include "profilelib/ZarnLib_ChartCorners.h"
#include "profilelib/ZarnLib_Image.h"
#include "ui/wizard/WizardAppLink.h"
#include "ui/wizard/WizardMarkPictures.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

namespace {

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

bool Inside(const RECT& r, int x, int y)
{
    return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
}

} // namespace

CKZARN_ImageWnd::CKZARN_ImageWnd(QWidget* parent) : QWidget(parent)
{
    markers_[0] = WizardMarkPictures::Load(WizardMarkPictures::kMarkerTopLeft);
    markers_[1] = WizardMarkPictures::Load(WizardMarkPictures::kMarkerTopRight);
    markers_[2] = WizardMarkPictures::Load(WizardMarkPictures::kMarkerBottomRight);
    markers_[3] = WizardMarkPictures::Load(WizardMarkPictures::kMarkerBottomLeft);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
}

CKZARN_ImageWnd::~CKZARN_ImageWnd() = default;

void CKZARN_ImageWnd::Redraw()
{
    update();
    repaint();
}

void CKZARN_ImageWnd::Reset()
{
    image_ = nullptr;
    viewRect_ = RECT{0, 0, width(), height()};
    imageRect_ = RECT{};
    for (POINT& p : corners_)
        p = POINT{};
    activeMarker_ = -1;
    Redraw();
}

void CKZARN_ImageWnd::SetPhoto(ZarnLib_Image* image, int a, int b, int chartKind, const POINT* corners,
                               const RECT* imageRect, const double* scale)
{
    image_ = image;
    if (image == nullptr) {
        imageRect_ = RECT{};
        return;
    }
    if (imageRect != nullptr)
        imageRect_ = *imageRect;
    if (scale != nullptr)
        photoScale_ = *scale;
    const RECT& r = imageRect_;
    const bool anyCorner = std::any_of(std::begin(corners_), std::end(corners_),
                                       [](const POINT& p) { return p.x != 0 || p.y != 0; });
    if (corners != nullptr) {
        for (int i = 0; i < 4; ++i)
            corners_[i] = POINT{r.left + corners[i].x, r.top + corners[i].y};
    } else if (anyCorner) {
        // The previous photograph's markers stay, each pulled inside its own two edges.
        corners_[0].x = std::max(corners_[0].x, r.left);
        corners_[0].y = std::max(corners_[0].y, r.top);
        corners_[1].x = std::min(corners_[1].x, r.right);
        corners_[1].y = std::max(corners_[1].y, r.top);
        corners_[2].x = std::min(corners_[2].x, r.right);
        corners_[2].y = std::min(corners_[2].y, r.bottom);
        corners_[3].x = std::max(corners_[3].x, r.left);
        corners_[3].y = std::min(corners_[3].y, r.bottom);
    } else {
        bool found = false;
        if (mode_ == kCornerMode) {
            POINT found4[4] = {};
            found = FindChartCorners(image, chartKind, &found4[0], &found4[1], &found4[2], &found4[3]);
            if (found) {
                for (int i = 0; i < 4; ++i)
                    corners_[i] = found4[i];
            } else if (PromptService* prompt = PromptService::Installed()) {
                prompt->MessageBox(QtMessageSink::Instance().FindHandle(window()), GetLangString(3058),
                                   GetLangString(1000), MB_OK | MB_ICONEXCLAMATION);
            }
        }
        if (!found) {
            const double* f = WizardAppLink::Settings().corners;
            for (int i = 0; i < 4; ++i)
                corners_[i] = POINT{static_cast<LONG>((r.right - r.left) * f[2 * i] + r.left),
                                    static_cast<LONG>((r.bottom - r.top) * f[2 * i + 1] + r.top)};
        }
    }
    keptA_ = a;
    keptB_ = b;
    activeMarker_ = -1;
    Redraw();
}

void CKZARN_ImageWnd::SetDisplayImage(ZarnLib_Image* image)
{
    image_ = image;
    Redraw();
}

void CKZARN_ImageWnd::GetCornerPoints(POINT out[4], double* scale) const
{
    for (int i = 0; i < 4; ++i)
        out[i] = POINT{corners_[i].x - imageRect_.left, corners_[i].y - imageRect_.top};
    if (scale != nullptr)
        *scale = photoScale_;
}

BOOL CKZARN_ImageWnd::HasImageRect() const
{
    return imageRect_.right - imageRect_.left >= 1 && imageRect_.bottom - imageRect_.top >= 1 ? TRUE : FALSE;
}

void CKZARN_ImageWnd::OnDraw(QPainter& painter)
{
    painter.fillRect(rect(), QColor::fromRgba(0xFF000000));
    const ZarnLib_Bitmap* bitmap = nullptr;
    if (image_ != nullptr && image_->GetBitmap(&bitmap) == 0 && bitmap != nullptr) {
        const QImage view(reinterpret_cast<const uchar*>(bitmap->Data()), static_cast<int>(bitmap->GetWidth()),
                          static_cast<int>(bitmap->GetHeight()), static_cast<qsizetype>(bitmap->GetWidth()) * 4,
                          QImage::Format_ARGB32);
        painter.drawImage(imageRect_.left, imageRect_.top, view);
    }
    if (!IsEmpty(imageRect_) && mode_ == kCornerMode && activeMarker_ == -1)
        for (int i = 0; i < 4; ++i)
            DrawMarker(i, painter);
}

void CKZARN_ImageWnd::DrawMarker(int i, QPainter& painter)
{
    painter.drawPixmap(corners_[i].x - 16, corners_[i].y - 16, 32, 32, markers_[i]);
}

BOOL CKZARN_ImageWnd::SetCursorForPosition(POINT pointer)
{
    if (!IsEmpty(imageRect_) && activeMarker_ >= 0 && Inside(imageRect_, pointer.x, pointer.y)) {
        // The dragged marker rides on the pointer, its centre as the hot spot.
        setCursor(QCursor(markers_[activeMarker_], 16, 16));
        return TRUE;
    }
    setCursor(Qt::ArrowCursor);
    return FALSE;
}

void CKZARN_ImageWnd::paintEvent(QPaintEvent* /*event*/)
{
    OnPaint();
}

void CKZARN_ImageWnd::OnPaint()
{
    QPainter painter(this);
    OnDraw(painter);
}

void CKZARN_ImageWnd::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton)
        OnRButtonDown(POINT{at.x(), at.y()});
    else if (event->button() == Qt::LeftButton)
        OnLButtonDown(POINT{at.x(), at.y()});
}

void CKZARN_ImageWnd::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    OnMouseMove(POINT{at.x(), at.y()});
}

void CKZARN_ImageWnd::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton)
        OnLButtonUp(POINT{at.x(), at.y()});
}

void CKZARN_ImageWnd::OnRButtonDown(POINT point)
{
    ReportPointer(WM_ZARN_IMAGE_RBUTTONDOWN, point.x, point.y, true, -1);
}

void CKZARN_ImageWnd::OnLButtonDown(POINT point)
{
    setFocus();
    if (IsEmpty(imageRect_))
        return;
    dragMode_ = mode_;
    activeMarker_ = -1;
    if (mode_ == kCornerMode)
        for (int i = 0; i < 4; ++i)
            if (point.x >= corners_[i].x - 10 && point.x < corners_[i].x + 10 && point.y >= corners_[i].y - 10 &&
                point.y < corners_[i].y + 10) {
                activeMarker_ = i;
                break;
            }
    info_.x = point.x;
    info_.y = point.y;
    if (activeMarker_ >= 0) {
        // All markers vanish while one rides on the pointer; the drag follows the mouse-move events
        // and the report comes with the release.
        Redraw();
        SetCursorForPosition(point);
        return;
    }
    ReportPointer(WM_ZARN_IMAGE_LBUTTONDOWN, point.x, point.y, true, dragMode_);
}

void CKZARN_ImageWnd::OnMouseMove(POINT point)
{
    if (activeMarker_ >= 0) {
        // The corner follows the pointer only inside the picture, so it never leaves it.
        if (Inside(imageRect_, point.x, point.y))
            corners_[activeMarker_] = point;
        SetCursorForPosition(point);
        return;
    }
    ReportPointer(WM_ZARN_IMAGE_MOUSEMOVE, point.x, point.y, false, -1);
}

void CKZARN_ImageWnd::OnLButtonUp(POINT /*point*/)
{
    if (activeMarker_ < 0)
        return;
    const int pressX = info_.x, pressY = info_.y;
    activeMarker_ = -1;
    setCursor(Qt::ArrowCursor);
    update();
    // The report of a drag carries the press position.
    ReportPointer(WM_ZARN_IMAGE_LBUTTONDOWN, pressX, pressY, true, dragMode_);
}

void CKZARN_ImageWnd::ReportPointer(UINT message, int x, int y, bool post, int mode)
{
    if (owner_ == nullptr || image_ == nullptr || IsEmpty(imageRect_))
        return;
    info_.x = x;
    info_.y = y;
    info_.mode = mode == -1 ? mode_ : mode;
    LPARAM lParam = -1;
    if (Inside(imageRect_, x, y)) {
        info_.imageX = static_cast<int>((x - imageRect_.left) / pointerScale_);
        info_.imageY = static_cast<int>((y - imageRect_.top) / pointerScale_);
        if (mode_ == kCornerMode)
            lParam = activeMarker_;
    } else {
        info_.imageX = -1;
        info_.imageY = -1;
        std::fill(std::begin(info_.outside), std::end(info_.outside), static_cast<unsigned char>(255));
    }
    QtMessageSink& sink = QtMessageSink::Instance();
    const HWND owner = sink.FindHandle(owner_);
    if (owner == nullptr)
        return;
    if (post)
        sink.PostMessage(owner, message, reinterpret_cast<WPARAM>(&info_), lParam);
    else
        sink.SendMessage(owner, message, reinterpret_cast<WPARAM>(&info_), lParam);
}
