#include "core/util/ProgramMessageStream.h"

#include <algorithm>
#include <cstdint>

namespace {

constexpr char kMarker[4] = {'Z', 'W', 'M', '1'};

void PutU32(std::string& out, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i) {
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    }
}

std::uint32_t GetU32(const std::string& in, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(in[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

} // namespace

std::string ProgramMessageStream::SocketName(const std::string& windowNumber)
{
    if (windowNumber.empty() || windowNumber.size() > 10) {
        return {};
    }
    for (const char c : windowNumber) {
        if (c < '0' || c > '9') {
            return {};
        }
    }
    return "Zarndesk-window-" + windowNumber;
}

std::string ProgramMessageStream::Encode(UINT message, WPARAM wParam, LPARAM lParam)
{
    std::string frame(kMarker, sizeof kMarker);
    PutU32(frame, message);
    PutU32(frame, static_cast<std::uint32_t>(wParam));
    PutU32(frame, static_cast<std::uint32_t>(static_cast<std::int32_t>(lParam)));
    return frame;
}

BOOL ProgramMessageStream::Feed(const char* data, std::size_t size, std::vector<Message>* out)
{
    if (broken_) {
        return FALSE;
    }
    if (data != nullptr) {
        pending_.append(data, size);
    }
    std::size_t at = 0;
    while (pending_.size() - at >= kFrameSize) {
        if (pending_.compare(at, sizeof kMarker, kMarker, sizeof kMarker) != 0) {
            broken_ = true;
            pending_.clear();
            return FALSE;
        }
        Message message{GetU32(pending_, at + 4), GetU32(pending_, at + 8),
                        static_cast<LPARAM>(static_cast<std::int32_t>(GetU32(pending_, at + 12)))};
        if (out != nullptr) {
            out->push_back(message);
        }
        at += kFrameSize;
    }
    pending_.erase(0, at);
    // A partial frame must at least start like one.
    const std::size_t head = std::min(pending_.size(), sizeof kMarker);
    if (pending_.compare(0, head, kMarker, head) != 0) {
        broken_ = true;
        pending_.clear();
        return FALSE;
    }
    return TRUE;
}
