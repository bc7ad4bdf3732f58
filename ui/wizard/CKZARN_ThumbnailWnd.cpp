#include "ui/wizard/CKZARN_ThumbnailWnd.h"

#include "core/ShellPathUtility.h"
#include "core/util/CFolderScanner.h"
#include "core/util/PathUtility.h"
#include "platform/RegularFile.h"
#include "platform/qt/QtMessageSink.h"
#include "profilelib/ZarnLib_Bitmap.h"
#include "profilelib/ZarnLib_Image.h"
#include "ui/wizard/ExifInputValues.h"
#include "ui/wizard/WizardMarkPictures.h"

#include <QFocusEvent>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>

#include <algorithm>

namespace {

// Horizontal scroll-bar request codes.
constexpr UINT kLineLeft = 0, kLineRight = 1, kPageLeft = 2, kPageRight = 3, kThumbPosition = 4, kThumbTrack = 5,
               kLeft = 6, kRight = 7;

QRect ToQRect(const RECT& r)
{
    return QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
}

bool Intersects(const RECT& a, const RECT& b)
{
    return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

bool Contains(const RECT& r, POINT p)
{
    return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
}

// Draws a decoded picture at its own size with its top-left corner at (x, y).
void DrawBitmap(QPainter& painter, const ZarnLib_Bitmap& bitmap, int x, int y)
{
    const QImage view(reinterpret_cast<const uchar*>(bitmap.Data()), static_cast<int>(bitmap.GetWidth()),
                      static_cast<int>(bitmap.GetHeight()), static_cast<qsizetype>(bitmap.GetWidth()) * 4,
                      QImage::Format_ARGB32);
    painter.drawImage(x, y, view);
}

} // namespace

CKZARN_ThumbnailWnd::CKZARN_ThumbnailWnd(QWidget* parent)
    : QWidget(parent),
      checkedPicture_(WizardMarkPictures::Load(WizardMarkPictures::kChecked)),
      uncheckedPicture_(WizardMarkPictures::Load(WizardMarkPictures::kUnchecked)),
      confirmedPicture_(WizardMarkPictures::Load(WizardMarkPictures::kCornersConfirmed)),
      loader_(std::make_unique<ThumbnailLoader>())
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    handle_ = QtMessageSink::Instance().Register(this, this);
}

CKZARN_ThumbnailWnd::~CKZARN_ThumbnailWnd()
{
    OnDestroy();
    QtMessageSink::Instance().Unregister(handle_);
}

void CKZARN_ThumbnailWnd::OnDestroy()
{
    // The loader walks the records: it is joined before they go.
    loader_->Stop();
    Clear();
}

BOOL CKZARN_ThumbnailWnd::Create(DWORD /*style*/, const RECT& rect, QWidget* parent, UINT id)
{
    if (parent != nullptr && parentWidget() != parent)
        setParent(parent);
    setObjectName(QString::number(id));
    setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    if (scrollBar_ == nullptr) {
        scrollBar_ = new QScrollBar(Qt::Horizontal, this);
        scrollBar_->setObjectName(QString::number(kScrollBarId));
        scrollBar_->setFocusPolicy(Qt::NoFocus);
        connect(scrollBar_, &QScrollBar::actionTriggered, this, [this](int action) {
            // The scroll bar's own step is replaced by the strip's rules.
            const int position = scrollBar_->sliderPosition();
            switch (action) {
            case QAbstractSlider::SliderSingleStepSub: OnHScroll(kLineLeft, 0); break;
            case QAbstractSlider::SliderSingleStepAdd: OnHScroll(kLineRight, 0); break;
            case QAbstractSlider::SliderPageStepSub: OnHScroll(kPageLeft, 0); break;
            case QAbstractSlider::SliderPageStepAdd: OnHScroll(kPageRight, 0); break;
            case QAbstractSlider::SliderToMinimum: OnHScroll(kLeft, 0); break;
            case QAbstractSlider::SliderToMaximum: OnHScroll(kRight, 0); break;
            case QAbstractSlider::SliderMove: OnHScroll(kThumbTrack, position); return;
            default: return;
            }
            scrollBar_->setSliderPosition(scrollX_);
        });
    }
    const int barHeight = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    scrollBar_->setGeometry(0, height() - barHeight, width(), barHeight);
    scrollBar_->hide();
    show();
    return TRUE;
}

