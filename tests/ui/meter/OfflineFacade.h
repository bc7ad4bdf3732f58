// The meter facade on a worker that never starts, with the registry in a scratch folder: a test
// hands in identity and update records itself and reads what the worker was asked through the
// recording sink.
#pragma once

#include "meter/CKZARN_LMCtrl.h"
#include "tests/support/RecordingMessageSink.h"
#include "tests/support/ScratchFolder.h"
#include "ui/meter/CZarnManager.h"

#include <cstdlib>
#include <memory>

struct OfflineFacade {
    ScratchFolder scratch;
    RecordingMessageSink sink;
    CZarnManager* facade = nullptr;

    OfflineFacade()
    {
        ::setenv("ZARN_REGISTRY_FILE", scratch.File("registry.reg").c_str(), 1);
        facade = CZarnManager::CreateInstance(std::make_unique<CKZARN_LMCtrl>(sink));
    }
    ~OfflineFacade()
    {
        CZarnManager::DestroyInstance();
        ::unsetenv("ZARN_REGISTRY_FILE");
    }
    OfflineFacade(const OfflineFacade&) = delete;
    OfflineFacade& operator=(const OfflineFacade&) = delete;
};
