// The process-wide table of the six visual-style entry points, looked up by name in an optional
// library. Every entry is null when the library or the name is missing, and every user tests the
// entry it needs, so the windows fall back to plain drawing. On this platform no such library is
// installed; the name can be set to load one (tests load a small library of their own).
#pragma once

#include "platform/DynamicLibrary.h"
#include "platform/WinTypes.h"

#include <string>

class CThemeApi {
public:
    using WindowHandle = void*;
    using DeviceContext = void*;
    using ThemeHandle = void*;
    using HResult = long;

    using EnableThemeDialogTextureFn = HResult (*)(WindowHandle window, DWORD flags);
    using IsThemeDialogTextureEnabledFn = BOOL (*)(WindowHandle window);
    using OpenThemeDataFn = ThemeHandle (*)(WindowHandle window, const char16_t* classList);
    using DrawThemeBackgroundFn = HResult (*)(ThemeHandle theme, DeviceContext dc, int part, int state,
                                              const RECT* rect, const RECT* clip);
    using CloseThemeDataFn = HResult (*)(ThemeHandle theme);
    using DrawThemeParentBackgroundFn = HResult (*)(WindowHandle window, DeviceContext dc, const RECT* rect);

    static constexpr const char* kDefaultLibraryName = "uxtheme.so";

    // The singleton, created with every entry null when absent.
    static CThemeApi* GetInstance();
    // Unloads the library and deletes the singleton.
    static void Free();
    // The library that Load opens; tests point it at their own.
    static void SetLibraryName(const std::string& name);

    // Loads the library and looks up the six names; nothing changes when it cannot be loaded.
    void Load();

    EnableThemeDialogTextureFn EnableThemeDialogTexture = nullptr;
    IsThemeDialogTextureEnabledFn IsThemeDialogTextureEnabled = nullptr;
    OpenThemeDataFn OpenThemeData = nullptr;
    DrawThemeBackgroundFn DrawThemeBackground = nullptr;
    CloseThemeDataFn CloseThemeData = nullptr;
    DrawThemeParentBackgroundFn DrawThemeParentBackground = nullptr;

    bool HasLibrary() const { return library_.IsOpen(); }

private:
    CThemeApi() = default;
    DynamicLibrary library_;
};
