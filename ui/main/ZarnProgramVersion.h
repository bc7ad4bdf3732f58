// The program's version as its version resource holds it. The build sets the numbers (the project
// version major.minor.patch); the text shown wherever the program names its version (the About
// box, the update page) is "%d.%d%d" of them, so 1.0.0 reads "1.00": the decimal form the update
// list's software versions are written and compared in.
#pragma once

#include <string>

class ZarnProgramVersion {
public:
    static std::string Text();
};
