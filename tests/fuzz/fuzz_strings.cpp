// Feeds arbitrary bytes to the UI text table's loader as a String.txt image and looks every loaded
// id up again.
#include "core/util/CLangTable.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CLangTable* table = CLangTable::GetInstance();
    table->LoadFromBytes(std::string(reinterpret_cast<const char*>(data), size));
    for (int id = 0; id < 100000; id += 997) {
        (void)table->Lookup(id);
    }
    CLangTable::Free();
    return 0;
}
