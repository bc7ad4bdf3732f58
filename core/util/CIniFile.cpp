#include "core/util/CIniFile.h"

#include "platform/AtomicFileWriter.h"
#include "platform/RegularFile.h"

#include <climits>

namespace {

std::string Trim(const std::string& text)
{
    const char* blanks = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) {
        return {};
    }
    const std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool EqualNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        unsigned char ca = static_cast<unsigned char>(a[i]);
        unsigned char cb = static_cast<unsigned char>(b[i]);
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<unsigned char>(ca + 32);
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<unsigned char>(cb + 32);
        if (ca != cb) {
            return false;
        }
    }
    return true;
}

std::string FirstLine(const std::string& value)
{
    return value.substr(0, value.find_first_of("\r\n"));
}

} // namespace

bool CIniFile::Load(const std::string& path)
{
    lines_.clear();
    // A folder, a FIFO or a device of that name is refused at once, as a missing file is.
    std::string bytes;
    if (RegularFile::ReadAll(path, kMaxFileBytes, bytes) != RegularFile::ReadResult::Ok) {
        return false;
    }
    Parse(bytes);
    return true;
}

void CIniFile::Parse(const std::string& bytes)
{
    lines_.clear();
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t end = bytes.find('\n', start);
        if (end == std::string::npos) {
            end = bytes.size();
        }
        Line line;
        line.raw = bytes.substr(start, end - start);
        if (!line.raw.empty() && line.raw.back() == '\r') {
            line.raw.pop_back();
        }
        const std::string trimmed = Trim(line.raw);
        if (!trimmed.empty() && trimmed.front() == '[') {
            const std::size_t close = trimmed.find(']');
            line.isSection = true;
            line.section = Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
        } else if (!trimmed.empty() && trimmed.front() != ';') {
            const std::size_t eq = trimmed.find('=');
            if (eq != std::string::npos) {
                line.isKey = true;
                line.key = Trim(trimmed.substr(0, eq));
                line.value = Trim(trimmed.substr(eq + 1));
            }
        }
        lines_.push_back(std::move(line));
        start = end + 1;
    }
}

std::string CIniFile::Text() const
{
    std::string text;
    for (const Line& line : lines_) {
        text += line.raw;
        text += "\r\n";
    }
    return text;
}

bool CIniFile::Save(const std::string& path) const
{
    return AtomicFileWriter::Replace(path, Text());
}

long CIniFile::FindKey(const std::string& section, const std::string& key) const
{
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.isSection) {
            inSection = EqualNoCase(line.section, section);
        } else if (inSection && line.isKey && EqualNoCase(line.key, key)) {
            return static_cast<long>(i);
        }
    }
    return -1;
}

bool CIniFile::HasKey(const std::string& section, const std::string& key) const
{
    return FindKey(section, key) >= 0;
}

std::string CIniFile::GetString(const std::string& section, const std::string& key, const std::string& fallback) const
{
    const long index = FindKey(section, key);
    const std::string& value = index >= 0 ? lines_[static_cast<std::size_t>(index)].value : fallback;
    return value.substr(0, kMaxText);
}

int CIniFile::ParseInt(const std::string& text)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1; // saturate instead of overflowing
        }
    }
    if (negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return static_cast<int>(value);
}

int CIniFile::GetInt(const std::string& section, const std::string& key, int fallback) const
{
    const long index = FindKey(section, key);
    if (index < 0) {
        return fallback;
    }
    return ParseInt(lines_[static_cast<std::size_t>(index)].value);
}

void CIniFile::SetString(const std::string& section, const std::string& key, const std::string& value)
{
    const std::string stored = FirstLine(value);
    const long index = FindKey(section, key);
    if (index >= 0) {
        Line& line = lines_[static_cast<std::size_t>(index)];
        line.value = stored;
        line.raw = line.key + "=" + stored;
        return;
    }
    Line added;
    added.isKey = true;
    added.key = FirstLine(key);
    added.value = stored;
    added.raw = added.key + "=" + stored;

    // After the last line of the section, before any blank lines that end it.
    bool inSection = false;
    long insertAt = -1;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.isSection) {
            if (inSection) {
                break;
            }
            inSection = EqualNoCase(line.section, section);
            if (inSection) {
                insertAt = static_cast<long>(i) + 1;
            }
        } else if (inSection && !Trim(line.raw).empty()) {
            insertAt = static_cast<long>(i) + 1;
        }
    }
    if (insertAt >= 0) {
        lines_.insert(lines_.begin() + insertAt, std::move(added));
        return;
    }
    if (!lines_.empty() && !Trim(lines_.back().raw).empty()) {
        lines_.push_back(Line{});
    }
    Line header;
    header.isSection = true;
    header.section = FirstLine(section);
    header.raw = "[" + header.section + "]";
    lines_.push_back(std::move(header));
    lines_.push_back(std::move(added));
}

void CIniFile::SetInt(const std::string& section, const std::string& key, int value)
{
    SetString(section, key, std::to_string(value));
}
