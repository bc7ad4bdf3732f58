#include "tests/support/LoopbackHttpServer.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

std::string Base64(const std::string& in)
{
    static const char kTable[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    size_t i = 0;
    for (; i + 2 < in.size(); i += 3) {
        const unsigned v = (static_cast<unsigned char>(in[i]) << 16) | (static_cast<unsigned char>(in[i + 1]) << 8) |
                           static_cast<unsigned char>(in[i + 2]);
        out += kTable[(v >> 18) & 63];
        out += kTable[(v >> 12) & 63];
        out += kTable[(v >> 6) & 63];
        out += kTable[v & 63];
    }
    if (i < in.size()) {
        unsigned v = static_cast<unsigned char>(in[i]) << 16;
        if (i + 1 < in.size()) v |= static_cast<unsigned char>(in[i + 1]) << 8;
        out += kTable[(v >> 18) & 63];
        out += kTable[(v >> 12) & 63];
        out += (i + 1 < in.size()) ? kTable[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

bool SendAll(int fd, const char* data, size_t size)
{
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::send(fd, data + done, size - done, MSG_NOSIGNAL);
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

bool SendAll(int fd, const std::string& data)
{
    return SendAll(fd, data.data(), data.size());
}

std::string Lower(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

const char* Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 301: return "Moved Permanently";
    case 302: return "Found";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 407: return "Proxy Authentication Required";
    case 500: return "Internal Server Error";
    case 502: return "Bad Gateway";
    default: return "Status";
    }
}

} // namespace

LoopbackHttpServer::Route LoopbackHttpServer::Drip(size_t pieceSize, int intervalMs, char byte)
{
    Route drip;
    drip.generatedSize = 1 << 20;
    drip.chunked = true;
    drip.generatedByte = byte;
    drip.pieceSize = pieceSize;
    drip.pieceIntervalMs = intervalMs;
    return drip;
}

void LoopbackHttpServer::IgnoreEnvironmentProxies()
{
    for (const char* v : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) ::unsetenv(v);
}

LoopbackHttpServer::LoopbackHttpServer()
{
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    addr.sin_port = 0;
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(listenFd_, 16) != 0) {
        return;
    }
    socklen_t len = sizeof addr;
    ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&addr), &len);
    port_ = ntohs(addr.sin_port);
    acceptThread_ = std::thread([this] { AcceptLoop(); });
}

LoopbackHttpServer::~LoopbackHttpServer()
{
    Stop();
}

std::string LoopbackHttpServer::BaseUrl() const
{
    return "http://127.0.0.1:" + std::to_string(port_);
}

void LoopbackHttpServer::SetRoute(const std::string& path, Route route)
{
    std::lock_guard<std::mutex> lock(mutex_);
    routes_[path] = std::move(route);
}

void LoopbackHttpServer::SetProxyMode(const std::string& user, const std::string& password, LoopbackHttpServer* origin)
{
    std::lock_guard<std::mutex> lock(mutex_);
    proxyMode_ = true;
    proxyAuth_ = "Basic " + Base64(user + ":" + password);
    origin_ = origin;
}

std::vector<LoopbackHttpServer::Request> LoopbackHttpServer::Requests() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

bool LoopbackHttpServer::WaitForRequests(std::size_t count, int limitMs) const
{
    std::unique_lock<std::mutex> lock(mutex_);
    return requestCv_.wait_for(lock, std::chrono::milliseconds(limitMs), [&] { return requests_.size() >= count; });
}

void LoopbackHttpServer::Stop()
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stop_.exchange(true)) return;
    }
    stopCv_.notify_all();
    if (acceptThread_.joinable()) acceptThread_.join();
    std::vector<std::thread> workers;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        workers.swap(workers_);
    }
    for (std::thread& t : workers) t.join();
    if (listenFd_ >= 0) ::close(listenFd_);
    listenFd_ = -1;
}

void LoopbackHttpServer::AcceptLoop()
{
    while (!stop_) {
        pollfd p{listenFd_, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
        if (fd < 0) continue;
        std::lock_guard<std::mutex> lock(mutex_);
        workers_.emplace_back([this, fd] {
            Serve(fd);
            ::close(fd);
        });
    }
}

void LoopbackHttpServer::Record(const Request& request)
{
    {
        std::lock_guard<std::mutex> lock(mutex_);
        requests_.push_back(request);
    }
    requestCv_.notify_all();
}

void LoopbackHttpServer::Serve(int fd)
{
    std::string head;
    char buf[4096];
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (head.find("\r\n\r\n") == std::string::npos) {
        if (stop_ || std::chrono::steady_clock::now() > deadline || head.size() > 65536) return;
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 20) <= 0) continue;
        const ssize_t n = ::recv(fd, buf, sizeof buf, 0);
        if (n <= 0) return;
        head.append(buf, static_cast<size_t>(n));
    }
    head.resize(head.find("\r\n\r\n"));

    Request request;
    size_t lineEnd = head.find("\r\n");
    const std::string requestLine = head.substr(0, lineEnd);
    const size_t sp1 = requestLine.find(' ');
    const size_t sp2 = requestLine.find(' ', sp1 == std::string::npos ? 0 : sp1 + 1);
    if (sp1 == std::string::npos || sp2 == std::string::npos) return;
    request.method = requestLine.substr(0, sp1);
    request.target = requestLine.substr(sp1 + 1, sp2 - sp1 - 1);
    request.path = request.target;
    while (lineEnd != std::string::npos) {
        const size_t start = lineEnd + 2;
        lineEnd = head.find("\r\n", start);
        const std::string line = head.substr(start, lineEnd == std::string::npos ? std::string::npos : lineEnd - start);
        const size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        size_t v = colon + 1;
        while (v < line.size() && line[v] == ' ') ++v;
        request.headers[Lower(line.substr(0, colon))] = line.substr(v);
    }
    Send(fd, Answer(request));
}

