// A temporary folder for one test, removed with everything in it at the end.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

class CoreTempDir {
public:
    CoreTempDir()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "zarn-core-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~CoreTempDir() { std::filesystem::remove_all(path_); }
    const std::string& Path() const { return path_; }
    std::string Sub(const std::string& name) const { return path_ + "/" + name; }

    static void Write(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

private:
    std::string path_;
};
