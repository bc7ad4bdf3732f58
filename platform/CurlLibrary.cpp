#include "platform/CurlLibrary.h"

#include "platform/DynamicLibrary.h"

#include <mutex>

namespace {

// The library's name as the system installs it (its soname).
constexpr const char* kLibraryName = "libcurl.so.4";

template <typename F>
bool Resolve(const DynamicLibrary& library, const char* name, F* out)
{
    *out = reinterpret_cast<F>(library.Symbol(name));
    return *out != nullptr;
}

const CurlLibrary* Load()
{
    static DynamicLibrary library;
    static CurlLibrary api{};
    if (!library.Open(kLibraryName)) return nullptr;
    CURLcode (*globalInit)(long) = nullptr;
    const bool complete =
        Resolve(library, "curl_global_init", &globalInit) && Resolve(library, "curl_easy_init", &api.easy_init) &&
        Resolve(library, "curl_easy_cleanup", &api.easy_cleanup) &&
        Resolve(library, "curl_easy_reset", &api.easy_reset) &&
        Resolve(library, "curl_easy_setopt", &api.easy_setopt) &&
        Resolve(library, "curl_easy_getinfo", &api.easy_getinfo) &&
        Resolve(library, "curl_easy_strerror", &api.easy_strerror) &&
        Resolve(library, "curl_slist_append", &api.slist_append) &&
        Resolve(library, "curl_slist_free_all", &api.slist_free_all) &&
        Resolve(library, "curl_multi_init", &api.multi_init) &&
        Resolve(library, "curl_multi_cleanup", &api.multi_cleanup) &&
        Resolve(library, "curl_multi_add_handle", &api.multi_add_handle) &&
        Resolve(library, "curl_multi_remove_handle", &api.multi_remove_handle) &&
        Resolve(library, "curl_multi_perform", &api.multi_perform) &&
        Resolve(library, "curl_multi_poll", &api.multi_poll) &&
        Resolve(library, "curl_multi_info_read", &api.multi_info_read) && Resolve(library, "curl_url", &api.url) &&
        Resolve(library, "curl_url_cleanup", &api.url_cleanup) && Resolve(library, "curl_url_set", &api.url_set) &&
        Resolve(library, "curl_url_get", &api.url_get) && Resolve(library, "curl_free", &api.free);
    if (!complete || globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
    return &api;
}

} // namespace

const CurlLibrary* CurlLibrary::Get()
{
    static std::once_flag once;
    static const CurlLibrary* loaded = nullptr;
    std::call_once(once, [] { loaded = Load(); });
    return loaded;
}