void CKZARN_ThumbnailWnd::ResetLayout(int cornerMode)
{
    cornerMode_ = cornerMode;
    scrollX_ = 0;
    scrollY_ = 0;
    selected_ = -1;
    backBuffer_ = QImage(std::max(1, width()), std::max(1, height()), QImage::Format_ARGB32);
    const int barHeight = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    cellW_ = width() / cellsAcross_;
    cellH_ = height() - barHeight;
    if (scrollBar_ != nullptr)
        scrollBar_->setGeometry(0, height() - barHeight, width(), barHeight);
}

void CKZARN_ThumbnailWnd::TellLoaderVisibleCells()
{
    // The cells under the client area at the current offset, so that they are decoded first.
    if (cellW_ <= 0)
        return;
    const int first = scrollX_ / cellW_;
    loader_->SetVisibleRange(first, (scrollX_ + std::max(width(), 1) - 1) / cellW_);
}

void CKZARN_ThumbnailWnd::StartLoader()
{
    TellLoaderVisibleCells();
    loader_->Start(&records_, &QtMessageSink::Instance(), handle_, cellW_ - 10, cellH_ - 53);
}

int CKZARN_ThumbnailWnd::LoadFolder(const std::string& folder)
{
    loader_->Stop();
    Clear();
    const bool exists = FileExists(folder) != FALSE;
    if (exists) {
        std::vector<std::string> paths;
        CFolderScanner().ScanFolder(folder, paths, {"jpg", "jpeg", "jpe", "jfif", "tif", "tiff"}, 0);
        // The strip shows the photographs in name order, whatever order the folder lists them in;
        // only regular files are photographs (a FIFO or a device would block the loader).
        std::sort(paths.begin(), paths.end(), [](const std::string& a, const std::string& b) {
            const int order = CompareNoCaseMbcs(a, b);
            return order != 0 ? order < 0 : a < b;
        });
        for (const std::string& path : paths)
            if (RegularFile::IsRegular(path))
                AddFile(path);
        StartLoader();
    }
    UpdateScrollRange();
    selected_ = -1;
    update();
    return exists ? 1 : 0;
}

int CKZARN_ThumbnailWnd::SetFiles(const std::vector<std::string>& paths)
{
    loader_->Stop();
    Clear();
    for (const std::string& path : paths)
        AddFile(path);
    StartLoader();
    UpdateScrollRange();
    selected_ = -1;
    update();
    return 1;
}

ExifInputValues* CKZARN_ThumbnailWnd::AddFile(const std::string& path)
{
    auto record = std::make_unique<ExifInputValues>();
    record->path = path;
    records_.push_back(std::move(record));
    return records_.back().get();
}

void CKZARN_ThumbnailWnd::Clear()
{
    // Records are freed only with no loader pass walking them.
    loader_->Stop();
    for (auto& record : records_)
        record->Reset();
    records_.clear();
    scrollX_ = 0;
    scrollY_ = 0;
    selected_ = -1;
}

void CKZARN_ThumbnailWnd::StopLoading()
{
    loader_->Stop();
}

int CKZARN_ThumbnailWnd::GetAllPaths(std::vector<std::string>* paths)
{
    paths->clear();
    for (auto& record : records_) {
        record->Lock();
        paths->push_back(record->path);
        record->Unlock();
    }
    return static_cast<int>(paths->size());
}

int CKZARN_ThumbnailWnd::GetCheckedPaths(std::vector<std::string>* paths)
{
    paths->clear();
    for (auto& record : records_) {
        record->Lock();
        if (record->checked != 0)
            paths->push_back(record->path);
        record->Unlock();
    }
    return static_cast<int>(paths->size());
}

