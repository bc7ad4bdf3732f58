#include "platform/HttpUrl.h"

#include "platform/CurlLibrary.h"

#include <strings.h>

#include <cstdlib>

namespace {

// Fetches one part; false when absent.
bool Part(const CurlLibrary& curl, CURLU* url, CURLUPart which, std::string* out)
{
    char* text = nullptr;
    if (curl.url_get(url, which, &text, 0) != CURLUE_OK || !text) return false;
    *out = text;
    curl.free(text);
    return true;
}

} // namespace

bool HttpUrl::Parse(const std::string& text, HttpUrl* out)
{
    // Only an http URL can pass: anything else (an empty setting above all) is refused without
    // loading libcurl.
    if (::strncasecmp(text.c_str(), "http:", 5) != 0) return false;
    const CurlLibrary* curl = CurlLibrary::Get();
    if (curl == nullptr) return false;
    CURLU* url = curl->url();
    if (!url) return false;
    bool ok = false;
    // Only what stands in the text counts: no guessed scheme, no scheme other than http.
    if (curl->url_set(url, CURLUPART_URL, text.c_str(), 0) == CURLUE_OK) {
        std::string scheme;
        std::string host;
        std::string port;
        std::string path;
        std::string query;
        if (Part(*curl, url, CURLUPART_SCHEME, &scheme) && scheme == "http" && Part(*curl, url, CURLUPART_HOST, &host) &&
            !host.empty()) {
            HttpUrl result;
            result.host = host;
            if (Part(*curl, url, CURLUPART_PORT, &port)) result.port = static_cast<unsigned>(std::strtoul(port.c_str(), nullptr, 10));
            if (Part(*curl, url, CURLUPART_PATH, &path) && !path.empty()) result.object = path;
            if (Part(*curl, url, CURLUPART_QUERY, &query)) result.object += "?" + query;
            *out = result;
            ok = true;
        }
    }
    curl->url_cleanup(url);
    return ok;
}
