#include "core/NumberDateUtility.h"

#include "core/util/TextUtility.h"
#include "platform/CodePage.h"

#include <climits>
#include <cmath>
#include <cstdio>

namespace {

// Position of the separator in the text at a character boundary of the ANSI code page, or npos.
std::size_t FindAtCharBoundary(const std::string& text, const std::string& separator, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); i += CodePage::CharLength(CP_ACP, text, i)) {
        if (text.compare(i, separator.size(), separator) == 0) {
            return i;
        }
    }
    return std::string::npos;
}

// Doubles brought into the int range before truncation, so that no conversion is undefined.
LONG ToLong(double v)
{
    if (std::isnan(v)) {
        return 0;
    }
    if (v >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (v <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<LONG>(v);
}

// The C library's integer conversion of the field text.
int FieldValue(const std::string& text)
{
    return StringToInt(text);
}

} // namespace

int SplitTokens(const std::string& text, const std::string& separator, std::vector<std::string>& out)
{
    std::size_t pos = 0;
    while (true) {
        const std::size_t hit = separator.empty() ? std::string::npos : FindAtCharBoundary(text, separator, pos);
        std::string piece = text.substr(pos, hit == std::string::npos ? std::string::npos : hit - pos);
        TrimSpaces(piece);
        out.push_back(piece);
        if (hit == std::string::npos) {
            break;
        }
        pos = hit + separator.size();
    }
    return static_cast<int>(out.size());
}

std::string FormatUInt64(std::uint64_t value, int width, BOOL hexadecimal)
{
    char buffer[64] = {};
    if (value <= 0xFFFFFFFFull) {
        const int w = width < 0 ? 0 : (width > 40 ? 40 : width);
        std::snprintf(buffer, sizeof buffer, hexadecimal ? "%0*X" : "%0*u", w, static_cast<unsigned>(value));
        return buffer;
    }
    if (hexadecimal) {
        // A width of 8 or less pads nothing (a negative printf width would pad on the right).
        int w = width - 8;
        w = w < 0 ? 0 : (w > 40 ? 40 : w);
        std::snprintf(buffer, sizeof buffer, "%0*X%08X", w, static_cast<unsigned>(value >> 32),
                      static_cast<unsigned>(value & 0xFFFFFFFFu));
        return buffer;
    }
    std::snprintf(buffer, sizeof buffer, "%llu", static_cast<unsigned long long>(value));
    return buffer;
}

std::uint64_t DigitTextToUInt64(const std::string& text)
{
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return 0;
        }
    }
    std::uint64_t sum = 0;
    std::uint64_t power = 1;
    bool powerTooLarge = false; // 10^20 and beyond do not fit in 64 bits
    for (std::size_t i = text.size(); i > 0; --i) {
        const auto digit = static_cast<std::uint64_t>(text[i - 1] - '0');
        if (digit != 0) {
            if (powerTooLarge || power > UINT64_MAX / digit) {
                return sum;
            }
            const std::uint64_t term = power * digit;
            if (sum > UINT64_MAX - term) {
                return sum;
            }
            sum += term;
        }
        if (!powerTooLarge) {
            powerTooLarge = power > UINT64_MAX / 10;
            power *= 10;
        }
    }
    return sum;
}

void ParseDateTime(COleDateTime& out, const std::string& text, int exifForm)
{
    int fields[6] = {};
    std::string rest = text;
    for (int i = 0; i < 5; ++i) {
        const char* separator = (exifForm == 1 && i == 2) ? " " : ":";
        const std::size_t hit = rest.find(separator);
        if (hit == std::string::npos) {
            fields[i] = 0;
            continue;
        }
        fields[i] = FieldValue(rest.substr(0, hit));
        rest = rest.substr(hit + 1);
    }
    fields[5] = FieldValue(rest);

    double date = 0.0;
    out.m_status = COleDateTime::invalid;
    if (!COleDateTime::FromFields(fields[0], fields[1], fields[2], fields[3], fields[4], fields[5], date)) {
        return;
    }
    out.m_dt = date;
    int back[6] = {};
    if (COleDateTime::ToFields(date, back[0], back[1], back[2], back[3], back[4], back[5])) {
        bool same = true;
        for (int i = 0; i < 6; ++i) {
            same = same && back[i] == fields[i];
        }
        out.m_status = same ? COleDateTime::valid : COleDateTime::invalid;
    }
}

RECT& FitPictureInRect(RECT& out, const RECT& destination, const RECT& picture, int* flag)
{
    const double dw = static_cast<double>(destination.right) - destination.left;
    const double dh = static_cast<double>(destination.bottom) - destination.top;
    const double pw = static_cast<double>(picture.right) - picture.left;
    const double ph = static_cast<double>(picture.bottom) - picture.top;
    double sx = 1.0;
    double sy = 1.0;
    if (dw >= 1.0 && dh >= 1.0 && pw >= 1.0 && ph >= 1.0) {
        sx = pw / dw;
        sy = ph / dh;
    }
    if (pw < 1.0 || ph < 1.0) {
        // Nothing to fit: an empty rectangle in the middle, instead of a division by zero.
        out.left = out.right = ToLong(destination.left + dw / 2);
        out.top = out.bottom = ToLong(destination.top + dh / 2);
        if (flag != nullptr) {
            *flag = 0;
        }
        return out;
    }
    if (sy <= sx) {
        const LONG h = ToLong(ph / sx);
        out.left = destination.left;
        out.right = destination.right;
        out.top = ToLong(destination.top + std::trunc((dh - h) / 2));
        out.bottom = ToLong(static_cast<double>(out.top) + h);
        if (flag != nullptr) {
            *flag = 0;
        }
    } else {
        const LONG w = ToLong(pw / sy);
        out.top = destination.top;
        out.bottom = destination.bottom;
        out.left = ToLong(destination.left + std::trunc((dw - w) / 2));
        out.right = ToLong(static_cast<double>(out.left) + w);
        if (flag != nullptr) {
            *flag = 1;
        }
    }
    if (out.left < destination.left) {
        out.left = destination.left;
    }
    if (out.top < destination.top) {
        out.top = destination.top;
    }
    if (out.right > destination.right) {
        out.right = destination.right;
    }
    if (out.bottom > destination.bottom) {
        out.bottom = destination.bottom;
    }
    return out;
}

void ScaleRect(RECT& out, const RECT& in, double factor)
{
    out.left = ToLong(in.left * factor + 0.4999999);
    out.top = ToLong(in.top * factor + 0.4999999);
    out.right = ToLong(in.right * factor + 0.4999999);
    out.bottom = ToLong(in.bottom * factor + 0.4999999);
}