int CKZARN_ThumbnailWnd::GetSelectedRecord(ExifInputValues* out)
{
    ExifInputValues* record = GetRecordAt(selected_);
    if (record == nullptr || out == nullptr)
        return 0;
    record->Lock();
    out->Assign(*record);
    record->Unlock();
    return 1;
}

bool CKZARN_ThumbnailWnd::GetRecordByPath(const std::string& path, ExifInputValues* out)
{
    ExifInputValues* record = FindRecordByPath(path, nullptr);
    if (record == nullptr) {
        if (out != nullptr)
            out->Reset();
        return false;
    }
    if (out != nullptr) {
        record->Lock();
        out->Assign(*record);
        record->Unlock();
    }
    return true;
}

ExifInputValues* CKZARN_ThumbnailWnd::FindRecordByPath(const std::string& path, int* index)
{
    for (std::size_t i = 0; i < records_.size(); ++i) {
        ExifInputValues* record = records_[i].get();
        record->Lock();
        const bool same = record->path == path;
        record->Unlock();
        if (same) {
            if (index != nullptr)
                *index = static_cast<int>(i);
            return record;
        }
    }
    if (index != nullptr)
        *index = -1;
    return nullptr;
}

int CKZARN_ThumbnailWnd::IsMarked(const std::string& path)
{
    ExifInputValues* record = FindRecordByPath(path, nullptr);
    if (record == nullptr)
        return 0;
    record->Lock();
    const int marked = record->cornersConfirmed;
    record->Unlock();
    return marked;
}

ExifInputValues* CKZARN_ThumbnailWnd::GetRecordAt(int index)
{
    if (index < 0 || index >= GetCount())
        return nullptr;
    return records_[static_cast<std::size_t>(index)].get();
}

void CKZARN_ThumbnailWnd::UpdateRecord(const std::string& path, const ExifInputValues& values)
{
    ExifInputValues* record = FindRecordByPath(path, nullptr);
    if (record == nullptr || record == &values)
        return;
    record->Lock();
    // A copy taken before the loader reached the record must not undo what it stored since: once
    // loaded, the load result and the values read from the Exif data stay the loader's.
    const bool loaded = record->loadResult != ExifInputValues::kNotLoaded;
    const std::int32_t loadResult = record->loadResult;
    const std::int32_t isoFromExif = record->isoFromExif, shutterFromExif = record->shutterFromExif,
                       apertureFromExif = record->apertureFromExif;
    const std::int32_t iso = record->iso, shutterIndex = record->shutterIndex, apertureIndex = record->apertureIndex;
    record->Assign(values);
    if (loaded) {
        record->loadResult = loadResult;
        record->isoFromExif = isoFromExif;
        record->shutterFromExif = shutterFromExif;
        record->apertureFromExif = apertureFromExif;
        if (isoFromExif != 0)
            record->iso = iso;
        if (shutterFromExif != 0)
            record->shutterIndex = shutterIndex;
        if (apertureFromExif != 0)
            record->apertureIndex = apertureIndex;
    }
    record->Unlock();
}

void CKZARN_ThumbnailWnd::SetMarked(const std::string& path)
{
    ExifInputValues* record = FindRecordByPath(path, nullptr);
    if (record == nullptr)
        return;
    record->Lock();
    record->cornersConfirmed = 1;
    record->Unlock();
    update();
}

int CKZARN_ThumbnailWnd::ToggleCheck(int index)
{
    ExifInputValues* record = GetRecordAt(index);
    if (record == nullptr)
        return 0;
    record->Lock();
    const int previous = record->checked;
    record->checked = previous == 0 ? 1 : 0;
    record->Unlock();
    if (SendToParent(WM_ZARN_THUMB_CHECK, reinterpret_cast<WPARAM>(record), previous) == 0) {
        record->Lock();
        record->checked = previous;
        record->Unlock();
    }
    update();
    return 1;
}