LoopbackHttpServer::Route LoopbackHttpServer::Answer(const Request& incoming)
{
    Request request = incoming;
    bool proxy = false;
    std::string auth;
    LoopbackHttpServer* origin = nullptr;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        proxy = proxyMode_;
        auth = proxyAuth_;
        origin = origin_;
    }
    if (proxy) {
        Record(request);
        Route refusal;
        if (request.headers["proxy-authorization"] != auth) {
            refusal.status = 407;
            refusal.body = "proxy credentials needed\n";
            refusal.extraHeaders = {"Proxy-Authenticate: Basic realm=\"loopback\""};
            return refusal;
        }
        const std::string prefix = "http://";
        const size_t slash = request.target.find('/', prefix.size());
        if (request.target.compare(0, prefix.size(), prefix) != 0 || !origin || slash == std::string::npos) {
            refusal.status = request.target.compare(0, prefix.size(), prefix) != 0 ? 400 : 502;
            return refusal;
        }
        const std::string hostPort = request.target.substr(prefix.size(), slash - prefix.size());
        if (hostPort != "127.0.0.1:" + std::to_string(origin->Port())) {
            refusal.status = 502;
            return refusal;
        }
        Request forwarded = request;
        forwarded.path = request.target.substr(slash);
        forwarded.viaProxy = true;
        forwarded.headers.erase("proxy-authorization");
        return origin->Answer(forwarded);
    }
    if (request.path.rfind("http://", 0) == 0) {
        const size_t slash = request.path.find('/', 7);
        request.path = slash == std::string::npos ? "/" : request.path.substr(slash);
    }
    Record(request);
    std::lock_guard<std::mutex> lock(mutex_);
    const auto it = routes_.find(request.path);
    if (it != routes_.end()) return it->second;
    Route notFound;
    notFound.status = 404;
    notFound.body = "<html><body>not found</body></html>\n";
    return notFound;
}

bool LoopbackHttpServer::Pause(int ms)
{
    std::unique_lock<std::mutex> lock(mutex_);
    stopCv_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stop_.load(); });
    return !stop_;
}

void LoopbackHttpServer::SendGenerated(int fd, const Route& route)
{
    std::string head = "HTTP/1.1 " + std::to_string(route.status) + " " + Reason(route.status) + "\r\n";
    head += "Content-Type: application/octet-stream\r\nConnection: close\r\n";
    head += route.chunked ? std::string("Transfer-Encoding: chunked\r\n\r\n")
                          : "Content-Length: " + std::to_string(route.generatedSize) + "\r\n\r\n";
    if (!SendAll(fd, head)) return;
    const size_t pieceSize = route.pieceSize > 0 ? route.pieceSize : 64 * 1024;
    const std::string full(pieceSize, route.generatedByte);
    std::uint64_t sent = 0;
    while (sent < route.generatedSize) {
        if (sent >= route.stallAfter) {
            Pause(kMaxHoldMs); // silent until Stop (or the bound of a hold)
            return;
        }
        std::uint64_t n = std::min<std::uint64_t>(pieceSize, route.generatedSize - sent);
        n = std::min<std::uint64_t>(n, route.stallAfter - sent);
        // Sent straight from the one piece buffer: nothing is allocated per piece.
        char size[32];
        std::snprintf(size, sizeof size, "%zx\r\n", static_cast<size_t>(n));
        if (route.chunked && !SendAll(fd, size, std::strlen(size))) return;
        if (!SendAll(fd, full.data(), static_cast<size_t>(n))) return; // the client went away
        if (route.chunked && !SendAll(fd, "\r\n", 2)) return;
        sent += n;
        if (route.pieceIntervalMs > 0 && sent < route.generatedSize && !Pause(route.pieceIntervalMs)) return;
    }
    if (route.chunked) SendAll(fd, "0\r\n\r\n");
}

void LoopbackHttpServer::Send(int fd, const Route& route)
{
    if (route.delayMs > 0) {
        std::unique_lock<std::mutex> lock(mutex_);
        stopCv_.wait_for(lock, std::chrono::milliseconds(std::min(route.delayMs, kMaxDelayMs)), [this] { return stop_.load(); });
        if (stop_) return;
    }
    if (route.generatedSize > 0) {
        SendGenerated(fd, route);
        return;
    }
    const size_t sent = std::min(route.truncateAt, route.body.size());
    std::string out = "HTTP/1.1 " + std::to_string(route.status) + " " + Reason(route.status) + "\r\n";
    out += "Content-Type: text/plain\r\nConnection: close\r\n";
    for (const std::string& h : route.extraHeaders) out += h + "\r\n";
    if (route.chunked) {
        out += "Transfer-Encoding: chunked\r\n\r\n";
        // Small chunks, so the client sees many pieces.
        constexpr size_t kChunk = 7;
        for (size_t pos = 0; pos < sent; pos += kChunk) {
            const std::string piece = route.body.substr(pos, std::min(kChunk, sent - pos));
            char size[16];
            std::snprintf(size, sizeof size, "%zx\r\n", piece.size());
            out += size + piece + "\r\n";
        }
        if (sent == route.body.size()) out += "0\r\n\r\n";
    } else {
        out += "Content-Length: " + std::to_string(route.body.size()) + "\r\n\r\n";
        out += route.body.substr(0, sent);
    }
    SendAll(fd, out);
}
