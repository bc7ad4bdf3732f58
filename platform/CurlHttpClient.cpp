#include "platform/CurlHttpClient.h"

#include <curl/curl.h>

#include <chrono>
#include <mutex>

namespace {

long long NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int TransferInfo(void* self, curl_off_t /*downloadTotal*/, curl_off_t downloadNow, curl_off_t /*uploadTotal*/,
                 curl_off_t /*uploadNow*/)
{
    return CurlHttpClient::OnProgress(self, static_cast<long long>(downloadNow));
}

void GlobalInit()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

CurlHttpClient::CurlHttpClient(Options options) : options_(std::move(options))
{
    GlobalInit();
    easy_ = curl_easy_init();
}

CurlHttpClient::~CurlHttpClient()
{
    if (easy_) curl_easy_cleanup(static_cast<CURL*>(easy_));
}

size_t CurlHttpClient::OnData(char* data, size_t size, size_t count, void* self)
{
    auto* client = static_cast<CurlHttpClient*>(self);
    long status = 0;
    curl_easy_getinfo(static_cast<CURL*>(client->easy_), CURLINFO_RESPONSE_CODE, &status);
    // An error page is not the resource: stop before any of it reaches the caller.
    if (status < 200 || status > 299) {
        client->refused_ = true;
        return 0;
    }
    const size_t n = size * count;
    if (n == 0) return 0;
    return (*client->sink_)(data, n) ? n : 0;
}

int CurlHttpClient::OnProgress(void* self, long long downloadNow)
{
    auto* client = static_cast<CurlHttpClient*>(self);
    const long long now = NowMs();
    if (downloadNow != client->lastBytes_) {
        client->lastBytes_ = downloadNow;
        client->lastChangeMs_ = now;
        return 0;
    }
    if (client->options_.stallTimeoutMs > 0 && now - client->lastChangeMs_ >= client->options_.stallTimeoutMs) {
        client->stalled_ = true;
        return 1; // aborts the transfer
    }
    return 0;
}

CurlHttpClient::Result CurlHttpClient::Get(const std::string& url, const std::string& referer,
                                           const std::vector<std::string>& headers, const Sink& sink)
{
    Result result;
    if (!easy_) {
        result.error = "no libcurl handle";
        return result;
    }
    CURL* curl = static_cast<CURL*>(easy_);
    curl_easy_reset(curl);
    curl_slist* list = nullptr;
    for (const std::string& h : headers) list = curl_slist_append(list, h.c_str());

    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_HTTPGET, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, options_.connectTimeoutMs);
    // No cap on the whole transfer: a stall is what ends it (checked at least once a second).
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, &TransferInfo);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, this);
    if (!options_.userAgent.empty()) curl_easy_setopt(curl, CURLOPT_USERAGENT, options_.userAgent.c_str());
    if (!referer.empty()) curl_easy_setopt(curl, CURLOPT_REFERER, referer.c_str());
    if (list) curl_easy_setopt(curl, CURLOPT_HTTPHEADER, list);
    if (!options_.proxy.empty()) {
        const std::string proxy = "http://" + options_.proxy;
        curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
        curl_easy_setopt(curl, CURLOPT_NOPROXY, ""); // no bypass list, whatever the environment says
        if (!options_.proxyUser.empty() && !options_.proxyPassword.empty()) {
            curl_easy_setopt(curl, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
            curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, options_.proxyUser.c_str());
            curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, options_.proxyPassword.c_str());
        }
    }
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &CurlHttpClient::OnData);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, this);

    sink_ = &sink;
    refused_ = false;
    stalled_ = false;
    lastBytes_ = 0;
    lastChangeMs_ = NowMs();
    const CURLcode rc = curl_easy_perform(curl);
    sink_ = nullptr;
    curl_slist_free_all(list);

    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &result.status);
    curl_off_t length = -1;
    if (curl_easy_getinfo(curl, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK) result.contentLength = length;
    if (rc != CURLE_OK) {
        result.error = refused_   ? "HTTP status " + std::to_string(result.status)
                       : stalled_ ? std::string("no data for too long")
                                  : curl_easy_strerror(rc);
        return result;
    }
    if (result.status < 200 || result.status > 299) {
        result.error = "HTTP status " + std::to_string(result.status);
        return result;
    }
    result.ok = true;
    return result;
}
