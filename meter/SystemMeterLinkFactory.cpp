#include "meter/SystemMeterLinkFactory.h"

std::unique_ptr<CCommT310> SystemMeterLinkFactory::CreateT310()
{
    return std::make_unique<CCommT310>(serial_);
}

std::unique_ptr<CCommT140> SystemMeterLinkFactory::CreateT140()
{
    return std::make_unique<CCommT140>();
}

std::unique_ptr<CCommT520> SystemMeterLinkFactory::CreateT520()
{
    return std::make_unique<CCommT520>();
}
