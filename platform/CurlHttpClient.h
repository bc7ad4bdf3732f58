// HTTP GET over libcurl, as the update check and the downloader need it: no redirects followed,
// a bounded connect and a low-speed window (a reply that brings less than kLowSpeedBytes of body
// within the window fails), never a cap on the whole transfer, so a large file on a slow but
// steady link arrives; a bound on the body's size; a flag that ends the transfer from another
// thread; optionally through a proxy with basic credentials.
// One object keeps one libcurl handle, so successive requests reuse its connection. Used by one
// thread at a time; only the cancel flag is shared.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

struct CurlLibrary;

class CurlHttpClient {
public:
    // What a reply must bring within every low-speed window (the wait for the response counts too).
    static constexpr long long kLowSpeedBytes = 1024;
    // How often the transfer looks at the cancel flag and the low-speed window.
    static constexpr int kPollMs = 100;

    struct Options {
        std::string userAgent;
        std::string proxy;          // "host:port"; empty: the environment's proxy settings
        std::string proxyUser;      // basic credentials, sent only when both are set
        std::string proxyPassword;
        long connectTimeoutMs = 15000;
        // The low-speed window; 0: no bound.
        long stallTimeoutMs = 30000;
        // Set (by any thread) to end the transfer at once; null: never.
        const std::atomic<bool>* cancel = nullptr;
    };
    struct Result {
        bool ok = false;      // transfer complete and status 200 to 299
        long status = 0;      // 0 when no response arrived
        long long contentLength = -1; // announced length, -1 when none
        bool cancelled = false;       // ended by the cancel flag
        bool tooLarge = false;        // the body passed maxBodyBytes, or announced more
        std::string error;
    };
    // Receives the body in pieces; return false to abort the transfer.
    using Sink = std::function<bool(const char* data, size_t size)>;

    explicit CurlHttpClient(Options options);
    ~CurlHttpClient();
    CurlHttpClient(const CurlHttpClient&) = delete;
    CurlHttpClient& operator=(const CurlHttpClient&) = delete;

    // False when libcurl could not be loaded or give a handle.
    bool Valid() const { return easy_ != nullptr && multi_ != nullptr; }

    // GETs the URL. The sink sees body bytes only of a 2xx response; any other status ends the
    // transfer with ok false and nothing delivered. A body longer than maxBodyBytes (> 0) fails:
    // an announced longer one before any of it is delivered, another once the bound is passed.
    Result Get(const std::string& url, const std::string& referer, const std::vector<std::string>& headers,
               const Sink& sink, long long maxBodyBytes = 0);

private:
    static size_t OnData(char* data, size_t size, size_t count, void* self);
    bool Cancelled() const { return options_.cancel != nullptr && options_.cancel->load(); }
    // True when the low-speed window has passed with too little body; moves the window on.
    bool TooSlow(long long nowMs);

    Options options_;
    const CurlLibrary* curl_; // null when libcurl cannot be loaded
    void* easy_ = nullptr;
    void* multi_ = nullptr;
    const Sink* sink_ = nullptr;
    long long maxBody_ = 0;
    long long delivered_ = 0;
    bool refused_ = false;
    bool tooLarge_ = false;
    long long windowBytes_ = 0;   // delivered_ when the window began
    long long windowStartMs_ = 0; // steady clock
};
