#include "platform/RegistryDocument.h"

#include <cstdio>

namespace {

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads 1 to 8 hex digits as a whole text.
bool ParseHex32(std::string_view text, DWORD& out)
{
    if (text.empty() || text.size() > 8) return false;
    DWORD v = 0;
    for (char c : text) {
        const int d = HexDigit(c);
        if (d < 0) return false;
        v = (v << 4) | static_cast<DWORD>(d);
    }
    out = v;
    return true;
}

// "aa,bb,..." (possibly empty) into bytes.
bool ParseHexBytes(std::string_view text, std::vector<BYTE>& out)
{
    out.clear();
    if (text.empty()) return true;
    size_t pos = 0;
    while (true) {
        if (pos + 2 > text.size()) return false;
        const int hi = HexDigit(text[pos]);
        const int lo = HexDigit(text[pos + 1]);
        if (hi < 0 || lo < 0) return false;
        out.push_back(static_cast<BYTE>(hi * 16 + lo));
        pos += 2;
        if (pos == text.size()) return true;
        if (text[pos] != ',') return false;
        ++pos;
    }
}

// A quoted text with \\ and \" escapes starting at text[0] == '"'. On success `used` is the
// number of characters consumed, closing quote included.
bool ParseQuoted(std::string_view text, std::string& out, size_t& used)
{
    out.clear();
    if (text.empty() || text[0] != '"') return false;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            used = i + 1;
            return true;
        }
        if (c == '\\') {
            if (i + 1 >= text.size()) return false;
            const char n = text[i + 1];
            if (n != '\\' && n != '"') return false;
            out.push_back(n);
            ++i;
        } else {
            out.push_back(c);
        }
    }
    return false;
}

