// The thumbnail loader thread: what it stores into the records, the messages it posts, and an
// abort in the middle of a pass (the photograph being decoded is finished and stored, the end
// message still comes, the rest stay not loaded).
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScratchFolder.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "profilelib/ZarnLib_Image.h"
#include "ui/wizard/ExifInputValues.h"
#include "ui/wizard/ThumbnailLoader.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <filesystem>
#include <fstream>

namespace {

// Decodes nothing: stands in for the image library and lets the test hold the loader inside the
// decoding of one chosen photograph.
class GatedLoader final : public ThumbnailLoader {
public:
    explicit GatedLoader(std::size_t gateIndex) : gateIndex_(gateIndex) {}
    ~GatedLoader() override { Stop(); }

    void WaitUntilInGate()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        cv_.wait(lock, [this] { return inGate_; });
    }

protected:
    int Decode(ZarnLib_Image* /*image*/, const std::string& path, int, int, double* scale) override
    {
        if (path == "photo" + std::to_string(gateIndex_)) {
            std::unique_lock<std::mutex> lock(mutex_);
            inGate_ = true;
            cv_.notify_all();
        }
        if (path == "photo" + std::to_string(gateIndex_)) {
            // Held here until Stop has asked the pass to end.
            while (!AbortRequested())
                std::this_thread::yield();
        }
        *scale = 0.5;
        return -10004; // no picture: the load result is stored as it stands
    }

private:
    std::size_t gateIndex_;
    std::mutex mutex_;
    std::condition_variable cv_;
    bool inGate_ = false;
};

ThumbnailLoader::RecordList MakeRecords(const std::vector<std::string>& paths)
{
    ThumbnailLoader::RecordList records;
    for (const std::string& path : paths) {
        records.push_back(std::make_unique<ExifInputValues>());
        records.back()->path = path;
    }
    return records;
}

} // namespace

TEST(ThumbnailLoaderTest, StopWhileDecodingTheTenthOfTwentyFinishesItAndStillPostsTheEnd)
{
    std::vector<std::string> paths;
    for (int i = 0; i < 20; ++i)
        paths.push_back("photo" + std::to_string(i));
    ThumbnailLoader::RecordList records = MakeRecords(paths);
    RecordingMessageSink sink;
    const HWND strip = sink.CreateWindow();
    records[9]->scale = 0.75;
    GatedLoader loader(9);
    ASSERT_EQ(loader.Start(&records, &sink, strip, 90, 91), 1);
    EXPECT_EQ(loader.Start(&records, &sink, strip, 90, 91), 0) << "a second pass while one runs is refused";
    loader.WaitUntilInGate();
    // The user-interface thread writes a record the loader has already passed: a later decode
    // must not bring back stale values.
    records[3]->Lock();
    records[3]->checked = 1;
    records[3]->Unlock();

    loader.Stop();
    EXPECT_FALSE(loader.IsRunning());

    const auto loaded = sink.PostsOf(WM_ZARN_THUMB_LOADED);
    ASSERT_FALSE(loaded.empty());
    EXPECT_EQ(loaded.back().wParam, 2u);
    EXPECT_EQ(loaded.back().lParam, 0);
    for (std::size_t i = 0; i + 1 < loaded.size(); ++i) {
        EXPECT_EQ(loaded[i].wParam, 1u);
        EXPECT_EQ(loaded[i].lParam, static_cast<LPARAM>(i));
    }
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(records[i]->loadResult, i <= 9 ? -10004 : ExifInputValues::kNotLoaded) << i;
    EXPECT_EQ(records[3]->checked, 1);
    EXPECT_EQ(records[9]->scale, 0.75) << "the thumbnail's fitting scale never replaces the record's own";
    EXPECT_EQ(loader.Start(&records, &sink, strip, 90, 91), 1) << "after Stop a new pass may start";
}

TEST(ThumbnailLoaderTest, RefusesNullArgumentsAndAnEmptyListOnlyPostsTheEnd)
{
    ThumbnailLoader::RecordList records;
    RecordingMessageSink sink;
    const HWND strip = sink.CreateWindow();
    ThumbnailLoader loader;
    EXPECT_EQ(loader.Start(nullptr, &sink, strip, 90, 91), 0);
    EXPECT_EQ(loader.Start(&records, nullptr, strip, 90, 91), 0);
    EXPECT_EQ(loader.Start(&records, &sink, nullptr, 90, 91), 0);
    ASSERT_EQ(loader.Start(&records, &sink, strip, 90, 91), 1);
    ASSERT_TRUE(sink.WaitForCount(WM_ZARN_THUMB_LOADED, 1));
    loader.Stop();
    const auto loaded = sink.PostsOf(WM_ZARN_THUMB_LOADED);
    ASSERT_EQ(loaded.size(), 1u);
    EXPECT_EQ(loaded[0].wParam, 2u);
}

TEST(ThumbnailLoaderTest, DecodesPhotographsAtThumbnailSizeWithTheirExifValues)
{
    ScratchFolder folder;
    const std::string jpeg = folder.File("a.jpg"), tiff = folder.File("b.tif"), broken = folder.File("c.jpg");
    ASSERT_TRUE(wizardtest::WritePhoto(jpeg, 1, 0.0, true, 630, 420));
    ASSERT_TRUE(wizardtest::WritePhoto(tiff, 1, 1.0, false, 630, 420));
    std::ofstream(broken) << "not a picture";
    ThumbnailLoader::RecordList records = MakeRecords({jpeg, tiff, broken, folder.File("missing.jpg")});
    records[0]->scale = 2.5;
    RecordingMessageSink sink;
    const HWND strip = sink.CreateWindow();
    ThumbnailLoader loader;
    ASSERT_EQ(loader.Start(&records, &sink, strip, 110, 66), 1);
    ASSERT_TRUE(sink.WaitFor([](const auto& posts) { return !posts.empty() && posts.back().wParam == 2; }));
    loader.Stop();

    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records[i]->loadResult, 0);
        ASSERT_NE(records[i]->GetImage(), nullptr);
        unsigned w = 0, h = 0;
        records[i]->GetImage()->GetWidth(&w);
        records[i]->GetImage()->GetHeight(&h);
        EXPECT_LE(w, 110u);
        EXPECT_LE(h, 66u);
        EXPECT_TRUE(w == 99u || h == 66u) << w << "x" << h;
        EXPECT_EQ(records[i]->isoFromExif, 1);
        EXPECT_EQ(records[i]->iso, 100);
        EXPECT_EQ(records[i]->shutterFromExif, 1);
        EXPECT_EQ(records[i]->shutterIndex, wizardtest::ShutterIndexOf(i));
        EXPECT_EQ(records[i]->apertureFromExif, 1);
    }
    EXPECT_EQ(records[0]->scale, 2.5);
    for (int i = 2; i < 4; ++i) {
        EXPECT_NE(records[i]->loadResult, 0);
        EXPECT_NE(records[i]->loadResult, ExifInputValues::kNotLoaded);
        EXPECT_EQ(records[i]->GetImage(), nullptr);
        EXPECT_EQ(records[i]->isoFromExif, 0);
    }
}
