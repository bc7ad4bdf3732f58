#include "ui/wizard/ThumbnailLoader.h"

#include "platform/MessageSink.h"
#include "profilelib/ZarnExif_File.h"
#include "profilelib/ZarnLib_Image.h"
#include "profilelib/ZarnLib_ImageFunctions.h"
#include "ui/wizard/ExifInputValues.h"

#include <system_error>

ThumbnailLoader::~ThumbnailLoader()
{
    Stop();
}

int ThumbnailLoader::Start(RecordList* records, MessageSink* sink, HWND window, int width, int height)
{
    if (thread_.joinable() || records == nullptr || sink == nullptr || window == nullptr)
        return 0;
    {
        std::lock_guard<std::mutex> guard(lock_);
        records_ = records;
        sink_ = sink;
        window_ = window;
        width_ = width;
        height_ = height;
        abort_ = 0;
    }
    try {
        thread_ = std::thread(&ThumbnailLoader::ThreadProc, this);
    } catch (const std::system_error&) {
        std::lock_guard<std::mutex> guard(lock_);
        records_ = nullptr;
        sink_ = nullptr;
        window_ = nullptr;
        return 0;
    }
    return 1;
}

int ThumbnailLoader::Stop()
{
    {
        std::lock_guard<std::mutex> guard(lock_);
        abort_ = 1;
    }
    // Never waited for under the lock: the thread takes it between photographs and to post.
    if (thread_.joinable())
        thread_.join();
    std::lock_guard<std::mutex> guard(lock_);
    records_ = nullptr;
    sink_ = nullptr;
    window_ = nullptr;
    abort_ = 0;
    return 1;
}

int ThumbnailLoader::Decode(ZarnLib_Image* image, const std::string& path, int width, int height, double* scale)
{
    RECT fitRect{};
    image->Reset();
    return image->Load(ZarnExif_File::NativeToWide(path), kImageLoadFit | kImageLoadExif, width, height, &fitRect,
                       scale);
}

bool ThumbnailLoader::AbortRequested()
{
    std::lock_guard<std::mutex> guard(lock_);
    return abort_ == 1;
}

void ThumbnailLoader::Post(WPARAM wParam, LPARAM lParam)
{
    std::lock_guard<std::mutex> guard(lock_);
    if (sink_ != nullptr)
        sink_->PostMessage(window_, WM_ZARN_THUMB_LOADED, wParam, lParam);
}

void ThumbnailLoader::ThreadProc()
{
    RecordList* records = nullptr;
    int width = 0, height = 0;
    {
        std::lock_guard<std::mutex> guard(lock_);
        records = records_;
        width = width_;
        height = height_;
    }
    // The vector is changed only after Stop has joined this thread, so its size may be read here.
    for (std::size_t index = 0; records != nullptr && index < records->size(); ++index) {
        if (AbortRequested())
            break;
        ExifInputValues* record = (*records)[index].get();
        auto image = std::make_unique<ZarnLib_Image>();
        record->Lock();
        const std::string path = record->path;
        record->Unlock();

        // The thumbnail's own fitting scale stays with the decoded picture (ZarnLib_Image::GetScale);
        // the record's scale belongs to its marked corners and is left alone.
        double scale = 0.0;
        const int result = Decode(image.get(), path, width, height, &scale);
        int iso = 0, shutter = 0, aperture = 0;
        int isoResult = -1, shutterResult = -1, apertureResult = -1;
        if (result == 0) {
            isoResult = GetExifIso(image.get(), &iso);
            shutterResult = GetExifShutterIndex(image.get(), &shutter);
            apertureResult = GetExifApertureIndex(image.get(), &aperture);
        }

        record->Lock();
        if (result != 0) {
            record->SetImage(nullptr);
            record->loadResult = result;
        } else {
            record->SetImage(image.release());
            record->loadResult = 0;
            record->isoFromExif = isoResult == 0 ? 1 : 0;
            record->shutterFromExif = shutterResult == 0 ? 1 : 0;
            record->apertureFromExif = apertureResult == 0 ? 1 : 0;
            if (isoResult == 0)
                record->iso = iso;
            if (shutterResult == 0)
                record->shutterIndex = shutter;
            if (apertureResult == 0)
                record->apertureIndex = aperture;
        }
        record->Unlock();
        Post(1, static_cast<LPARAM>(index));
    }
    Post(2, 0);
}
