#include "core/util/HttpUtility.h"

#include "core/util/HttpLineSplitter.h"
#include "core/util/PathUtility.h"
#include "core/util/UpdateListParser.h"
#include "platform/AtomicFileWriter.h"

#include <new>

HttpUtility::HttpUtility() = default;

HttpUtility::HttpUtility(const ZarnProxySettings& settings) : proxy(settings) {}

HttpUtility::~HttpUtility()
{
    Close();
}

BOOL HttpUtility::Close()
{
    connection.reset();
    inetSession.reset();
    return TRUE;
}

void HttpUtility::SetTimeouts(long connectMs, long stallMs)
{
    connectTimeoutMs = connectMs;
    stallTimeoutMs = stallMs;
}

BOOL HttpUtility::Connect(const std::string& url)
{
    Close();
    try {
        CurlHttpClient::Options options;
        options.userAgent = "HttpUtility";
        options.connectTimeoutMs = connectTimeoutMs;
        options.stallTimeoutMs = stallTimeoutMs;
        options.cancel = cancel;
        if (proxy.useProxy == 1) {
            options.proxy = proxy.server + ":" + proxy.port;
            if (!proxy.user.empty() && !proxy.password.empty()) {
                options.proxyUser = proxy.user;
                options.proxyPassword = proxy.password;
            }
        }
        auto target = std::make_unique<HttpUrl>();
        if (!HttpUrl::Parse(url, target.get())) return FALSE;
        auto session = std::make_unique<CurlHttpClient>(std::move(options));
        if (!session->Valid()) return FALSE;
        // Both are set together, or neither.
        inetSession = std::move(session);
        connection = std::move(target);
        return TRUE;
    } catch (const std::exception&) {
        Close();
        return FALSE;
    }
}

CurlHttpClient::Result HttpUtility::Request(const std::string& url, const std::string& contentType,
                                            const CurlHttpClient::Sink& sink, long long maxBodyBytes)
{
    HttpUrl target;
    if (!inetSession || !connection || !HttpUrl::Parse(url, &target)) {
        CurlHttpClient::Result refused;
        refused.error = "not connected or not an http URL";
        return refused;
    }
    // Only the path and query of the request URL count: it goes to the connected server.
    const std::string wire = "http://" + connection->host + ":" + std::to_string(connection->port) + target.object;
    return inetSession->Get(wire, url, {"Content-type: " + contentType}, sink, maxBodyBytes);
}

BOOL HttpUtility::Get(const std::string& url, const std::string& /*verb: every caller asks for GET*/,
                      const std::string& contentType, std::vector<std::string>& lines)
{
    HttpUrl target;
    if (!inetSession || !connection || !HttpUrl::Parse(url, &target)) return FALSE;
    lines.clear();
    try {
        // A text resource is small: a server that sends more (an endless line, a huge body) is
        // cut off once the bound is passed, before the program grows with it.
        std::vector<std::string> received;
        HttpLineSplitter splitter;
        const CurlHttpClient::Result r = Request(
            url, contentType,
            [&](const char* data, size_t size) {
                splitter.Feed(data, size, received);
                return received.size() <= kMaxTextLines;
            },
            static_cast<long long>(kMaxTextBytes));
        splitter.Finish(received);
        if (!r.ok || received.size() > kMaxTextLines) return FALSE;
        lines = std::move(received);
        return TRUE;
    } catch (const std::bad_alloc&) {
        lines.clear();
        return FALSE;
    }
}

int HttpUtility::GetVersionList(const std::string& url, std::vector<ZarnUpdateRecord>& records)
{
    if (!inetSession) return 0;
    std::vector<std::string> lines;
    Get(url, "GET", "text/xml", lines);
    return UpdateListParser::ParseVersionFile(lines, records);
}

int HttpUtility::FindUpdateRecord(const std::vector<ZarnUpdateRecord>& records, const std::string& key,
                                  ZarnUpdateRecord& record) const
{
    for (const ZarnUpdateRecord& r : records) {
        if (r.key == key) {
            record = r;
            return 1;
        }
    }
    return 0;
}

int HttpUtility::FetchFileList(const std::string& pattern, const std::string& path, std::vector<ZarnFileRecord>& files,
                               std::vector<ZarnFileRecord>& scripts)
{
    if (!inetSession) return 0;
    std::string url;
    if (!UpdateListParser::FillPattern(pattern, path, url)) return 0;
    std::vector<std::string> lines;
    Get(url, "GET", "text/xml", lines);
    return UpdateListParser::ParseFileList(lines, files, scripts);
}

int HttpUtility::GetFirmwareFileList(const std::string& pattern, const std::string& model, const std::string& version,
                                     std::vector<ZarnFileRecord>& files, std::vector<ZarnFileRecord>& scripts)
{
    return FetchFileList(pattern, UpdateListParser::FirmwareListPath(model, version), files, scripts);
}

int HttpUtility::GetAppFileList(const std::string& pattern, const std::string& version, const std::string& subPath,
                                std::vector<ZarnFileRecord>& files, std::vector<ZarnFileRecord>& scripts)
{
    return FetchFileList(pattern, UpdateListParser::AppListPath(version, subPath), files, scripts);
}

bool HttpUtility::IsPlainFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == "..") return false;
    for (char c : name) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '/' || c == '\\' || u < 0x20 || u == 0x7F) return false;
    }
    return true;
}

BOOL HttpUtility::Download(const std::string& baseUrl, const ZarnFileRecord& record, const std::string& folder)
{
    // The saved name comes from the server: it must not lead outside the folder.
    if (!inetSession || !IsPlainFileName(record.fileName)) return FALSE;
    if (!IsDirectory(folder) && !EnsureFolderExists(folder)) return FALSE;
    const std::string url = baseUrl + "/" + record.url;
    HttpUrl target;
    if (!HttpUrl::Parse(url, &target)) return FALSE;

    // Written piece by piece beside the file it replaces; a failed, cancelled or over-size transfer
    // leaves the older file as it was and removes what was written.
    AtomicFileWriter file(JoinPath(folder, record.fileName, false));
    if (!file.Begin()) return FALSE;

    long long written = 0;
    bool writeFailed = false;
    CurlHttpClient::Result r;
    try {
        r = Request(
            url, "application/octet-stream",
            [&](const char* data, size_t size) {
                if (!file.Write(data, size)) {
                    writeFailed = true;
                    return false;
                }
                written += static_cast<long long>(size);
                return true;
            },
            kMaxDownloadBytes);
    } catch (const std::bad_alloc&) {
        writeFailed = true;
    }
    const bool complete = r.ok && !writeFailed && written > 0 && (r.contentLength < 0 || r.contentLength == written);
    if (!complete || !file.Commit()) {
        file.Discard();
        return FALSE;
    }
    return TRUE;
}
