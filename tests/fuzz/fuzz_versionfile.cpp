// Version file reader: a response body of any bytes, cut into lines as it arrives, then parsed.
#include "core/util/HttpLineSplitter.h"
#include "core/util/UpdateListParser.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    // The first byte chooses the piece size, as a network read would.
    const size_t piece = 1 + data[0] % 64;
    const char* body = reinterpret_cast<const char*>(data + 1);
    const size_t length = size - 1;
    HttpLineSplitter splitter;
    std::vector<std::string> lines;
    for (size_t pos = 0; pos < length; pos += piece) splitter.Feed(body + pos, std::min(piece, length - pos), lines);
    splitter.Finish(lines);
    std::vector<ZarnUpdateRecord> records;
    const int result = UpdateListParser::ParseVersionFile(lines, records);
    if ((result != 0 && result != 1) || records.size() > lines.size()) std::abort();
    return 0;
}
