// HTTP GET over libcurl, as the update check and the downloader need it: no redirects followed,
// a bounded connect and a bounded stall (no body byte for too long), never a cap on the whole
// transfer, so a large file on a slow but steady link arrives; optionally through a proxy with
// basic credentials.
// One object keeps one libcurl handle, so successive requests reuse its connection. Used by one
// thread at a time.
#pragma once

#include <functional>
#include <string>
#include <vector>

class CurlHttpClient {
public:
    struct Options {
        std::string userAgent;
        std::string proxy;          // "host:port"; empty: the environment's proxy settings
        std::string proxyUser;      // basic credentials, sent only when both are set
        std::string proxyPassword;
        long connectTimeoutMs = 15000;
        // The transfer ends when no body byte arrived for this long (the wait for the response
        // counts too); 0: no bound.
        long stallTimeoutMs = 30000;
    };
    struct Result {
        bool ok = false;      // transfer complete and status 200 to 299
        long status = 0;      // 0 when no response arrived
        long long contentLength = -1; // announced length, -1 when none
        std::string error;
    };
    // Receives the body in pieces; return false to abort the transfer.
    using Sink = std::function<bool(const char* data, size_t size)>;

    explicit CurlHttpClient(Options options);
    ~CurlHttpClient();
    CurlHttpClient(const CurlHttpClient&) = delete;
    CurlHttpClient& operator=(const CurlHttpClient&) = delete;

    // False when libcurl could not give a handle.
    bool Valid() const { return easy_ != nullptr; }

    // GETs the URL. The sink sees body bytes only of a 2xx response; any other status ends the
    // transfer with ok false and nothing delivered.
    Result Get(const std::string& url, const std::string& referer, const std::vector<std::string>& headers,
               const Sink& sink);

    // libcurl's progress hook (through a function of libcurl's exact type): 1 ends a stalled
    // transfer.
    static int OnProgress(void* self, long long downloadNow);

private:
    static size_t OnData(char* data, size_t size, size_t count, void* self);

    Options options_;
    void* easy_ = nullptr;
    const Sink* sink_ = nullptr;
    bool refused_ = false;
    bool stalled_ = false;
    long long lastBytes_ = 0;
    long long lastChangeMs_ = 0; // steady clock, when lastBytes_ last grew
};
