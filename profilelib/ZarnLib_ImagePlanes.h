// Three 8-bit colour planes of a picture, each width x height bytes row after row (pixel (x, y) at
// y * width + x); a plane is null while it does not exist. Also the shape of a row read.
#pragma once

#include <memory>

struct ZarnLib_ImagePlanes {
    std::unique_ptr<unsigned char[]> red;
    std::unique_ptr<unsigned char[]> green;
    std::unique_ptr<unsigned char[]> blue;
};