int CKZARN_ThumbnailWnd::Select(int index, int notify)
{
    const int old = selected_;
    selected_ = index;
    update();
    if (notify == 0)
        return 1;
    LPARAM modifiers = 0;
    const Qt::KeyboardModifiers keys = QGuiApplication::queryKeyboardModifiers();
    if (keys & Qt::ShiftModifier)
        modifiers |= 0x1;
    if (keys & Qt::ControlModifier)
        modifiers |= 0x10;
    if (keys & Qt::AltModifier)
        modifiers |= 0x100;
    if (SendToParent(WM_ZARN_THUMB_SELECT, reinterpret_cast<WPARAM>(GetRecordAt(index)), modifiers) == 1)
        return 1;
    selected_ = old;
    update();
    return 0;
}

int CKZARN_ThumbnailWnd::SelectByPath(const std::string& path, int notify)
{
    int index = -1;
    if (FindRecordByPath(path, &index) == nullptr)
        return 0;
    return Select(index, notify);
}

int CKZARN_ThumbnailWnd::EnsureVisible(int index)
{
    const int count = GetCount();
    if (count == 0)
        return 0;
    index = std::clamp(index, 0, count - 1);
    const QRect client = rect();
    if ((index + 1) * cellW_ - scrollX_ > client.right() + 1)
        scrollX_ = (index + 1) * cellW_ + client.left() - (client.right() + 1);
    else if (index * cellW_ - scrollX_ < 0)
        scrollX_ = index * cellW_;
    Select(index, 1);
    if (scrollBar_ != nullptr)
        scrollBar_->setSliderPosition(scrollX_);
    TellLoaderVisibleCells();
    update();
    return 1;
}

LRESULT CKZARN_ThumbnailWnd::SendToParent(UINT message, WPARAM wParam, LPARAM lParam)
{
    QtMessageSink& sink = QtMessageSink::Instance();
    const HWND parent = sink.FindHandle(parentWidget());
    if (parent == nullptr)
        return 0;
    return sink.SendMessage(parent, message, wParam, lParam);
}

RECT CKZARN_ThumbnailWnd::GetCellRect(int i) const
{
    return RECT{i * cellW_ - scrollX_, -scrollY_, i * cellW_ - scrollX_ + cellW_, cellH_ - scrollY_};
}

RECT CKZARN_ThumbnailWnd::GetCheckBoxRect(int i) const
{
    const RECT cell = GetCellRect(i);
    return RECT{cell.right - 23, 7 - scrollY_, cell.right - 7, 23 - scrollY_};
}

RECT CKZARN_ThumbnailWnd::GetImageRect(int i) const
{
    const RECT cell = GetCellRect(i);
    return RECT{cell.left + 5, 28 - scrollY_, cell.right - 5, cellH_ - scrollY_ - 25};
}

RECT CKZARN_ThumbnailWnd::GetNameRect(int i) const
{
    const RECT cell = GetCellRect(i);
    return RECT{cell.left + 5, cellH_ - scrollY_ - 20, cell.right - 5, cellH_ - scrollY_ - 5};
}

RECT CKZARN_ThumbnailWnd::GetBevelRect(int i) const
{
    const RECT cell = GetCellRect(i);
    return RECT{cell.left + 2, 2 - scrollY_, cell.right - 2, cellH_ - scrollY_ - 2};
}

int CKZARN_ThumbnailWnd::HitTest(POINT point, BOOL* inCheckBox) const
{
    if (inCheckBox != nullptr)
        *inCheckBox = FALSE;
    const RECT client{0, 0, width(), height()};
    if (!Contains(client, point))
        return -1;
    for (int i = 0; i < GetCount(); ++i) {
        if (Contains(GetCellRect(i), point)) {
            if (inCheckBox != nullptr)
                *inCheckBox = Contains(GetCheckBoxRect(i), point) ? TRUE : FALSE;
            return i;
        }
    }
    return -1;
}

