// Whole-file reads and writes for tests that set up or check a file's bytes.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

// The file's bytes; "" when it cannot be read.
inline std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Creates or truncates the file with exactly these bytes.
inline void WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}
