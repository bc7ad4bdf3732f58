// Makes the meter worker's three link objects when the worker starts. The worker owns them for its
// whole life and no other thread touches them. Tests hand the worker links to simulated meters.
#pragma once

#include "meter/CCommT140.h"
#include "meter/CCommT310.h"
#include "meter/CCommT520.h"

#include <memory>

class MeterLinkFactory {
public:
    virtual ~MeterLinkFactory() = default;
    virtual std::unique_ptr<CCommT310> CreateT310() = 0;
    virtual std::unique_ptr<CCommT140> CreateT140() = 0;
    virtual std::unique_ptr<CCommT520> CreateT520() = 0;
};
