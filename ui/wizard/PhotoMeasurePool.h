// Measures several chart photographs at once into one profile. Each photograph is measured into a
// scratch profile of its own on a small pool of threads; the measured entries then join the
// target profile strictly in the given order, up to the first photograph that failed, so the
// profile ends exactly as if the photographs had been measured one after another. It only
// measures: whether the photographs make a sound series is judged afterwards, once, on what it
// measured (ZarnLib_ChartSeriesCheck).
#pragma once

#include "platform/WinTypes.h"
#include "profilelib/ZarnLib_ChartSeriesCheck.h"
#include "profilelib/ZarnLib_EntryKey.h"
#include "profilelib/ZarnLib_PatchKey.h"

#include <functional>
#include <string>
#include <vector>

class ZarnLib_Profile;

class PhotoMeasurePool {
public:
    struct Job {
        std::wstring path;
        POINT corners[4] = {};
        int chartKind = 0;
        ZarnLib_PatchKey tableKey;
        ZarnLib_EntryKey entryKey;
    };
    // Called on the caller's thread after each photograph joined the profile: photographs done.
    using Progress = std::function<void(int done)>;

    // The threads used for a number of photographs: the machine's cores, at most one per photograph.
    static int DefaultThreadCount(std::size_t photographs);

    // Measures the jobs with up to `threads` threads (1: on the caller's thread alone). Returns 0,
    // or the non-zero result of the first photograph in order that failed (its index in
    // *failedJob when given, else -1); photographs after it are not added. `measured`, when given,
    // receives the measured curve and patches of each photograph that joined, in order (their
    // exposures are left for the caller).
    static int MeasureAll(const std::vector<Job>& jobs, int threads, ZarnLib_Profile* profile,
                          const Progress& progress, int* failedJob = nullptr,
                          std::vector<ZarnLib_ChartSeriesCheck::Photo>* measured = nullptr);
};
