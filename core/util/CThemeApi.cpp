#include "core/util/CThemeApi.h"

namespace {

CThemeApi* g_instance = nullptr;
std::string g_libraryName = CThemeApi::kDefaultLibraryName;

template <typename Fn>
Fn Lookup(const DynamicLibrary& library, const char* name)
{
    return reinterpret_cast<Fn>(library.Symbol(name));
}

} // namespace

CThemeApi* CThemeApi::GetInstance()
{
    if (g_instance == nullptr) {
        g_instance = new CThemeApi();
    }
    return g_instance;
}

void CThemeApi::Free()
{
    delete g_instance; // the library member closes the module
    g_instance = nullptr;
}

void CThemeApi::SetLibraryName(const std::string& name)
{
    g_libraryName = name;
}

void CThemeApi::Load()
{
    if (!library_.Open(g_libraryName)) {
        return;
    }
    EnableThemeDialogTexture = Lookup<EnableThemeDialogTextureFn>(library_, "EnableThemeDialogTexture");
    IsThemeDialogTextureEnabled = Lookup<IsThemeDialogTextureEnabledFn>(library_, "IsThemeDialogTextureEnabled");
    OpenThemeData = Lookup<OpenThemeDataFn>(library_, "OpenThemeData");
    DrawThemeBackground = Lookup<DrawThemeBackgroundFn>(library_, "DrawThemeBackground");
    CloseThemeData = Lookup<CloseThemeDataFn>(library_, "CloseThemeData");
    DrawThemeParentBackground = Lookup<DrawThemeParentBackgroundFn>(library_, "DrawThemeParentBackground");
}
