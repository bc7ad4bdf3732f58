// Private folders for tests that start the application object: a program folder with its data
// files, a user data folder and a runtime folder for the instance lock, each under one scratch
// folder, and a single-instance name of this test process.
#pragma once

#include "platform/SystemFolders.h"
#include "tests/support/ScratchFolder.h"

#include <QApplication>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

class AppTestFolders {
public:
    AppTestFolders()
    {
        if (QApplication::instance() == nullptr) {
            static int argc = 1;
            static char name[] = "test_core";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv);
        }
        std::filesystem::create_directories(Program());
        std::filesystem::create_directories(scratch_.Path() + "/data");
        std::filesystem::create_directories(scratch_.Path() + "/run");
        SystemFolders::SetProgramFolderOverride(Program());
        SystemFolders::SetLocalAppDataOverride(scratch_.Path() + "/data");
        const char* runtime = std::getenv("XDG_RUNTIME_DIR");
        if (runtime != nullptr) savedRuntime_ = runtime;
        hadRuntime_ = runtime != nullptr;
        ::setenv("XDG_RUNTIME_DIR", (scratch_.Path() + "/run").c_str(), 1);
    }
    ~AppTestFolders()
    {
        SystemFolders::SetProgramFolderOverride("");
        SystemFolders::SetLocalAppDataOverride("");
        if (hadRuntime_) {
            ::setenv("XDG_RUNTIME_DIR", savedRuntime_.c_str(), 1);
        } else {
            ::unsetenv("XDG_RUNTIME_DIR");
        }
    }
    AppTestFolders(const AppTestFolders&) = delete;
    AppTestFolders& operator=(const AppTestFolders&) = delete;

    std::string Program() const { return scratch_.Path() + "/program"; }
    std::string UserFile() const { return scratch_.Path() + "/data/Kestrin/Zarndesk/KZARN_User.ini"; }
    std::string InstanceName() const { return "zarn-test-" + std::to_string(::getpid()); }

    static void Write(const std::string& path, const std::string& bytes)
    {
        std::filesystem::create_directories(std::filesystem::path(path).parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // A text file in the UTF-16LE form of "String.txt" (ASCII texts only).
    void WriteTexts(const std::string& lines) const
    {
        std::string bytes;
        for (char c : lines) {
            bytes += c;
            bytes += '\0';
        }
        Write(Program() + "/String.txt", bytes);
    }
    void CopySplashPicture() const
    {
        std::filesystem::copy_file(std::string(ZARN_SOURCE_DIR) + "/data/Splash.png", Program() + "/Splash.png",
                                   std::filesystem::copy_options::overwrite_existing);
    }

private:
    ScratchFolder scratch_;
    std::string savedRuntime_;
    bool hadRuntime_ = false;
};