std::string Quote(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

bool IsControl(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u < 0x20 || u == 0x7F;
}

// A string value is written in quotes only when that form gives back exactly the same bytes: one
// terminating zero at the end, none inside, no control characters.
bool HasPlainStringForm(const std::vector<BYTE>& data)
{
    if (data.empty() || data.back() != 0) return false;
    for (size_t i = 0; i + 1 < data.size(); ++i) {
        if (data[i] == 0 || IsControl(static_cast<char>(data[i]))) return false;
    }
    return true;
}

std::string HexBytes(const std::vector<BYTE>& data)
{
    std::string out;
    char buf[4];
    for (size_t i = 0; i < data.size(); ++i) {
        std::snprintf(buf, sizeof buf, "%02x", data[i]);
        if (i) out.push_back(',');
        out += buf;
    }
    return out;
}

bool IsValidKeyPath(std::string_view path)
{
    if (path.empty()) return false;
    size_t start = 0;
    while (true) {
        const size_t end = path.find('\\', start);
        const std::string_view element = path.substr(start, end == std::string_view::npos ? path.size() - start : end - start);
        if (element.empty() || !RegistryDocument::IsStorableName(element)) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

} // namespace

bool RegistryDocument::EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

bool RegistryDocument::IsStorableName(std::string_view name)
{
    for (char c : name) {
        if (IsControl(c)) return false;
    }
    return true;
}

const RegistryDocument::Key* RegistryDocument::FindKey(std::string_view path) const
{
    for (const Key& k : keys_) {
        if (EqualNoCase(k.path, path)) return &k;
    }
    return nullptr;
}

RegistryDocument::Key* RegistryDocument::FindKey(std::string_view path)
{
    for (Key& k : keys_) {
        if (EqualNoCase(k.path, path)) return &k;
    }
    return nullptr;
}

bool RegistryDocument::KeyExists(std::string_view path) const
{
    for (const Key& k : keys_) {
        if (EqualNoCase(k.path, path)) return true;
        if (k.path.size() > path.size() && k.path[path.size()] == '\\' &&
            EqualNoCase(std::string_view(k.path).substr(0, path.size()), path)) {
            return true;
        }
    }
    return false;
}

RegistryDocument::Key& RegistryDocument::CreateKey(std::string_view path)
{
    if (Key* k = FindKey(path)) return *k;
    // Keep the case under which a parent is already listed.
    std::string stored(path);
    for (const Key& k : keys_) {
        for (size_t len = stored.size(); len > 0; --len) {
            if (len < stored.size() && stored[len] != '\\') continue;
            if (k.path.size() >= len && (k.path.size() == len || k.path[len] == '\\') &&
                EqualNoCase(std::string_view(k.path).substr(0, len), std::string_view(stored).substr(0, len))) {
                stored.replace(0, len, k.path.substr(0, len));
                break;
            }
        }
    }
    keys_.push_back(Key{stored, {}});
    return keys_.back();
}

const RegistryDocument::Value* RegistryDocument::FindValue(const Key& key, std::string_view name)
{
    for (const Value& v : key.values) {
        if (EqualNoCase(v.name, name)) return &v;
    }
    return nullptr;
}

void RegistryDocument::SetValue(Key& key, std::string_view name, DWORD type, std::vector<BYTE> data)
{
    for (Value& v : key.values) {
        if (EqualNoCase(v.name, name)) {
            v.type = type;
            v.data = std::move(data);
            return;
        }
    }
    key.values.push_back(Value{std::string(name), type, std::move(data)});
}

bool RegistryDocument::ParseValueLine(std::string_view line, Key& key)
{
    std::string name;
    size_t used = 0;
    if (line.substr(0, 2) == "@=") {
        used = 1;
    } else if (!ParseQuoted(line, name, used) || name.empty() || !IsStorableName(name)) {
        return false;
    }
    if (used >= line.size() || line[used] != '=') return false;
    const std::string_view data = line.substr(used + 1);

    if (!data.empty() && data[0] == '"') {
        std::string text;
        size_t textUsed = 0;
        if (!ParseQuoted(data, text, textUsed) || textUsed != data.size()) return false;
        std::vector<BYTE> bytes(text.begin(), text.end());
        bytes.push_back(0);
        SetValue(key, name, REG_SZ, std::move(bytes));
        return true;
    }
    if (data.substr(0, 6) == "dword:") {
        DWORD v = 0;
        if (!ParseHex32(data.substr(6), v)) return false;
        std::vector<BYTE> bytes(4);
        for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(v >> (8 * i));
        SetValue(key, name, REG_DWORD, std::move(bytes));
        return true;
    }
    DWORD type = REG_BINARY;
    std::string_view rest;
    if (data.substr(0, 4) == "hex:") {
        rest = data.substr(4);
    } else if (data.substr(0, 4) == "hex(") {
        const size_t close = data.find("):");
        if (close == std::string_view::npos || !ParseHex32(data.substr(4, close - 4), type)) return false;
        rest = data.substr(close + 2);
    } else {
        return false;
    }
    std::vector<BYTE> bytes;
    if (!ParseHexBytes(rest, bytes)) return false;
    SetValue(key, name, type, std::move(bytes));
    return true;
}

bool RegistryDocument::Parse(std::string_view text)
{
    keys_.clear();
    if (text.empty()) return true;
    Key* current = nullptr;
    bool first = true;
    size_t pos = 0;
    while (pos <= text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (first) {
            if (line != kHeader) return false;
            first = false;
            continue;
        }
        if (line.empty() || line[0] == ';') continue;
        if (line[0] == '[') {
            if (line.size() < 3 || line.back() != ']') return false;
            const std::string_view path = line.substr(1, line.size() - 2);
            if (!IsValidKeyPath(path)) return false;
            current = &CreateKey(path);
            continue;
        }
        if (!current || !ParseValueLine(line, *current)) return false;
    }
    return true;
}

std::string RegistryDocument::Serialize() const
{
    std::string out(kHeader);
    out += "\n";
    for (const Key& k : keys_) {
        out += "\n[" + k.path + "]\n";
        for (const Value& v : k.values) {
            out += v.name.empty() ? std::string("@") : Quote(v.name);
            out += "=";
            if (v.type == REG_SZ && HasPlainStringForm(v.data)) {
                out += Quote(std::string_view(reinterpret_cast<const char*>(v.data.data()), v.data.size() - 1));
            } else if (v.type == REG_DWORD && v.data.size() == 4) {
                char buf[16];
                const DWORD n = static_cast<DWORD>(v.data[0]) | (static_cast<DWORD>(v.data[1]) << 8) |
                                (static_cast<DWORD>(v.data[2]) << 16) | (static_cast<DWORD>(v.data[3]) << 24);
                std::snprintf(buf, sizeof buf, "dword:%08x", n);
                out += buf;
            } else if (v.type == REG_BINARY) {
                out += "hex:" + HexBytes(v.data);
            } else {
                char buf[24];
                std::snprintf(buf, sizeof buf, "hex(%x):", v.type);
                out += buf + HexBytes(v.data);
            }
            out += "\n";
        }
    }
    return out;
}
