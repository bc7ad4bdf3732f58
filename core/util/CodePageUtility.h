// Conversions between 8-bit texts in a code page and wide (UTF-16) texts. Code page 0 is the ANSI
// code page of the process (platform/CodePage.h).
#pragma once

#include "platform/WinTypes.h"

#include <string>

// The whole text to UTF-16; empty when the text is not valid in the code page.
std::u16string MultiByteToWideString(const std::string& text, UINT codePage);
// UTF-16 to the code page, without a default character: empty when a character cannot be written.
std::string WideToMultiByteString(const std::u16string& text, UINT codePage);
// UTF-8 to the ANSI code page; empty on failure.
std::string Utf8ToAnsiString(const std::string& text);
