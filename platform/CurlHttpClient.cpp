#include "platform/CurlHttpClient.h"

#include "platform/CurlLibrary.h"

#include <chrono>

namespace {

long long NowMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

} // namespace

CurlHttpClient::CurlHttpClient(Options options) : options_(std::move(options)), curl_(CurlLibrary::Get())
{
    if (curl_ == nullptr) return;
    easy_ = curl_->easy_init();
    // The multi handle drives the transfer in short steps, so that the cancel flag and the
    // low-speed window are looked at every kPollMs however quiet the link is; it also keeps the
    // connection for the next request.
    multi_ = curl_->multi_init();
}

CurlHttpClient::~CurlHttpClient()
{
    if (easy_) curl_->easy_cleanup(static_cast<CURL*>(easy_));
    if (multi_) curl_->multi_cleanup(static_cast<CURLM*>(multi_));
}

size_t CurlHttpClient::OnData(char* data, size_t size, size_t count, void* self)
{
    auto* client = static_cast<CurlHttpClient*>(self);
    long status = 0;
    client->curl_->easy_getinfo(static_cast<CURL*>(client->easy_), CURLINFO_RESPONSE_CODE, &status);
    // An error page is not the resource: stop before any of it reaches the caller.
    if (status < 200 || status > 299) {
        client->refused_ = true;
        return 0;
    }
    const size_t n = size * count;
    if (n == 0) return 0;
    if (client->maxBody_ > 0 && client->delivered_ + static_cast<long long>(n) > client->maxBody_) {
        client->tooLarge_ = true;
        return 0;
    }
    if (!(*client->sink_)(data, n)) return 0;
    client->delivered_ += static_cast<long long>(n);
    return n;
}

bool CurlHttpClient::TooSlow(long long nowMs)
{
    if (delivered_ - windowBytes_ >= kLowSpeedBytes) {
        windowBytes_ = delivered_;
        windowStartMs_ = nowMs;
        return false;
    }
    return options_.stallTimeoutMs > 0 && nowMs - windowStartMs_ >= options_.stallTimeoutMs;
}

CurlHttpClient::Result CurlHttpClient::Get(const std::string& url, const std::string& referer,
                                           const std::vector<std::string>& headers, const Sink& sink,
                                           long long maxBodyBytes)
{
    Result result;
    if (!Valid()) {
        result.error = "no libcurl handle";
        return result;
    }
    CURL* easy = static_cast<CURL*>(easy_);
    CURLM* multi = static_cast<CURLM*>(multi_);
    curl_->easy_reset(easy);
    curl_slist* list = nullptr;
    for (const std::string& h : headers) list = curl_->slist_append(list, h.c_str());

    curl_->easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_->easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl_->easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http");
    curl_->easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);
    curl_->easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_->easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, options_.connectTimeoutMs);
    // An announced length beyond the bound is refused before any body byte is delivered.
    if (maxBodyBytes > 0) curl_->easy_setopt(easy, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(maxBodyBytes));
    if (!options_.userAgent.empty()) curl_->easy_setopt(easy, CURLOPT_USERAGENT, options_.userAgent.c_str());
    if (!referer.empty()) curl_->easy_setopt(easy, CURLOPT_REFERER, referer.c_str());
    if (list) curl_->easy_setopt(easy, CURLOPT_HTTPHEADER, list);
    if (!options_.proxy.empty()) {
        const std::string proxy = "http://" + options_.proxy;
        curl_->easy_setopt(easy, CURLOPT_PROXY, proxy.c_str());
        curl_->easy_setopt(easy, CURLOPT_NOPROXY, ""); // no bypass list, whatever the environment says
        if (!options_.proxyUser.empty() && !options_.proxyPassword.empty()) {
            curl_->easy_setopt(easy, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_BASIC));
            curl_->easy_setopt(easy, CURLOPT_PROXYUSERNAME, options_.proxyUser.c_str());
            curl_->easy_setopt(easy, CURLOPT_PROXYPASSWORD, options_.proxyPassword.c_str());
        }
    }
    curl_->easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CurlHttpClient::OnData);
    curl_->easy_setopt(easy, CURLOPT_WRITEDATA, this);

    sink_ = &sink;
    maxBody_ = maxBodyBytes;
    delivered_ = 0;
    refused_ = false;
    tooLarge_ = false;
    windowBytes_ = 0;
    windowStartMs_ = NowMs();
    bool stalled = false;
    CURLcode rc = CURLE_FAILED_INIT;
    if (curl_->multi_add_handle(multi, easy) == CURLM_OK) {
        // No cap on the whole transfer: a cancel or too little body within the window ends it.
        for (;;) {
            int running = 0;
            if (curl_->multi_perform(multi, &running) != CURLM_OK) break;
            if (running == 0) {
                int left = 0;
                while (CURLMsg* msg = curl_->multi_info_read(multi, &left)) {
                    if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) rc = msg->data.result;
                }
                break;
            }
            if (Cancelled()) {
                result.cancelled = true;
                break;
            }
            if (TooSlow(NowMs())) {
                stalled = true;
                break;
            }
            if (curl_->multi_poll(multi, nullptr, 0, kPollMs, nullptr) != CURLM_OK) break;
        }
        curl_->multi_remove_handle(multi, easy);
    }
    sink_ = nullptr;
    curl_->slist_free_all(list);

    curl_->easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &result.status);
    curl_off_t length = -1;
    if (curl_->easy_getinfo(easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) == CURLE_OK) result.contentLength = length;
    result.tooLarge = tooLarge_ || rc == CURLE_FILESIZE_EXCEEDED;
    if (result.cancelled || stalled || rc != CURLE_OK) {
        result.error = result.cancelled ? std::string("cancelled")
                       : stalled        ? std::string("too little data for too long")
                       : refused_       ? "HTTP status " + std::to_string(result.status)
                       : result.tooLarge ? std::string("body larger than allowed")
                                         : curl_->easy_strerror(rc);
        return result;
    }
    if (result.status < 200 || result.status > 299) {
        result.error = "HTTP status " + std::to_string(result.status);
        return result;
    }
    result.ok = true;
    return result;
}
