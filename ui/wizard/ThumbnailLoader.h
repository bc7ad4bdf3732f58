// The thumbnail strip's loader: one loader thread per pass, which decodes the strip's photographs
// at thumbnail size on a small pool of decoders (itself and helpers it starts and joins), stores
// the decoded picture and the Exif exposure values into each record and posts
// WM_ZARN_THUMB_LOADED to the strip for each one as it is done. Photographs are taken in order,
// except that the cells the strip shows are taken first. Decoding runs outside every lock; the
// records are written field by field under their own locks, so values the user-interface thread
// writes in the meantime (check marks, corners, the record's own scale) are never overwritten by
// a stale copy. The owner stops and joins the thread before it changes or frees the record vector.
#pragma once

#include "platform/WinTypes.h"
#include "platform/WindowHandle.h"

#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ExifInputValues;
class MessageSink;
class ZarnLib_Image;

inline constexpr UINT WM_ZARN_THUMB_LOADED = WM_APP + 1000;

class ThumbnailLoader {
public:
    using RecordList = std::vector<std::unique_ptr<ExifInputValues>>;

    ThumbnailLoader() = default;
    ThumbnailLoader(const ThumbnailLoader&) = delete;
    ThumbnailLoader& operator=(const ThumbnailLoader&) = delete;
    virtual ~ThumbnailLoader();

    // The decoders of the next passes; 0 (the default) is one per core, and never more than one
    // per photograph.
    void SetDecoderCount(int count);
    // Starts a pass over the records, posting to the window through the sink. 0 while a thread
    // is held, for null arguments, or when the thread cannot be started.
    int Start(RecordList* records, MessageSink* sink, HWND window, int width, int height);
    // The records the strip shows now (first to last, inclusive; first > last for none): those
    // not yet taken are decoded before the others. Kept for the following passes.
    void SetVisibleRange(int first, int last);
    // Asks the pass to end after the photographs being decoded, joins it and forgets the records
    // and the window. Always 1.
    int Stop();
    bool IsRunning() const { return thread_.joinable(); }

protected:
    // Decodes one photograph fitted to width x height with its Exif values; 0 on success. Called
    // from several decoders at once, each with its own image.
    virtual int Decode(ZarnLib_Image* image, const std::string& path, int width, int height, double* scale);
    // Whether Stop has asked the running pass to end.
    bool AbortRequested();

private:
    void ThreadProc();
    void DecodeLoop();
    // The next record to decode, marked as taken; -1 once all are taken or the pass is ending.
    int TakeNext();
    void DecodeOne(std::size_t index);
    void Post(WPARAM wParam, LPARAM lParam);

    std::mutex lock_;
    MessageSink* sink_ = nullptr;
    HWND window_ = nullptr;
    std::thread thread_;
    int abort_ = 0;
    int width_ = 0;
    int height_ = 0;
    int decoders_ = 0;
    int visibleFirst_ = 0;
    int visibleLast_ = -1;
    RecordList* records_ = nullptr;
    std::vector<char> taken_;
    std::size_t nextUntaken_ = 0;
};
