// Numbers shared by the downloader's worker, players and dialog: job ids, the worker's thread
// messages, result codes and the dialog's states.
#pragma once

#include "platform/WinTypes.h"

enum UpdateJobId : int {
    kJobDownloadMain = 1,
    kJobDownloadRadioLoaderUpdater = 2,
    kJobDownloadRadioLoader = 3,
    kJobDownloadRadioApp = 4,
    kJobWriteMain = 6,
    kJobWriteRadioLoaderUpdater = 8,
    kJobWriteRadioLoader = 9,
    kJobWriteRadioApp = 10,
    kJobExitUpdateMode = 11,
};

constexpr UINT WM_UPDATE_JOB_DONE = WM_APP + 1;
constexpr UINT WM_UPDATE_PROGRESS = 0x8002;
constexpr UINT WM_UPDATE_JOB_FAILED = 0x8003;
constexpr UINT WM_UPDATE_DOWNLOAD_FAILED = 0x8004;
constexpr UINT WM_UPDATE_CANCELLED = 0x8005;

enum ZarnflashError : int {
    kFlashOk = 0,
    kFlashT310Open = 0x20000000,
    kFlashT310Setup = 0x20000001,
    kFlashT310Protocol = 0x20000002,
    kFlashT310Read = 0x20000003,
    kFlashT140Open = 0x20000004,
    kFlashT140Setup = 0x20000005,
    kFlashT140Protocol = 0x20000006,
    kFlashT140Read = 0x20000007,
    kFlashT520Open = 0x20000008,
    kFlashT520Setup = 0x20000009,
    kFlashT520Protocol = 0x2000000A,
    kFlashT520Read = 0x2000000B,
    kFlashFileList = 0x20000010,
    kFlashNoVersion = 0x20000011,
    kFlashDownload = 0x20000012,
    kFlashIncomplete = 0x20000100,
    kFlashNothingToDo = 0x20000101,
    kFlashNoScript = 0x20000102,
    // The script is unreadable, damaged or made for another target: refused before the link opens.
    kFlashBadScript = 0x20000103,
    // A chosen image has no version companion, or one without a version and an eight-digit date.
    kFlashNoVersionFile = 0x20000104,
    // The worker thread could not be started.
    kFlashNoWorker = 0x20000105,
    // More than one meter is attached.
    kFlashSeveralMeters = 0x20000106,
    // A transfer failed and the meter could not be told to leave its update mode: it waits for its
    // firmware, and starting the update again finishes it.
    kFlashStillInUpdateMode = 0x20000107,
};

enum ZarnflashUiState : int {
    kUiLaunchedStart = 0,
    kUiDownloading = 1,
    kUiIdle = 5,
    kUiTransfer = 6,
    kUiFinished = 7,
};

// The low word carries the range, the high word the position.
constexpr LPARAM MakeProgressParam(unsigned range, unsigned position)
{
    return static_cast<LPARAM>((range & 0xFFFFu) | ((position & 0xFFFFu) << 16));
}
