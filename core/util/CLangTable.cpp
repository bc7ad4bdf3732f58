#include "core/util/CLangTable.h"

#include "core/util/TextUtility.h"
#include "platform/CodePage.h"
#include "platform/RegularFile.h"

#include <cstdio>

namespace {

CLangTable* g_table = nullptr;

// A line is read in pieces of at most this many UTF-16 units, its line feed included.
constexpr std::size_t kMaxLineUnits = 1023;

} // namespace

CLangTable* CLangTable::GetInstance()
{
    if (g_table == nullptr) {
        g_table = new CLangTable();
    }
    return g_table;
}

void CLangTable::Free()
{
    delete g_table;
    g_table = nullptr;
}

int CLangTable::Load(const std::string& path)
{
    // A folder, a FIFO or a device of that name is refused at once, as a missing file is.
    std::string bytes;
    if (RegularFile::ReadAll(path, kMaxFileBytes, bytes) != RegularFile::ReadResult::Ok) {
        return 0;
    }
    LoadFromBytes(bytes);
    return 1;
}

void CLangTable::LoadFromBytes(const std::string& bytes)
{
    // The file has no header: a byte-order mark stays part of the first line. A final odd byte is
    // not a whole unit and is ignored.
    std::u16string line;
    const std::size_t units = bytes.size() / 2;
    for (std::size_t i = 0; i < units; ++i) {
        const auto unit = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                                (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
        line += unit;
        if (unit == u'\n' || line.size() == kMaxLineUnits) {
            AddLine(line);
            line.clear();
        }
    }
    if (!line.empty()) {
        AddLine(line);
    }
}

void CLangTable::AddLine(const std::u16string& wide)
{
    auto converted = CodePage::FromWide(CP_ACP, wide, true);
    if (!converted) {
        return;
    }
    std::string line = *converted;
    TrimTrailingNewlines(line);
    const std::size_t tab = line.find('\t');
    if (tab != 5) {
        return;
    }
    const int id = StringToInt(line.substr(0, 5));
    std::string text = ReplaceAll(line.substr(6), "\\n", "\n");
    text = ReplaceAll(text, "\\t", "\t");
    texts_.emplace(id, std::move(text)); // the first entry of an id wins
}

std::string CLangTable::Lookup(int id) const
{
    const auto it = texts_.find(id);
    return it == texts_.end() ? std::string() : it->second;
}

void CLangTable::Clear()
{
    texts_.clear();
}

std::string GetLangString(int id)
{
    return CLangTable::GetInstance()->Lookup(id);
}

std::string FormatLangString(int id, const std::vector<std::string>& args)
{
    const std::string format = GetLangString(id);
    std::string out;
    std::size_t next = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
            if (next < args.size()) out += args[next++];
            ++i;
        } else if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
            out += '%';
            ++i;
        } else {
            out += format[i];
        }
    }
    return out;
}
