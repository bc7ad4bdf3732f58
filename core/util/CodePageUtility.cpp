#include "core/util/CodePageUtility.h"

#include "platform/CodePage.h"

std::u16string MultiByteToWideString(const std::string& text, UINT codePage)
{
    auto wide = CodePage::ToWide(codePage, text);
    return wide ? *wide : std::u16string();
}

std::string WideToMultiByteString(const std::u16string& text, UINT codePage)
{
    if (text.empty()) {
        return {};
    }
    auto narrow = CodePage::FromWide(codePage, text, false);
    return narrow ? *narrow : std::string();
}

std::string Utf8ToAnsiString(const std::string& text)
{
    const std::u16string wide = MultiByteToWideString(text, CP_UTF8);
    if (wide.empty()) {
        return {};
    }
    return WideToMultiByteString(wide, CP_ACP);
}
