#include "platform/HttpUrl.h"

#include <curl/curl.h>

#include <cstdlib>

namespace {

// Fetches one part; false when absent.
bool Part(CURLU* url, CURLUPart which, std::string* out)
{
    char* text = nullptr;
    if (curl_url_get(url, which, &text, 0) != CURLUE_OK || !text) return false;
    *out = text;
    curl_free(text);
    return true;
}

} // namespace

bool HttpUrl::Parse(const std::string& text, HttpUrl* out)
{
    CURLU* url = curl_url();
    if (!url) return false;
    bool ok = false;
    // Only what stands in the text counts: no guessed scheme, no scheme other than http.
    if (curl_url_set(url, CURLUPART_URL, text.c_str(), 0) == CURLUE_OK) {
        std::string scheme;
        std::string host;
        std::string port;
        std::string path;
        std::string query;
        if (Part(url, CURLUPART_SCHEME, &scheme) && scheme == "http" && Part(url, CURLUPART_HOST, &host) &&
            !host.empty()) {
            HttpUrl result;
            result.host = host;
            if (Part(url, CURLUPART_PORT, &port)) result.port = static_cast<unsigned>(std::strtoul(port.c_str(), nullptr, 10));
            if (Part(url, CURLUPART_PATH, &path) && !path.empty()) result.object = path;
            if (Part(url, CURLUPART_QUERY, &query)) result.object += "?" + query;
            *out = result;
            ok = true;
        }
    }
    curl_url_cleanup(url);
    return ok;
}
