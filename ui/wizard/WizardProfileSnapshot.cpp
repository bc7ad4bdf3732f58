#include "ui/wizard/WizardProfileSnapshot.h"

#include "profilelib/ZarnLib_KestrinPatchElement.h"
#include "profilelib/ZarnLib_ProfileEntry.h"

#include <memory>
#include <new>

int WizardProfileSnapshot::CopyProfile(const ZarnLib_Profile& source, ZarnLib_Profile* target)
{
    ZarnLib_Profile fresh;
    for (int t = 0; t < source.TableCount(); ++t) {
        const ZarnLib_KestrinPatchElement* table = source.GetTableAt(t);
        if (table == nullptr)
            continue;
        std::unique_ptr<ZarnLib_KestrinPatchElement> copy(new (std::nothrow) ZarnLib_KestrinPatchElement(table->Key()));
        if (!copy)
            return -1;
        copy->SetChartKind(table->GetStoredChartKind());
        for (int e = 0; e < table->GetEntryCount(); ++e) {
            const ZarnLib_ProfileEntry* entry = table->GetEntry(e);
            std::unique_ptr<ZarnLib_ProfileEntry> entryCopy(new (std::nothrow) ZarnLib_ProfileEntry(*entry));
            if (!entryCopy || copy->AppendEntry(std::move(entryCopy)) != 0)
                return -1;
        }
        *copy->GetBlock(0) = *table->GetBlock(0);
        *copy->GetBlock(1) = *table->GetBlock(1);
        if (fresh.AppendTable(std::move(copy)) != 0)
            return -1;
    }
    fresh.SetVersion(source.GetVersion());
    fresh.SetSubVersion(source.GetSubVersion());
    fresh.SetIlOffset(source.GetIlOffset());
    fresh.SetRlOffset(source.GetRlOffset());
    fresh.SetChartKind(source.GetChartKind());
    target->Swap(fresh);
    return 0;
}

int WizardProfileSnapshot::Take(const ZarnLib_Profile& profile)
{
    held_ = CopyProfile(profile, &copy_) == 0;
    return held_ ? 0 : -1;
}

bool WizardProfileSnapshot::RestoreInto(ZarnLib_Profile* profile)
{
    if (!held_)
        return false;
    profile->Swap(copy_);
    Drop();
    return true;
}

void WizardProfileSnapshot::Drop()
{
    copy_.ClearTables();
    held_ = false;
}
