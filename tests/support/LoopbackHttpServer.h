// A small HTTP/1.1 server on 127.0.0.1 (port chosen by the system) for tests. Each path answers as
// scripted: status, sized or chunked body, a body cut short, a short delay. In proxy mode it
// demands basic Proxy-Authorization and answers absolute-URI requests by handing them to an
// origin server object. Every request is recorded. One connection per request.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class LoopbackHttpServer {
public:
    struct Route {
        int status = 200;
        std::string body;
        bool chunked = false;
        // Send only this many body bytes, then close (a sized body still announces its full length).
        size_t truncateAt = std::string::npos;
        int delayMs = 0; // before the response; bounded and cut short by Stop
        std::vector<std::string> extraHeaders; // whole header lines, e.g. "Location: /x"
    };
    struct Request {
        std::string method;
        std::string target; // as on the request line
        std::string path;   // path and query (from an absolute URI too)
        std::map<std::string, std::string> headers; // names in lower case
        bool viaProxy = false; // reached this server through the loopback proxy
    };

    LoopbackHttpServer();
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    std::uint16_t Port() const { return port_; }
    std::string BaseUrl() const; // "http://127.0.0.1:<port>"

    // Paths not set answer 404.
    void SetRoute(const std::string& path, Route route);
    // Turns this server into a proxy that demands these credentials and forwards to origin.
    void SetProxyMode(const std::string& user, const std::string& password, LoopbackHttpServer* origin);
    std::vector<Request> Requests() const;
    void Stop();

    static constexpr int kMaxDelayMs = 3000;

private:
    void AcceptLoop();
    void Serve(int fd);
    Route Answer(const Request& request);
    void Record(const Request& request);
    void Send(int fd, const Route& route);

    int listenFd_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread acceptThread_;
    mutable std::mutex mutex_;
    std::condition_variable stopCv_;
    std::vector<std::thread> workers_;
    std::map<std::string, Route> routes_;
    std::vector<Request> requests_;
    bool proxyMode_ = false;
    std::string proxyAuth_; // expected header value
    LoopbackHttpServer* origin_ = nullptr;
};