bool CKZARN_ThumbnailWnd::IsCellVisible(int index) const
{
    RECT client{0, 0, width(), height()};
    if (scrollBarShown_ && scrollBar_ != nullptr)
        client.bottom -= scrollBar_->height();
    return Intersects(GetCellRect(index), client);
}

void CKZARN_ThumbnailWnd::UpdateScrollRange()
{
    if (scrollBar_ == nullptr)
        return;
    const int maximum = std::max(0, 0 + cellW_ * (GetCount() + 1) - width());
    // The scroll bar's positions run from 0 to maximum - page + 1.
    scrollBar_->setRange(0, std::max(0, maximum - cellW_ + 1));
    scrollBar_->setPageStep(cellW_);
    scrollBar_->setSingleStep(10);
    scrollBar_->setSliderPosition(0);
    scrollBarShown_ = cellW_ < maximum;
    scrollBar_->setVisible(scrollBarShown_);
}

void CKZARN_ThumbnailWnd::OnHScroll(UINT code, int trackPosition)
{
    if (scrollBar_ == nullptr)
        return;
    if (!hasFocus())
        setFocus();
    const int page = scrollBar_->pageStep();
    const int last = scrollBar_->maximum(); // maximum - page + 1 of the full range
    int position = scrollX_;
    switch (code) {
    case kLineLeft: position = std::max(0, position - 10); break;
    case kLineRight: position = std::min(last, position + 10); break;
    case kPageLeft: position = std::max(0, position - page); break;
    case kPageRight: position = std::min(last, position + page); break;
    case kThumbPosition:
    case kThumbTrack: position = trackPosition; break;
    case kLeft: position = scrollBar_->minimum(); break;
    case kRight: position = last; break;
    default: return;
    }
    scrollX_ = position;
    scrollBar_->setSliderPosition(position);
    TellLoaderVisibleCells();
    update();
}

LRESULT CKZARN_ThumbnailWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ZARN_THUMB_LOADED)
        return OnThumbLoaded(wParam, lParam);
    return 0;
}

LRESULT CKZARN_ThumbnailWnd::OnThumbLoaded(WPARAM wParam, LPARAM lParam)
{
    if (wParam == 1) {
        if (IsCellVisible(static_cast<int>(lParam)))
            update();
    } else if (wParam == 2) {
        update();
    }
    return 1;
}

std::string CKZARN_ThumbnailWnd::FileTitle(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\:");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(0, dot);
}

void CKZARN_ThumbnailWnd::DrawBevel(QPainter& painter, const RECT& r)
{
    painter.fillRect(ToQRect(r), QColor::fromRgba(0xFF3D3D3D));
    static const QRgb kLines[4][3] = {{0xFF4E4E4E, 0xFF4D4D4D, 0xFF2C2C2C},
                                      {0xFF2B2B2B, 0xFF666666, 0xFF242424},
                                      {0xFF3A3A3A, 0xFF4F4F4F, 0xFF373737},
                                      {0xFF505050, 0xFF4C4C4C, 0xFF2B2B2B}};
    for (int side = 0; side < 4; ++side) {
        for (int k = 0; k < 3; ++k) {
            painter.setPen(QColor::fromRgba(kLines[side][k]));
            const int l = r.left + k, t = r.top + k, rr = r.right - k, b = r.bottom - k;
            switch (side) {
            case 0: painter.drawLine(l, t, rr, t); break;
            case 1: painter.drawLine(rr, t, rr, b); break;
            case 2: painter.drawLine(l, b, rr, b); break;
            default: painter.drawLine(l, t, l, b); break;
            }
        }
    }
}

