#include "ui/wizard/ThumbnailLoader.h"

#include "platform/MessageSink.h"
#include "platform/UsableCores.h"
#include "profilelib/ZarnExif_File.h"
#include "profilelib/ZarnLib_Image.h"
#include "profilelib/ZarnLib_ImageFunctions.h"
#include "ui/wizard/ExifInputValues.h"

#include <algorithm>
#include <system_error>

ThumbnailLoader::~ThumbnailLoader()
{
    Stop();
}

void ThumbnailLoader::SetDecoderCount(int count)
{
    std::lock_guard<std::mutex> guard(lock_);
    decoders_ = std::max(count, 0);
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
        // The vector is changed only after Stop has joined the pass, so its size holds throughout.
        taken_.assign(records->size(), 0);
        nextUntaken_ = 0;
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

void ThumbnailLoader::SetVisibleRange(int first, int last)
{
    std::lock_guard<std::mutex> guard(lock_);
    visibleFirst_ = first;
    visibleLast_ = last;
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

int ThumbnailLoader::TakeNext()
{
    std::lock_guard<std::mutex> guard(lock_);
    if (abort_ == 1)
        return -1;
    const int count = static_cast<int>(taken_.size());
    for (int index = std::max(visibleFirst_, 0); index <= visibleLast_ && index < count; ++index) {
        if (taken_[static_cast<std::size_t>(index)] == 0) {
            taken_[static_cast<std::size_t>(index)] = 1;
            return index;
        }
    }
    while (nextUntaken_ < taken_.size() && taken_[nextUntaken_] != 0)
        ++nextUntaken_;
    if (nextUntaken_ == taken_.size())
        return -1;
    taken_[nextUntaken_] = 1;
    return static_cast<int>(nextUntaken_);
}

void ThumbnailLoader::ThreadProc()
{
    std::size_t count = 0;
    int decoders = 0;
    {
        std::lock_guard<std::mutex> guard(lock_);
        count = taken_.size();
        decoders = decoders_;
    }
    if (decoders == 0)
        decoders = UsableCoreCount();
    if (static_cast<std::size_t>(decoders) > count)
        decoders = static_cast<int>(std::max<std::size_t>(count, 1));

    // This thread decodes too; helpers that cannot be started leave the work to the others.
    std::vector<std::thread> helpers;
    for (int i = 1; i < decoders; ++i) {
        try {
            helpers.emplace_back(&ThumbnailLoader::DecodeLoop, this);
        } catch (const std::system_error&) {
            break;
        }
    }
    DecodeLoop();
    for (std::thread& helper : helpers)
        helper.join();
    Post(2, 0);
}

void ThumbnailLoader::DecodeLoop()
{
    for (int index = TakeNext(); index >= 0; index = TakeNext())
        DecodeOne(static_cast<std::size_t>(index));
}

void ThumbnailLoader::DecodeOne(std::size_t index)
{
    RecordList* records = nullptr;
    int width = 0, height = 0;
    {
        std::lock_guard<std::mutex> guard(lock_);
        records = records_;
        width = width_;
        height = height_;
    }
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
