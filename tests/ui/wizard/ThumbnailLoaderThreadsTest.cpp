// The thumbnail loader: what it stores into the records, the messages it posts, an abort in the
// middle of a pass (the photographs being decoded are finished and stored, the end message still
// comes, the rest stay not loaded), its pool of decoders and the shown cells taken first.
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScratchFolder.h"
#include "tests/ui/wizard/WizardPhotoSeries.h"
#include "profilelib/ZarnLib_Image.h"
#include "ui/wizard/ExifInputValues.h"
#include "ui/wizard/ThumbnailLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <set>

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

// Decodes nothing and records which photographs it was asked for, in order; the decodes of the
// held photographs wait inside until the test releases them or Stop asks the pass to end.
class HoldingLoader final : public ThumbnailLoader {
public:
    explicit HoldingLoader(std::set<std::string> held) : held_(std::move(held)) {}
    ~HoldingLoader() override
    {
        Release();
        Stop();
    }

    bool WaitUntilHolding(int count)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return cv_.wait_for(lock, std::chrono::seconds(20), [&] { return holding_ >= count; });
    }
    void Release()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        released_ = true;
        cv_.notify_all();
    }
    std::vector<std::string> Calls()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return calls_;
    }

protected:
    int Decode(ZarnLib_Image* /*image*/, const std::string& path, int, int, double* scale) override
    {
        std::unique_lock<std::mutex> lock(mutex_);
        calls_.push_back(path);
        if (held_.count(path) != 0 || held_.count("*") != 0) {
            ++holding_;
            cv_.notify_all();
            // Stop gives no signal of its own, so the abort flag is looked at every millisecond.
            while (!cv_.wait_for(lock, std::chrono::milliseconds(1), [&] { return released_; })) {
                if (AbortRequested())
                    break;
            }
        }
        *scale = 0.5;
        return -10004;
    }

private:
    std::set<std::string> held_;
    std::mutex mutex_;
    std::condition_variable cv_;
    int holding_ = 0;
    bool released_ = false;
    std::vector<std::string> calls_;
};

std::vector<std::string> PhotoNames(int count)
{
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i)
        paths.push_back("photo" + std::to_string(i));
    return paths;
}

bool EndPosted(const std::vector<RecordingMessageSink::Post>& posts)
{
    return std::any_of(posts.begin(), posts.end(),
                       [](const auto& post) { return post.message == WM_ZARN_THUMB_LOADED && post.wParam == 2; });
}

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
    ThumbnailLoader::RecordList records = MakeRecords(PhotoNames(20));
    RecordingMessageSink sink;
    const HWND strip = sink.CreateWindow();
    records[9]->scale = 0.75;
    GatedLoader loader(9);
    loader.SetDecoderCount(1);
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

TEST(ThumbnailLoaderTest, APoolOfDecodersWorksAtOnceAndDecodesEveryPhotographOnce)
{
    ThumbnailLoader::RecordList records = MakeRecords(PhotoNames(40));
    RecordingMessageSink sink;
    const HWND strip = sink.CreateWindow();
    HoldingLoader loader({"photo0", "photo1", "photo2", "photo3"});
    loader.SetDecoderCount(4);
    ASSERT_EQ(loader.Start(&records, &sink, strip, 90, 91), 1);
    ASSERT_TRUE(loader.WaitUntilHolding(4)) << "the first four photographs are decoded side by side";
    loader.Release();
    ASSERT_TRUE(sink.WaitFor(EndPosted));
    loader.Stop();

    std::vector<std::string> calls = loader.Calls();
    std::sort(calls.begin(), calls.end());
    std::vector<std::string> expected = PhotoNames(40);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(calls, expected);
    const auto loaded = sink.PostsOf(WM_ZARN_THUMB_LOADED);
    ASSERT_EQ(loaded.size(), 41u);
    EXPECT_EQ(loaded.back().wParam, 2u) << "the end comes after every decoder is done";
    std::set<LPARAM> indexes;
    for (std::size_t i = 0; i + 1 < loaded.size(); ++i) {
        EXPECT_EQ(loaded[i].wParam, 1u);
        indexes.insert(loaded[i].lParam);
    }
    EXPECT_EQ(indexes.size(), 40u);
    for (const auto& record : records)
        EXPECT_EQ(record->loadResult, -10004);
}

TEST(ThumbnailLoaderTest, StopWhileEveryDecoderIsBusyFinishesTheirPhotographsAndTakesNoMore)
{
    ThumbnailLoader::RecordList records = MakeRecords(PhotoNames(20));
    RecordingMessageSink sink;
    const HWND strip = sink.CreateWindow();
    HoldingLoader loader({"*"});
    loader.SetDecoderCount(4);
    ASSERT_EQ(loader.Start(&records, &sink, strip, 90, 91), 1);
    ASSERT_TRUE(loader.WaitUntilHolding(4));
    loader.Stop();
    EXPECT_FALSE(loader.IsRunning());

    EXPECT_EQ(loader.Calls().size(), 4u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(records[i]->loadResult, i < 4 ? -10004 : ExifInputValues::kNotLoaded) << i;
    const auto loaded = sink.PostsOf(WM_ZARN_THUMB_LOADED);
    ASSERT_EQ(loaded.size(), 5u);
    EXPECT_EQ(loaded.back().wParam, 2u);
}

TEST(ThumbnailLoaderTest, TheShownCellsAreDecodedFirstAndFollowTheStripWhileItScrolls)
{
    ThumbnailLoader::RecordList records = MakeRecords(PhotoNames(16));
    RecordingMessageSink sink;
    const HWND strip = sink.CreateWindow();
    HoldingLoader loader({"photo5"});
    loader.SetDecoderCount(1);
    loader.SetVisibleRange(5, 6);
    ASSERT_EQ(loader.Start(&records, &sink, strip, 90, 91), 1);
    ASSERT_TRUE(loader.WaitUntilHolding(1));
    // Scrolled on while the first shown photograph decodes: cell 6 is no longer shown.
    loader.SetVisibleRange(10, 12);
    loader.Release();
    ASSERT_TRUE(sink.WaitFor(EndPosted));
    loader.Stop();

    const std::vector<int> order{5, 10, 11, 12, 0, 1, 2, 3, 4, 6, 7, 8, 9, 13, 14, 15};
    std::vector<std::string> expected;
    for (int index : order)
        expected.push_back("photo" + std::to_string(index));
    EXPECT_EQ(loader.Calls(), expected);
    const auto loaded = sink.PostsOf(WM_ZARN_THUMB_LOADED);
    ASSERT_EQ(loaded.size(), order.size() + 1);
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(loaded[i].lParam, order[i]);
}
