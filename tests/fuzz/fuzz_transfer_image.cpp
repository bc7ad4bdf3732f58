// Decoders of the meters' memory images into the transfer table: byte 0 picks the family, the
// rest fills the family's block. Whatever a meter's memory holds must decode, back up to a file
// that reads again (every decoded value is one a meter byte holds), and encode to a block that
// decodes to the same table.
#include "meter/CKZARN_TransferData.h"
#include "tests/fuzz/BackupFuzzTexts.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

template <typename Block>
Block Fill(const uint8_t* data, size_t size)
{
    Block block;
    std::memcpy(block.bytes.data(), data, std::min(size, block.bytes.size()));
    return block;
}

// The table's names and rows as the backup file writes them.
std::string Backup(const CKZARN_TransferData& table)
{
    std::ostringstream out;
    return table.WriteText(out) == 1 ? out.str() : std::string();
}

// The backup without its name lines: a name with bytes beyond ASCII reads back as the text table's
// unnamed text, as the file's rules say; every other line must come back as it was.
std::string WithoutNames(const std::string& text)
{
    std::istringstream in(text);
    std::string out, line;
    while (std::getline(in, line)) {
        if (line.rfind("Name,", 0) != 0) out += line + "\n";
    }
    return out;
}

template <typename Block, typename Read, typename Write>
void Check(const uint8_t* data, size_t size, Read read, Write write)
{
    const Block image = Fill<Block>(data, size);
    CKZARN_TransferData table;
    if ((table.*read)(&image) != 1) std::abort();

    // Encoded and decoded again, the table holds what it held (names and rows).
    Block encoded;
    if ((table.*write)(&encoded) != 1) std::abort();
    CKZARN_TransferData again;
    if ((again.*read)(&encoded) != 1) std::abort();
    Block reencoded;
    if ((again.*write)(&reencoded) != 1) std::abort();
    if (encoded.bytes != reencoded.bytes) std::abort();

    // The backup of a decoded image reads back (a name the file cannot carry is refused instead).
    const std::string text = Backup(table);
    if (text.empty()) return;
    CKZARN_TransferData restored;
    std::istringstream in(text);
    if (restored.ReadText(in) != 1 || restored.GetFamily() != table.GetFamily()) std::abort();
    const std::string second = Backup(restored);
    if (WithoutNames(second) != WithoutNames(text)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1) return 0;
    LoadBackupFuzzTexts();
    switch (data[0] % 3) {
    case 0:
        Check<T310TransferBlock>(data + 1, size - 1, &CKZARN_TransferData::ReadT310Image,
                                 &CKZARN_TransferData::WriteT310Image);
        break;
    case 1:
        Check<T140TransferBlock>(data + 1, size - 1, &CKZARN_TransferData::ReadT140Image,
                                 &CKZARN_TransferData::WriteT140Image);
        break;
    default:
        Check<T520TransferBlock>(data + 1, size - 1, &CKZARN_TransferData::ReadT520Image,
                                 &CKZARN_TransferData::WriteT520Image);
        break;
    }
    return 0;
}
