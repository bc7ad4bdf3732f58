#include "tests/support/HidOperationTable.h"

#include "meter/CCommT140.h"
#include "meter/CCommT520.h"

#include <functional>
#include <vector>

namespace {

template <typename Comm, typename Block>
struct FamilyOps {
    using Op = std::function<bool(Comm&, Block&)>;
    static std::vector<std::pair<std::string, Op>> List(const std::string& family, const char* revision)
    {
        std::vector<std::pair<std::string, Op>> ops = {
            {"GetModelCode", [](Comm& c, Block&) { return c.GetModelCode() < 998; }},
            {"GetModelName", [](Comm& c, Block&) { std::string t; return c.GetModelName(&t) != FALSE; }},
            {"GetRevision", [](Comm& c, Block&) { std::string t; return c.GetRevision(&t) != FALSE; }},
            {"GetDateString", [](Comm& c, Block&) { std::string t; return c.GetDateString(&t) != FALSE; }},
            {"GetState", [](Comm& c, Block&) { return c.GetState() != 999; }},
            {"GetStatus", [](Comm& c, Block&) { return c.GetStatus() < 998; }},
            {"WaitUntilReady", [revision](Comm& c, Block&) { return c.WaitUntilReady(revision) != FALSE; }},
            {"GetVersionA", [](Comm& c, Block&) { std::string t; return c.GetVersionA(&t) != FALSE; }},
            {"GetVersionB", [](Comm& c, Block&) { std::string t; return c.GetVersionB(&t) != FALSE; }},
            {"ResetMeter", [](Comm& c, Block&) { return c.ResetMeter() != FALSE; }},
            {"ReadCustomSettings", [](Comm& c, Block& b) { return c.ReadCustomSettings(&b) != FALSE; }},
            {"WriteCustomSettings", [](Comm& c, Block& b) { return c.WriteCustomSettings(&b) != FALSE; }},
            {"ReadSettingTables", [](Comm& c, Block& b) { return c.ReadSettingTables(&b) != FALSE; }},
            {"WriteSettingTables", [](Comm& c, Block& b) { return c.WriteSettingTables(&b) != FALSE; }},
            {"ReadProfileNames", [](Comm& c, Block& b) { return c.ReadProfileNames(&b) != FALSE; }},
            {"ReadAllProfiles", [](Comm& c, Block& b) { return c.ReadAllProfiles(&b) != FALSE; }},
            {"WriteProfiles", [](Comm& c, Block& b) { return c.WriteProfiles(&b, 0x7FF) != FALSE; }},
        };
        for (auto& op : ops) op.first = family + "." + op.first;
        return ops;
    }
};

struct Entry {
    std::string name;
    unsigned productId;
    std::function<bool(HidDeviceSystem&)> run;
};

template <typename Comm, typename Block>
void AddFamily(std::vector<Entry>& table, const std::string& family, const char* revision,
               std::vector<std::pair<std::string, typename FamilyOps<Comm, Block>::Op>> extra = {})
{
    auto ops = FamilyOps<Comm, Block>::List(family, revision);
    for (auto& e : extra) ops.push_back({family + "." + e.first, e.second});
    for (auto& entry : ops) {
        auto op = entry.second;
        table.push_back(Entry{entry.first, Comm::kProductId, [op](HidDeviceSystem& system) {
                                  Comm comm(system);
                                  if (!comm.OpenDevice()) return false;
                                  const COMMTIMEOUTS timeouts{100, 20, 500, 20, 500};
                                  comm.SetTimeouts(&timeouts);
                                  // Blocks with values in the meters' ranges, so writes go all the way.
                                  Block block;
                                  for (std::size_t i = 0; i < block.bytes.size(); ++i)
                                      block.bytes[i] = static_cast<std::uint8_t>(i % 3);
                                  const bool ok = op(comm, block);
                                  comm.Close();
                                  return ok;
                              }});
    }
}

const std::vector<Entry>& Table()
{
    static const std::vector<Entry> table = [] {
        std::vector<Entry> t;
        AddFamily<CCommT520, T520TransferBlock>(
            t, "T520", "16",
            {{"GetVariant", [](CCommT520& c, T520TransferBlock&) { return c.GetVariant() != 0; }},
             {"GetInfo11String", [](CCommT520& c, T520TransferBlock&) {
                  std::string text;
                  return c.GetInfo11String(&text) != FALSE;
              }}});
        AddFamily<CCommT140, T140TransferBlock>(t, "T140", "17");
        return t;
    }();
    return table;
}

} // namespace

std::size_t HidOperationTable::Count()
{
    return Table().size();
}

std::string HidOperationTable::Name(std::size_t index)
{
    return Table().at(index).name;
}

unsigned HidOperationTable::ProductId(std::size_t index)
{
    return Table().at(index).productId;
}

bool HidOperationTable::Run(std::size_t index, HidDeviceSystem& system)
{
    return Table().at(index).run(system);
}
