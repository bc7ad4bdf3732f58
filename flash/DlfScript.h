// A firmware script (".dlf"): text lines in file order, each without its trailing CR and LF. The
// reader keeps every line whole; CheckDlfScript decides whether the script may be played at all.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

using DlfScript = std::vector<std::string>;

// Longest line the player's buffer takes; a longer line makes the script unplayable.
constexpr std::size_t kDlfMaxLineLength = 25600;
// Largest script file read (about 2000 times the largest image known).
constexpr std::size_t kDlfMaxFileSize = 64u * 1024u * 1024u;

// Splits a file image into lines: LF ends a line, trailing CR and LF characters are removed, every
// line is kept (empty ones too); a final line without LF counts, an empty file gives no lines.
void ParseDlfScript(const std::string& bytes, DlfScript& script);

// Empties script and reads the file. 1 when the file was read, 0 when it cannot be opened or read
// or is larger than kDlfMaxFileSize (script then empty).
int ReadDlfScript(const std::string& path, DlfScript& script);
