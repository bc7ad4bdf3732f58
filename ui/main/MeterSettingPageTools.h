// What the custom-settings and user-settings pages both do around their property list: run one
// read or write command under the progress dialog, look an item up by key, and tell whether any
// meter is connected (which Reset needs).
#pragma once

#include <string>

class CFlexItem;
class CFlexListCtrl;

class MeterSettingPageTools {
public:
    // Runs the command on the facade's worker under the progress dialog; its error code (0 success).
    static int RunMeterCommand(int code);
    // The first item of the list with the key; NULL when there is none.
    static CFlexItem* FindItem(CFlexListCtrl* list, const std::string& key);
    // True while a meter of any family is connected.
    static bool AnyMeterConnected();
};
