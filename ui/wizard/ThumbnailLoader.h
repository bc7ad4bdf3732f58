// The thumbnail strip's loader thread: decodes the strip's photographs one after another at
// thumbnail size, stores the decoded picture and the Exif exposure values into each record and
// posts WM_ZARN_THUMB_LOADED to the strip. Decoding runs outside every lock; the records are
// written field by field under their own locks, so values the user-interface thread writes in the
// meantime (check marks, corners, the record's own scale) are never overwritten by a stale copy.
// The owner stops and joins the thread before it changes or frees the record vector.
#pragma once

#include "platform/WinTypes.h"
#include "platform/WindowHandle.h"

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

    // Starts a pass over the records, posting to the window through the sink. 0 while a thread
    // is held, for null arguments, or when the thread cannot be started.
    int Start(RecordList* records, MessageSink* sink, HWND window, int width, int height);
    // Asks the pass to end after the photograph being decoded, joins it and forgets the records
    // and the window. Always 1.
    int Stop();
    bool IsRunning() const { return thread_.joinable(); }

protected:
    // Decodes one photograph fitted to width x height with its Exif values; 0 on success.
    virtual int Decode(ZarnLib_Image* image, const std::string& path, int width, int height, double* scale);
    // Whether Stop has asked the running pass to end.
    bool AbortRequested();

private:
    void ThreadProc();
    void Post(WPARAM wParam, LPARAM lParam);

    std::mutex lock_;
    MessageSink* sink_ = nullptr;
    HWND window_ = nullptr;
    std::thread thread_;
    int abort_ = 0;
    int width_ = 0;
    int height_ = 0;
    RecordList* records_ = nullptr;
};
