#include "core/util/HttpLineSplitter.h"

void HttpLineSplitter::Feed(const char* data, size_t size, std::vector<std::string>& lines)
{
    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (c == '\n') {
            lines.push_back(std::move(current_));
            current_.clear();
            cut_ = false;
            pending_ = false;
            continue;
        }
        pending_ = true;
        if (c == '\r' || c == '\0') {
            cut_ = true;
        } else if (!cut_) {
            current_.push_back(c);
        }
    }
}

void HttpLineSplitter::Finish(std::vector<std::string>& lines)
{
    if (pending_) lines.push_back(std::move(current_));
    current_.clear();
    cut_ = false;
    pending_ = false;
}
