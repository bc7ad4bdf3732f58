#include "platform/CodePage.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <vector>

namespace {

UINT g_ansi = CP_UTF8;

std::string IconvName(UINT cp)
{
    return "CP" + std::to_string(cp);
}

bool AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return true;
}

std::optional<std::u16string> Utf8ToWide(std::string_view s)
{
    std::u16string out;
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        char32_t c = 0;
        std::size_t n = 0;
        if (b < 0x80) {
            c = b;
            n = 1;
        } else if ((b & 0xE0) == 0xC0) {
            c = b & 0x1F;
            n = 2;
        } else if ((b & 0xF0) == 0xE0) {
            c = b & 0x0F;
            n = 3;
        } else if ((b & 0xF8) == 0xF0) {
            c = b & 0x07;
            n = 4;
        } else {
            return std::nullopt;
        }
        if (i + n > s.size()) {
            return std::nullopt;
        }
        for (std::size_t k = 1; k < n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xC0) != 0x80) {
                return std::nullopt;
            }
            c = (c << 6) | (t & 0x3F);
        }
        static constexpr char32_t kMin[] = {0, 0, 0x80, 0x800, 0x10000};
        if (c < kMin[n] || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            return std::nullopt;
        }
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (c >> 10));
            out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
        i += n;
    }
    return out;
}

std::optional<std::string> WideToUtf8(std::u16string_view w, bool replace)
{
    std::string out;
    for (std::size_t i = 0; i < w.size(); ++i) {
        char32_t c = w[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < w.size() && w[i + 1] >= 0xDC00 && w[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (w[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            if (!replace) {
                return std::nullopt;
            }
            c = 0xFFFD; // an unpaired surrogate
        }
        AppendUtf8(out, c);
    }
    return out;
}

// Runs iconv over a whole buffer; with replace set, an unconvertible input unit becomes '?'.
template <typename In>
std::optional<std::string> RunIconv(const char* to, const char* from, const In* data, std::size_t units,
                                    bool replace, std::size_t unitSize)
{
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return std::nullopt;
    }
    std::string out;
    std::vector<char> buf(64 + units * 4);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(data));
    std::size_t inLeft = units * unitSize;
    bool ok = true;
    while (inLeft > 0) {
        char* o = buf.data();
        std::size_t oLeft = buf.size();
        const std::size_t r = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buf.data(), buf.size() - oLeft);
        if (r == static_cast<std::size_t>(-1)) {
            if (errno == E2BIG) {
                continue;
            }
            if (!replace) {
                ok = false;
                break;
            }
            // Skip one input unit and put the default character in its place.
            const std::size_t skip = std::min(inLeft, unitSize);
            in += skip;
            inLeft -= skip;
            out += '?';
        }
    }
    iconv_close(cd);
    if (!ok) {
        return std::nullopt;
    }
    return out;
}

} // namespace

UINT CodePage::Ansi()
{
    return g_ansi;
}

void CodePage::SetAnsi(UINT codePage)
{
    g_ansi = (codePage == CP_ACP || codePage == CP_THREAD_ACP) ? CP_UTF8 : codePage;
}

UINT CodePage::Resolve(UINT codePage)
{
    return (codePage == CP_ACP || codePage == CP_THREAD_ACP) ? g_ansi : codePage;
}

bool CodePage::IsLeadByte(UINT codePage, unsigned char b)
{
    switch (Resolve(codePage)) {
    case 932:
        return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    case 936:
    case 949:
    case 950:
        return b >= 0x81 && b <= 0xFE;
    default:
        return false; // single-byte code pages and UTF-8, whose trail bytes are never ASCII
    }
}

std::size_t CodePage::CharLength(UINT codePage, std::string_view text, std::size_t pos)
{
    if (pos + 1 < text.size() && IsLeadByte(codePage, static_cast<unsigned char>(text[pos]))) {
        return 2;
    }
    return 1;
}

std::optional<std::u16string> CodePage::ToWide(UINT codePage, std::string_view text)
{
    const UINT cp = Resolve(codePage);
    if (cp == CP_UTF8) {
        return Utf8ToWide(text);
    }
    auto bytes = RunIconv<char>("UTF-16LE", IconvName(cp).c_str(), text.data(), text.size(), false, 1);
    if (!bytes) {
        return std::nullopt;
    }
    std::u16string w(bytes->size() / 2, u'\0');
    for (std::size_t i = 0; i < w.size(); ++i) {
        w[i] = static_cast<char16_t>(static_cast<unsigned char>((*bytes)[2 * i]) |
                                     (static_cast<unsigned char>((*bytes)[2 * i + 1]) << 8));
    }
    return w;
}

std::optional<std::string> CodePage::FromWide(UINT codePage, std::u16string_view text, bool replace)
{
    const UINT cp = Resolve(codePage);
    if (cp == CP_UTF8) {
        return WideToUtf8(text, replace);
    }
    std::string le(text.size() * 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        le[2 * i] = static_cast<char>(text[i] & 0xFF);
        le[2 * i + 1] = static_cast<char>(text[i] >> 8);
    }
    return RunIconv<char>(IconvName(cp).c_str(), "UTF-16LE", le.data(), text.size(), replace, 2);
}
