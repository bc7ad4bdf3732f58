#include "core/ShellPathUtility.h"

#include "platform/CodePage.h"


namespace {

bool IsSeparatorByte(char c)
{
    return c == '\\' || c == '/';
}

// Position of the last single-byte occurrence of a byte that passes the test, or npos.
template <typename Pred>
std::size_t FindLastChar(const std::string& text, Pred pred)
{
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t len = CodePage::CharLength(CP_ACP, text, i);
        if (len == 1 && pred(text[i])) {
            found = i;
        }
        i += len;
    }
    return found;
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

BOOL EndsWithBackslash(const std::string& path)
{
    if (path.size() < 3) {
        return (path.size() == 1 && IsSeparatorByte(path[0])) ? TRUE : FALSE;
    }
    if (CodePage::IsLeadByte(CP_ACP, static_cast<unsigned char>(path[path.size() - 2]))) {
        return FALSE; // the last byte is a trail byte
    }
    return IsSeparatorByte(path.back()) ? TRUE : FALSE;
}

std::string GetFileExtension(const std::string& path)
{
    const std::size_t dot = FindLastChar(path, [](char c) { return c == '.'; });
    return dot == std::string::npos ? std::string() : path.substr(dot + 1);
}

std::string GetFileNameFromPath(const std::string& path)
{
    const std::size_t sep = FindLastChar(path, IsSeparatorByte);
    if (sep == std::string::npos) {
        return path;
    }
    if (path.size() == 3 && sep == 2) {
        return path; // a drive root such as "C:\"
    }
    return path.substr(sep + 1);
}

std::string GetFileTitleFromPath(const std::string& path)
{
    const std::string name = GetFileNameFromPath(path);
    const std::string ext = GetFileExtension(path);
    if (ext.empty()) {
        return name;
    }
    const long long keep = static_cast<long long>(name.size()) - static_cast<long long>(ext.size()) - 1;
    return keep < 0 ? std::string() : name.substr(0, static_cast<std::size_t>(keep));
}

std::string GetParentFolder(const std::string& path)
{
    const std::size_t sep = FindLastChar(path, IsSeparatorByte);
    if (sep == std::string::npos) {
        return {};
    }
    const std::string name = GetFileNameFromPath(path);
    if (name.size() >= path.size()) {
        return {}; // a drive root
    }
    const std::size_t cut = path.size() - name.size() - 1;
    std::string parent = path.substr(0, cut);
    if (parent.size() == 2) {
        parent += path[cut]; // "C:" becomes "C:\", a drive root
    } else if (parent.empty() && path.size() > 1) {
        parent = path.substr(0, 1); // "/dir" lies in the root "/"
    }
    return parent;
}

int CompareNoCaseMbcs(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    while (i < a.size() && i < b.size()) {
        const std::size_t len = CodePage::CharLength(CP_ACP, a, i);
        for (std::size_t k = 0; k < len && i + k < b.size(); ++k) {
            const auto x = static_cast<unsigned char>(len == 1 ? LowerAscii(a[i + k]) : a[i + k]);
            const auto y = static_cast<unsigned char>(len == 1 ? LowerAscii(b[i + k]) : b[i + k]);
            if (x != y) {
                return x < y ? -1 : 1;
            }
        }
        i += len;
    }
    if (a.size() == b.size()) {
        return 0;
    }
    return a.size() < b.size() ? -1 : 1;
}

int CompareFolders(const std::string& a, const std::string& b)
{
    const std::string x = EndsWithBackslash(a) ? a : a + '/';
    const std::string y = EndsWithBackslash(b) ? b : b + '/';
    return CompareNoCaseMbcs(x, y);
}

int GetImageTypeFromExtension(const std::string& path)
{
    const std::string ext = GetFileExtension(path);
    for (const char* jpeg : {"JPG", "JPEG", "JPE", "JFIF"}) {
        if (CompareNoCaseMbcs(ext, jpeg) == 0) {
            return 0;
        }
    }
    if (CompareNoCaseMbcs(ext, "TIF") == 0 || CompareNoCaseMbcs(ext, "TIFF") == 0) {
        return 1;
    }
    if (CompareNoCaseMbcs(ext, "BMP") == 0) {
        return 2;
    }
    return -1;
}

std::string Utf16ToMbcs(int count, const char16_t* units)
{
    std::u16string wide;
    for (int i = 0; units != nullptr && i < count && units[i] != 0; ++i) {
        wide += units[i];
    }
    auto narrow = CodePage::FromWide(CP_THREAD_ACP, wide, true);
    return narrow ? *narrow : std::string();
}
