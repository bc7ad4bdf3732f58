#include "core/util/RegistryRefusalNotice.h"

#include "core/util/CLangTable.h"
#include "platform/RegistryStore.h"

std::string RegistryRefusalNotice::Take()
{
    std::string path;
    int reason = 0;
    switch (RegistryStore::TakeRefusal(&path)) {
    case RegistryRefusal::None: return std::string();
    case RegistryRefusal::NotRegularFile: reason = kTextNotRegularFile; break;
    case RegistryRefusal::TooLarge: reason = kTextTooLarge; break;
    case RegistryRefusal::Malformed: reason = kTextMalformed; break;
    }
    return FormatLangString(kTextMessage, {path, GetLangString(reason)});
}
