// An http:// URL split into the parts a request needs, through libcurl's URL parser.
#pragma once

#include <string>

class HttpUrl {
public:
    // False for anything but a well-formed http URL with a host (https too: the server speaks plain
    // HTTP only).
    static bool Parse(const std::string& text, HttpUrl* out);

    std::string host;
    unsigned port = 80;
    std::string object = "/"; // path and query
};