void CKZARN_ThumbnailWnd::DrawFileName(QPainter& painter, const std::string& path, const RECT& band)
{
    QFont font(QStringLiteral("ＭＳ ゴシック"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(10);
    painter.setFont(font);
    painter.setPen(QColor::fromRgba(0xFFFFFFFF));
    const QRect box = ToQRect(band);
    // Trimmed with an ellipsis in the middle, as a path would be; no wrapping.
    const QString text = QFontMetrics(font).elidedText(QString::fromStdString(FileTitle(path)), Qt::ElideMiddle,
                                                       box.width());
    painter.drawText(box, Qt::AlignHCenter | Qt::AlignVCenter | Qt::TextSingleLine, text);
}

void CKZARN_ThumbnailWnd::paintEvent(QPaintEvent* /*event*/)
{
    OnPaint();
}

void CKZARN_ThumbnailWnd::OnPaint()
{
    if (backBuffer_.size() != size())
        backBuffer_ = QImage(std::max(1, width()), std::max(1, height()), QImage::Format_ARGB32);
    backBuffer_.fill(QColor::fromRgba(0xFF000000));
    {
        QPainter buffer(&backBuffer_);
        const RECT client{0, 0, width(), height()};
        for (int i = 0; i < GetCount(); ++i) {
            if (!Intersects(GetCellRect(i), client))
                continue;
            if (i == selected_)
                DrawBevel(buffer, GetBevelRect(i));
            ExifInputValues* record = records_[static_cast<std::size_t>(i)].get();
            record->Lock();
            if (cornerMode_ == 0) {
                const RECT box = GetCheckBoxRect(i);
                buffer.drawPixmap(box.left, box.top, record->checked != 0 ? checkedPicture_ : uncheckedPicture_);
            }
            const RECT area = GetImageRect(i);
            const int areaW = area.right - area.left, areaH = area.bottom - area.top;
            const ZarnLib_Bitmap* bitmap = nullptr;
            if (record->GetImage() != nullptr && record->GetImage()->GetBitmap(&bitmap) == 0 && bitmap != nullptr)
                DrawBitmap(buffer, *bitmap, area.left + areaW / 2 - static_cast<int>(bitmap->GetWidth()) / 2,
                           area.top + areaH / 2 - static_cast<int>(bitmap->GetHeight()) / 2);
            if (cornerMode_ != 0 && record->cornersConfirmed != 0)
                buffer.drawPixmap(area.left + areaW / 2 - confirmedPicture_.width() / 2,
                                  area.top + areaH / 2 - confirmedPicture_.height() / 2, confirmedPicture_);
            DrawFileName(buffer, record->path, GetNameRect(i));
            record->Unlock();
        }
    }
    QPainter window(this);
    window.drawImage(0, 0, backBuffer_);
}

void CKZARN_ThumbnailWnd::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint at = event->position().toPoint();
        OnLButtonDown(POINT{at.x(), at.y()});
    }
    QWidget::mousePressEvent(event);
}

void CKZARN_ThumbnailWnd::OnLButtonDown(POINT point)
{
    setFocus();
    BOOL inCheckBox = FALSE;
    const int index = HitTest(point, &inCheckBox);
    // In corner mode the check boxes are not drawn: a click there selects like the rest of the cell
    // instead of silently unchecking a chosen photograph.
    if (index >= 0 && inCheckBox && cornerMode_ == 0)
        ToggleCheck(index);
    else if (index >= 0)
        Select(index, 1);
}

void CKZARN_ThumbnailWnd::keyPressEvent(QKeyEvent* event)
{
    PreTranslateMessage(event);
}

BOOL CKZARN_ThumbnailWnd::PreTranslateMessage(QKeyEvent* event)
{
    const int count = GetCount();
    switch (event->key()) {
    case Qt::Key_PageUp: EnsureVisible(std::max(0, selected_ - 5)); break;
    case Qt::Key_PageDown: EnsureVisible(std::min(count - 1, selected_ + 5)); break;
    case Qt::Key_End: EnsureVisible(count - 1); break;
    case Qt::Key_Home: EnsureVisible(0); break;
    case Qt::Key_Left: EnsureVisible(selected_ - 1); break;
    case Qt::Key_Right: EnsureVisible(selected_ + 1); break;
    default: break;
    }
    // Every key press is consumed here.
    event->accept();
    return TRUE;
}

void CKZARN_ThumbnailWnd::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    OnSetFocus();
}
