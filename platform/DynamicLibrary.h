// A shared library loaded by name at run time (dlopen/dlsym), closed when the object goes.
#pragma once

#include <string>

class DynamicLibrary {
public:
    DynamicLibrary() = default;
    ~DynamicLibrary();
    DynamicLibrary(const DynamicLibrary&) = delete;
    DynamicLibrary& operator=(const DynamicLibrary&) = delete;

    // Loads the library (closing one held before); false when it cannot be loaded.
    bool Open(const std::string& name);
    void Close();
    bool IsOpen() const { return handle_ != nullptr; }
    // The address of an exported name, or null when the library lacks it or none is open.
    void* Symbol(const char* name) const;

private:
    void* handle_ = nullptr;
};
