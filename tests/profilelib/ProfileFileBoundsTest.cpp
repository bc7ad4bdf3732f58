// Profile files are read only when they are regular files within the size ceiling: a file far
// larger than any profile, or a FIFO in a profile's place, is refused at once without being read.
#include "profilelib/ZarnLib_ProfileFile.h"

#include "tests/support/ProcessCounters.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kIsoCount = 67;
constexpr int kLightSources = 2;
constexpr int kMostPhotographs = 21; // an extended-range Gradus run
constexpr int kLongestCurve = 25;    // the Gradus II chart's patches

// The largest profile the wizard and the manual entry make: every ISO speed and light source, each
// table with the photographs of the longest run and both blocks with their adjustments.
void FillLargestProfile(ZarnLib_Profile& profile)
{
    profile.SetVersion(3);
    profile.SetSubVersion(1);
    std::vector<_ZARNLIB_VECTOR2> points;
    for (int i = 0; i < kLongestCurve; ++i) points.push_back({static_cast<double>(i), 10.0 * i});
    ZarnLib_CnvPolyLine curve;
    EXPECT_EQ(curve.SetPoints(points.data(), kLongestCurve, false), 0);
    int iso = 3;
    for (int i = 0; i < kIsoCount; ++i, iso += 7) {
        for (int light = 0; light < kLightSources; ++light) {
            ZarnLib_PatchKey key;
            key.SetIso(iso);
            key.SetLightSource(light);
            key.SetChartKind(2);
            for (int photo = 0; photo < kMostPhotographs; ++photo) {
                ZarnLib_EntryKey entry;
                entry.SetIso(iso);
                entry.SetShutter(10 + photo);
                entry.SetAperture(20);
                EXPECT_EQ(profile.AddEntry(key, entry, curve), 0);
            }
        }
    }
}

// Makes a sparse file of that size: cheap to create, and it would cost that many bytes to read.
void GrowTo(const std::string& path, off_t size)
{
    ASSERT_EQ(::truncate(path.c_str(), size), 0);
}

} // namespace

TEST(ProfileFileBounds, TheLargestProfileTheProgramsMakeLiesFarBelowTheCeiling)
{
    ScratchFolder folder;
    const ZarnLibString path(folder.File("largest.kpf").c_str());
    ZarnLib_Profile profile;
    FillLargestProfile(profile);
    ASSERT_EQ(profile.TableCount(), kIsoCount * kLightSources);
    ASSERT_EQ(SaveProfile(&path, &profile), 0);
    const auto size = static_cast<long>(std::filesystem::file_size(folder.File("largest.kpf")));
    RecordProperty("largest_profile_bytes", static_cast<int>(size));
    EXPECT_LT(size * 16, kMaxProfileFileBytes);
    ZarnLib_Profile loaded;
    EXPECT_EQ(LoadProfile(&path, &loaded), 0);
    EXPECT_EQ(loaded.TableCount(), profile.TableCount());
}

// A profile padded beyond the ceiling (300 MB, sparse) is refused by its size: the bytes read and
// the memory taken stay small. Padded to the ceiling itself it still loads, so the size alone
// refused it. A FIFO is refused without waiting for a writer.
TEST(ProfileFileBounds, AHugeFileAndAFifoAreRefusedWithoutReadingThem)
{
    ScratchFolder folder;
    const std::string file = folder.File("padded.kpf");
    const ZarnLibString path(file.c_str());
    ZarnLib_Profile profile;
    profile.SetVersion(3);
    profile.SetSubVersion(0);
    ASSERT_EQ(SaveProfile(&path, &profile), 0);
    GrowTo(file, kMaxProfileFileBytes);
    ZarnLib_Profile loaded;
    EXPECT_EQ(LoadProfile(&path, &loaded), 0);

    GrowTo(file, 300'000'000);
    const bool peakKnown = ProcessCounters::ResetPeakMemory();
    const long long peakBefore = ProcessCounters::PeakMemoryKb();
    const long long readBefore = ProcessCounters::BytesRead();
    EXPECT_EQ(LoadProfile(&path, &loaded), -1);
    EXPECT_LT(ProcessCounters::BytesRead() - readBefore, 1 << 20);
    if (peakKnown) {
        EXPECT_LT(ProcessCounters::PeakMemoryKb() - peakBefore, 64 * 1024);
    }

    const std::string fifo = folder.File("fifo.kpf");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const ZarnLibString fifoPath(fifo.c_str());
    EXPECT_EQ(LoadProfile(&fifoPath, &loaded), -1);
}
