#include "flash/CZarnflashMeterReader.h"

#include "flash/CZarnflashHidLink.h"
#include "flash/CZarnflashSerialLink.h"

FlashMeterReading CZarnflashMeterReader::Read(MeterLinkFactory& links)
{
    int present[4] = {0, 0, 0, 0};
    int count = 0;
    {
        CZarnflashHidLink t140(links.CreateT140(), CZarnflashHidLink::Family::T140);
        const int n140 = t140.CountDevices(nullptr);
        CZarnflashHidLink t520(links.CreateT520(), CZarnflashHidLink::Family::T520);
        const int n520 = t520.CountDevices(nullptr);
        std::unique_ptr<CCommT310> t310 = links.CreateT310();
        const int n310 = t310->HasMultipleT310Ports() ? 2 : (t310->FindT310Port().empty() ? 0 : 1);
        present[FlashMeterReading::T140] = n140 > 0;
        present[FlashMeterReading::T520] = n520 > 0;
        present[FlashMeterReading::T310] = n310 > 0;
        count = n140 + n520 + n310;
    }
    last_.several = count > 1;
    int found = FlashMeterReading::None;
    if (!last_.several) {
        for (int f : {FlashMeterReading::T140, FlashMeterReading::T520, FlashMeterReading::T310}) {
            if (present[f]) {
                found = f;
                break;
            }
        }
    }
    for (int f : {FlashMeterReading::T140, FlashMeterReading::T520, FlashMeterReading::T310}) {
        const int now = f == found ? 1 : 0;
        if (now == presence_[f]) continue;
        presence_[f] = now;
        if (now) {
            ReadFamily(links, f);
        } else if (last_.family == f) {
            const bool several = last_.several;
            last_ = FlashMeterReading();
            last_.several = several;
        }
    }
    last_.family = found;
    return last_;
}

void CZarnflashMeterReader::ReadFamily(MeterLinkFactory& links, int family)
{
    const bool several = last_.several;
    last_ = FlashMeterReading();
    last_.several = several;
    if (family == FlashMeterReading::T310) {
        CZarnflashSerialLink link(links.CreateT310());
        if (link.Open("", nullptr)) {
            link.Prepare(nullptr);
            link.Link().GetModelName(&last_.model, nullptr);
            link.Link().GetRevision(&last_.revision, nullptr);
            link.Close();
        }
        return;
    }
    const bool t520 = family == FlashMeterReading::T520;
    std::unique_ptr<CCommHidMeter> comm;
    if (t520) {
        comm = links.CreateT520();
    } else {
        comm = links.CreateT140();
    }
    CZarnflashHidLink link(std::move(comm), t520 ? CZarnflashHidLink::Family::T520 : CZarnflashHidLink::Family::T140);
    link.CountDevices(&last_.devicePath);
    if (!link.Open(last_.devicePath, nullptr)) return;
    link.GetModelName(&last_.model);
    link.GetRevision(&last_.revision);
    if (link.WaitUntilReady(last_.revision)) {
        last_.appVersion = link.GetVersionB();
        last_.loaderVersion = link.GetVersionA();
        if (t520) last_.variant = link.GetVariant();
        link.GetModelName(&last_.model);
    }
    link.Close();
}
