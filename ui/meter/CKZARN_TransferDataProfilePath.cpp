// The part of CKZARN_TransferData that needs the program's profile folder, which the program-side
// services resolve; the rest of the table stays free of them.
#include "meter/CKZARN_TransferData.h"

#include "core/CKZARN_Common.h"

int CKZARN_TransferData::BuildFromResultFile(const std::string& name, int slot)
{
    if (slot < 0 || slot >= kSlots) return 0;
    return BuildFromProfileFile(CKZARN_Common::GetProfilePath(name), name, slot);
}
