#include "tests/support/ZarnTest_DirectCornerScan.h"

#include "profilelib/ZarnLib_ChartCorners.h"
#include "profilelib/ZarnLib_Image.h"

#include <vector>

bool ZarnTest_DirectCornerScan::Find(const ZarnLib_Image* image, int chartKind, POINT* tl, POINT* tr, POINT* br,
                                     POINT* bl)
{
    unsigned uw = 0, uh = 0;
    const ZarnLib_ImagePlanes* planes = nullptr;
    RECT fit{};
    if (!image || image->GetWidth(&uw) != 0 || image->GetHeight(&uh) != 0 || image->GetPlanes(&planes) != 0 ||
        image->GetFitRect(&fit) != 0)
        return false;
    const int n = MarkerWindowSize(chartKind);
    if (uw < static_cast<unsigned>(2 * n) || uh < static_cast<unsigned>(2 * n))
        return false;
    const int w = static_cast<int>(uw), h = static_cast<int>(uh), hw = w / 2, hh = h / 2;
    std::vector<unsigned char> store[3];
    std::vector<const unsigned char*> cols[3];
    const unsigned char* src[3] = {planes->red.get(), planes->green.get(), planes->blue.get()};
    for (int c = 0; c < 3; ++c) {
        store[c].resize(static_cast<std::size_t>(n) * n);
        for (int col = 0; col < n; ++col)
            cols[c].push_back(store[c].data() + static_cast<std::size_t>(col) * n);
    }
    POINT* outs[4] = {tl, tr, br, bl};
    const int sxs[4] = {1, -1, -1, 1}, sys[4] = {1, 1, -1, -1};
    bool found[4] = {};
    for (int k = 0; k < 4; ++k) {
        const int rows = sys[k] > 0 ? hh : hh - 1;
        for (int i = 0; i < rows && !found[k]; ++i) {
            const int y0 = sys[k] > 0 ? i : h - 1 - i;
            for (int j = 0; j < hw; ++j) {
                const int x0 = sxs[k] > 0 ? j : w - 1 - j;
                for (int c = 0; c < 3; ++c)
                    for (int col = 0; col < n; ++col)
                        for (int row = 0; row < n; ++row)
                            store[c][static_cast<std::size_t>(col) * n + row] =
                                src[c][static_cast<std::size_t>(y0 + sys[k] * row) * w + x0 + sxs[k] * col];
                POINT pos{0, 0};
                if (MarkerTest(n, n, chartKind, cols[0].data(), cols[1].data(), cols[2].data(), &pos)) {
                    *outs[k] = POINT{fit.left + x0 + sxs[k] * pos.x, fit.top + y0 + sys[k] * pos.y};
                    found[k] = true;
                    break;
                }
            }
        }
    }
    if (!found[0] && found[1] && found[3]) {
        *tl = POINT{bl->x, tr->y};
        found[0] = true;
    }
    if (!found[1] && found[0] && found[2]) {
        *tr = POINT{br->x, tl->y};
        found[1] = true;
    }
    if (!found[2] && found[1] && found[3]) {
        *br = POINT{tr->x, bl->y};
        found[2] = true;
    }
    if (!found[3] && found[0] && found[2]) {
        *bl = POINT{tl->x, br->y};
        found[3] = true;
    }
    return found[0] && found[1] && found[2] && found[3];
}
