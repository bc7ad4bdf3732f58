// Reads or writes one value of a registry store file from a separate process.
//   registry_tool FILE set-string KEYPATH NAME TEXT
//   registry_tool FILE set-dword KEYPATH NAME NUMBER
//   registry_tool FILE get KEYPATH NAME        (prints the string or the number; exit 3 when absent)
// Key paths are below HKEY_LOCAL_MACHINE.
#include "platform/RegistryStore.h"

#include <cstdio>
#include <cstdlib>
#include <string>

int main(int argc, char** argv)
{
    if (argc < 5) return 2;
    const RegistryStore store(argv[1]);
    const std::string op = argv[2];
    RegistryKey key;
    if (op == "get") {
        if (store.OpenKey(HKEY_LOCAL_MACHINE, argv[3], RegAccess::Read, &key) != RegStatus::Ok) return 3;
        DWORD type = 0;
        std::vector<BYTE> data;
        if (key.QueryValue(argv[4], &type, &data) != RegStatus::Ok) return 3;
        if (type == REG_DWORD && data.size() == 4) {
            std::printf("%u", static_cast<unsigned>(data[0] | (data[1] << 8) | (data[2] << 16) | (data[3] << 24)));
        } else {
            std::fwrite(data.data(), 1, data.empty() ? 0 : data.size() - 1, stdout);
        }
        return 0;
    }
    if (argc < 6 || store.CreateKey(HKEY_LOCAL_MACHINE, argv[3], &key) != RegStatus::Ok) return 4;
    std::vector<BYTE> data;
    DWORD type = REG_SZ;
    if (op == "set-string") {
        const std::string text = argv[5];
        data.assign(text.begin(), text.end());
        data.push_back(0);
    } else if (op == "set-dword") {
        const auto n = static_cast<DWORD>(std::strtoul(argv[5], nullptr, 10));
        type = REG_DWORD;
        data = {static_cast<BYTE>(n), static_cast<BYTE>(n >> 8), static_cast<BYTE>(n >> 16), static_cast<BYTE>(n >> 24)};
    } else {
        return 2;
    }
    return key.SetValue(argv[4], type, data) == RegStatus::Ok ? 0 : 5;
}
