// Path helpers of the main program that are safe for double-byte code pages: a trail byte equal to
// "\" is never taken for a separator. Both "\" and "/" count as separators here ("/" is this
// platform's own); a separator added to a path is '/'. The code page is the process ANSI code page.
#pragma once

#include "platform/WinTypes.h"

#include <string>

BOOL EndsWithBackslash(const std::string& path);
// The text after the last "." of the whole path; "" when there is none.
std::string GetFileExtension(const std::string& path);
// The text after the last separator; the whole text without one, and a three-byte drive root such
// as "C:\" whole; "" for a path that ends with a separator.
std::string GetFileNameFromPath(const std::string& path);
std::string GetFileTitleFromPath(const std::string& path);
// The path without its name and the separator before it. "C:\dir" gives "C:\"; on this platform
// "/dir" gives "/". The parent of a root ("C:\", "/") and of a bare name is "".
std::string GetParentFolder(const std::string& path);
// Case-insensitive comparison of two folders, each with a trailing separator: <0, 0 or >0.
int CompareFolders(const std::string& a, const std::string& b);
// 0 for JPEG extensions, 1 for TIFF, 2 for BMP, -1 otherwise.
int GetImageTypeFromExtension(const std::string& path);
// At most count UTF-16 units (stopping at a zero unit), converted to the ANSI code page.
std::string Utf16ToMbcs(int count, const char16_t* units);

// Case-insensitive byte comparison that folds ASCII letters only and leaves double-byte characters
// unchanged (the multibyte comparison of the C library).
int CompareNoCaseMbcs(const std::string& a, const std::string& b);
