// The programs' HTTP client for the update server: one connection made by Connect, then GET
// requests whose text bodies come back as lines, the version file and file lists read from them,
// and files downloaded into a folder. Used by one thread for its whole life.
#pragma once

#include "core/util/ZarnFileRecord.h"
#include "core/util/ZarnProxySettings.h"
#include "core/util/ZarnUpdateRecord.h"
#include "platform/CurlHttpClient.h"
#include "platform/HttpUrl.h"
#include "platform/WinTypes.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

class HttpUtility {
public:
    HttpUtility();
    explicit HttpUtility(const ZarnProxySettings& settings);
    ~HttpUtility();
    HttpUtility(const HttpUtility&) = delete;
    HttpUtility& operator=(const HttpUtility&) = delete;

    // Releases the connection; TRUE.
    BOOL Close();
    ZarnProxySettings* GetProxySettings() { return &proxy; }

    // Opens the session towards the host and port of an http:// URL, through the proxy when
    // useProxy is exactly 1. FALSE (and no session) for another scheme or any failure.
    BOOL Connect(const std::string& url);
    // GETs the path and query of url over the connection. lines is emptied, then receives the
    // body's lines, the last one also without a final LF. FALSE when not connected, for a bad URL,
    // a failed, too slow or cancelled transfer, a status outside 200 to 299, or a body beyond what
    // a text resource may hold (kMaxTextBytes, kMaxTextLines); then no lines at all.
    BOOL Get(const std::string& url, const std::string& verb, const std::string& contentType,
             std::vector<std::string>& lines);

    int GetVersionList(const std::string& url, std::vector<ZarnUpdateRecord>& records);
    int FindUpdateRecord(const std::vector<ZarnUpdateRecord>& records, const std::string& key,
                         ZarnUpdateRecord& record) const;
    int GetFirmwareFileList(const std::string& pattern, const std::string& model, const std::string& version,
                            std::vector<ZarnFileRecord>& files, std::vector<ZarnFileRecord>& scripts);
    int GetAppFileList(const std::string& pattern, const std::string& version, const std::string& subPath,
                       std::vector<ZarnFileRecord>& files, std::vector<ZarnFileRecord>& scripts);
    // Fetches baseUrl + "/" + record.url into folder/record.fileName (folder created when missing).
    // The body is streamed to a temporary file in the folder that replaces the target only when the whole
    // announced body arrived and is not empty; on any failure nothing is left behind. FALSE also for
    // a file name that is not a plain name, and for a body over kMaxDownloadBytes (an announced
    // length over it is refused before anything is written, another body stops at the bound).
    BOOL Download(const std::string& baseUrl, const ZarnFileRecord& record, const std::string& folder);

    // A name that stays inside the folder: not empty, not "." or "..", no "/" or "\", no control
    // characters.
    static bool IsPlainFileName(const std::string& name);

    // Bounds every later request: the connect, and a low-speed window (a reply that brings less
    // than CurlHttpClient::kLowSpeedBytes within stallMs fails). A transfer that keeps moving is
    // never cut off. Set before Connect.
    void SetTimeouts(long connectMs, long stallMs);
    // A flag that ends every later request at once when set, from any thread (the owner's stop or
    // cancel); the flag must outlive the connection. Set before Connect.
    void SetCancelFlag(const std::atomic<bool>* flag) { cancel = flag; }

    // What a version file or file list may hold; the programs' own are a few kilobytes.
    static constexpr size_t kMaxTextBytes = 1u << 20;
    static constexpr size_t kMaxTextLines = 65536;
    // What a download may hold: far above any firmware image or program file.
    static constexpr long long kMaxDownloadBytes = 256ll << 20;

private:
    // Runs one GET over the connection, handing the body to sink.
    CurlHttpClient::Result Request(const std::string& url, const std::string& contentType,
                                   const CurlHttpClient::Sink& sink, long long maxBodyBytes);
    int FetchFileList(const std::string& pattern, const std::string& path, std::vector<ZarnFileRecord>& files,
                      std::vector<ZarnFileRecord>& scripts);

    std::unique_ptr<CurlHttpClient> inetSession;
    std::unique_ptr<HttpUrl> connection;
    ZarnProxySettings proxy;
    long connectTimeoutMs = 15000;
    long stallTimeoutMs = 30000;
    const std::atomic<bool>* cancel = nullptr;
};
