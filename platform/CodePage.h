// Code pages of 8-bit texts. The program's "ANSI" code page is UTF-8 here (65001) unless a caller
// chooses another one; double-byte code pages such as 932 are supported so that path helpers can be
// checked against lead bytes whose trail byte equals the backslash.
#pragma once

#include "platform/WinTypes.h"

#include <optional>
#include <string>
#include <string_view>

constexpr UINT CP_ACP = 0;        // the process ANSI code page
constexpr UINT CP_THREAD_ACP = 3; // the same here: there is one code page per process
constexpr UINT CP_UTF8 = 65001;

class CodePage {
public:
    // The code page that CP_ACP and CP_THREAD_ACP stand for.
    static UINT Ansi();
    // Chooses the ANSI code page (tests use 932). Not thread-safe: set it before threads start.
    static void SetAnsi(UINT codePage);
    // Resolves CP_ACP and CP_THREAD_ACP to the ANSI code page.
    static UINT Resolve(UINT codePage);
    // TRUE when the byte starts a two-byte character in the code page.
    static bool IsLeadByte(UINT codePage, unsigned char byte);
    // Length in bytes of the character that starts at text[pos] (1 or 2; 1 at the last byte).
    static std::size_t CharLength(UINT codePage, std::string_view text, std::size_t pos);
    // 8-bit text to UTF-16; nullopt when the text is not valid in the code page.
    static std::optional<std::u16string> ToWide(UINT codePage, std::string_view text);
    // UTF-16 to 8-bit text. With replace set, characters the code page cannot hold become its
    // default character ('?' or U+FFFD in UTF-8); without it such a text gives nullopt.
    static std::optional<std::string> FromWide(UINT codePage, std::u16string_view text, bool replace);
};
