#include "flash/DlfScript.h"

#include <fstream>
#include <iterator>

void ParseDlfScript(const std::string& bytes, DlfScript& script)
{
    script.clear();
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        const std::size_t next = end == std::string::npos ? bytes.size() : end + 1;
        if (end == std::string::npos) end = bytes.size();
        std::size_t stop = end;
        while (stop > start && (bytes[stop - 1] == '\r' || bytes[stop - 1] == '\n')) --stop;
        script.emplace_back(bytes, start, stop - start);
        start = next;
    }
}

int ReadDlfScript(const std::string& path, DlfScript& script)
{
    script.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file) return 0;
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<unsigned long long>(size) > kDlfMaxFileSize) return 0;
    file.seekg(0, std::ios::beg);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (size > 0 && !file.read(bytes.data(), size)) return 0;
    ParseDlfScript(bytes, script);
    return 1;
}
