// Window messages between programs travel over a local socket that the receiving window listens
// on. The window's number, handed to the other program after " /Zarn ", names the socket. Every
// message is one 16-byte frame: the four bytes "ZWM1", then the message number, wParam and lParam,
// each as 32 bits little-endian (lParam signed).
#pragma once

#include "platform/WinTypes.h"

#include <cstddef>
#include <string>
#include <vector>

class ProgramMessageStream {
public:
    struct Message {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
    };

    static constexpr std::size_t kFrameSize = 16;

    // The socket name for a window number given as text: 1 to 10 decimal digits. Anything else
    // (the number arrives on a command line) gives an empty name.
    static std::string SocketName(const std::string& windowNumber);
    static std::string Encode(UINT message, WPARAM wParam, LPARAM lParam);

    // Takes the next bytes of the stream and appends every completed frame to out. FALSE once a
    // frame does not start with the marker: the stream is spoilt and later calls give FALSE too.
    BOOL Feed(const char* data, std::size_t size, std::vector<Message>* out);

private:
    std::string pending_;
    bool broken_ = false;
};
