// One info item of a graph's side table: a caption and its value, side by side in one row, or, as a
// heading, the caption above the row and the value indented in it.
#pragma once

#include <cstdint>
#include <string>

class CET_GraphDrawInfo {
public:
    std::string caption;
    std::string value;
    std::int32_t heading = 0;
};
