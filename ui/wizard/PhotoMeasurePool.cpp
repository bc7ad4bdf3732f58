#include "ui/wizard/PhotoMeasurePool.h"

#include "platform/UsableCores.h"
#include "profilelib/ZarnLib_ChartMeasure.h"
#include "profilelib/ZarnLib_CnvPolyLine.h"
#include "profilelib/ZarnLib_KestrinPatchElement.h"
#include "profilelib/ZarnLib_Profile.h"
#include "profilelib/ZarnLib_ProfileEntry.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// Measures one photograph into a scratch profile of its own (none: measured only), with the
// halves of its patches' middles for the series check.
int MeasureInto(const PhotoMeasurePool::Job& job, ZarnLib_Profile* scratch, ZarnLib_ChartPatchFlatness* flatness)
{
    return MeasureChartPhoto(job.path, job.corners[0], job.corners[1], job.corners[2], job.corners[3], job.chartKind,
                             job.tableKey, job.entryKey, scratch, scratch != nullptr ? flatness : nullptr);
}

// Moves the one entry a scratch profile holds into the target, through the same call that the
// measurement itself makes, with the keys the measurement settled on (cine readings change them),
// and keeps its curve and patches when asked.
int JoinScratch(const ZarnLib_Profile& scratch, ZarnLib_ChartPatchFlatness&& flatness, ZarnLib_Profile* profile,
                std::vector<ZarnLib_ChartSeriesCheck::Photo>* measured)
{
    const ZarnLib_KestrinPatchElement* table = scratch.GetTableAt(0);
    const ZarnLib_ProfileEntry* entry = table != nullptr ? table->GetEntry(0) : nullptr;
    if (entry == nullptr)
        return -1;
    const int result = profile->AddEntry(table->Key(), entry->GetKey(), entry->Curve());
    if (result == 0 && measured != nullptr) {
        ZarnLib_ChartSeriesCheck::Photo photo;
        photo.curve = entry->Curve();
        photo.flatness = std::move(flatness);
        measured->push_back(std::move(photo));
    }
    return result;
}

} // namespace

int PhotoMeasurePool::DefaultThreadCount(std::size_t photographs)
{
    const auto cores = static_cast<std::size_t>(UsableCoreCount());
    return static_cast<int>(std::max<std::size_t>(1, std::min(cores, photographs)));
}

int PhotoMeasurePool::MeasureAll(const std::vector<Job>& jobs, int threads, ZarnLib_Profile* profile,
                                 const Progress& progress, int* failedJob,
                                 std::vector<ZarnLib_ChartSeriesCheck::Photo>* measured)
{
    const std::size_t count = jobs.size();
    threads = static_cast<int>(std::min<std::size_t>(static_cast<std::size_t>(std::max(threads, 1)), count));
    if (failedJob != nullptr)
        *failedJob = -1;
    if (measured != nullptr)
        measured->clear();
    if (threads <= 1) {
        for (std::size_t i = 0; i < count; ++i) {
            ZarnLib_Profile scratch;
            ZarnLib_ChartPatchFlatness flatness;
            int result = MeasureInto(jobs[i], profile != nullptr ? &scratch : nullptr, &flatness);
            if (result == 0 && profile != nullptr)
                result = JoinScratch(scratch, std::move(flatness), profile, measured);
            if (result != 0) {
                if (failedJob != nullptr)
                    *failedJob = static_cast<int>(i);
                return result;
            }
            if (progress)
                progress(static_cast<int>(i + 1));
        }
        return 0;
    }

    struct Slot {
        std::unique_ptr<ZarnLib_Profile> scratch;
        ZarnLib_ChartPatchFlatness flatness;
        int result = 0;
        bool done = false;
    };
    std::vector<Slot> slots(count);
    std::mutex mutex;
    std::condition_variable finished;
    std::atomic<std::size_t> next{0};
    // Index of the first failed photograph known so far: later ones need not be measured.
    std::atomic<std::size_t> firstFailure{count};

    const auto work = [&] {
        for (;;) {
            const std::size_t i = next.fetch_add(1);
            if (i >= count)
                return;
            auto scratch = std::make_unique<ZarnLib_Profile>();
            ZarnLib_ChartPatchFlatness flatness;
            int result = -1;
            if (i < firstFailure.load())
                result = MeasureInto(jobs[i], profile != nullptr ? scratch.get() : nullptr, &flatness);
            if (result != 0) {
                std::size_t seen = firstFailure.load();
                while (i < seen && !firstFailure.compare_exchange_weak(seen, i)) {
                }
            }
            {
                const std::lock_guard<std::mutex> guard(mutex);
                slots[i].scratch = std::move(scratch);
                slots[i].flatness = std::move(flatness);
                slots[i].result = result;
                slots[i].done = true;
            }
            finished.notify_all();
        }
    };

    std::vector<std::thread> pool;
    pool.reserve(static_cast<std::size_t>(threads));
    for (int t = 0; t < threads; ++t)
        pool.emplace_back(work);

    // Join the measured entries in order on this thread while the pool goes on measuring.
    int outcome = 0;
    for (std::size_t i = 0; i < count && outcome == 0; ++i) {
        std::unique_ptr<ZarnLib_Profile> scratch;
        ZarnLib_ChartPatchFlatness flatness;
        int result = 0;
        {
            std::unique_lock<std::mutex> lock(mutex);
            finished.wait(lock, [&] { return slots[i].done; });
            scratch = std::move(slots[i].scratch);
            flatness = std::move(slots[i].flatness);
            result = slots[i].result;
        }
        if (result == 0 && profile != nullptr)
            result = JoinScratch(*scratch, std::move(flatness), profile, measured);
        if (result != 0) {
            outcome = result;
            if (failedJob != nullptr)
                *failedJob = static_cast<int>(i);
            break;
        }
        if (progress)
            progress(static_cast<int>(i + 1));
    }
    if (outcome != 0) {
        // Later photographs are of no use any more; the pool stops taking them.
        next.store(count);
    }
    for (std::thread& t : pool)
        t.join();
    return outcome;
}
