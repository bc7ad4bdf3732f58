// How the update check reaches the update server: directly or through a named proxy.
#pragma once

#include <string>

class ZarnProxySettings {
public:
    ZarnProxySettings() = default;
    ZarnProxySettings(const ZarnProxySettings&) = default;
    ZarnProxySettings& operator=(const ZarnProxySettings&) = default;

    // Copies all five members.
    void Assign(const ZarnProxySettings& other) { *this = other; }

    int useProxy = 0;      // exactly 1: through the proxy; anything else: direct or preconfigured
    std::string server;    // proxy host name or address
    std::string port;      // proxy port as text
    std::string user;      // proxy user name
    std::string password;  // plain text, in memory only
};
