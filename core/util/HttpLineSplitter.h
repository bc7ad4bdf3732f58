// Cuts a response body, arriving in pieces of any size, into lines. A line ends at LF; a CR or a
// zero byte ends the line's text early (so CR LF endings give lines without the CR); text after
// the last LF is delivered as a last line when the body ends.
#pragma once

#include <string>
#include <vector>

class HttpLineSplitter {
public:
    void Feed(const char* data, size_t size, std::vector<std::string>& lines);
    // Delivers the text after the last LF, if any byte followed it.
    void Finish(std::vector<std::string>& lines);

private:
    std::string current_;
    bool cut_ = false;     // a CR or zero byte was seen in this line
    bool pending_ = false; // any byte since the last LF
};
