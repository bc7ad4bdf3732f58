// The stored form of the proxy password: each byte mapped through a fixed, keyless, reversible
// permutation and written as two lower-case hexadecimal digits. Both programs and existing
// settings files rely on this exact form, so it must not change.
#pragma once

#include <string>

std::string ScrambleText(const std::string& plain);
// The inverse of ScrambleText; digits of either case are accepted. A stored text of odd length or
// with a character that is not a hexadecimal digit gives the empty text.
std::string UnscrambleText(const std::string& stored);
