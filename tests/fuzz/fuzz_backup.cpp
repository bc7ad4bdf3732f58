// Backup file reader: a file of any bytes. Whatever it accepts must write out again and read back
// to the same file, so no accepted value or name is one the writer cannot carry.
#include "meter/CKZARN_TransferData.h"
#include "tests/fuzz/BackupFuzzTexts.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    LoadBackupFuzzTexts();
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    CKZARN_TransferData table;
    if (table.ReadText(in) != 1) return 0;
    std::ostringstream first;
    if (table.WriteText(first) != 1) return 0; // a name the file cannot carry is refused, not garbled
    CKZARN_TransferData again;
    std::istringstream back(first.str());
    if (again.ReadText(back) != 1 || again.GetFamily() != table.GetFamily()) std::abort();
    std::ostringstream second;
    if (again.WriteText(second) != 1 || second.str() != first.str()) std::abort();
    return 0;
}
