// The small pictures of the profile views, drawn in code: the mark of an ISO speed that has a
// table of its own (shown in the ISO combos).
#pragma once

#include <QIcon>

class ZarnViewIcons {
public:
    // 16 x 16: a filled dark-blue disc with a light rim.
    static QIcon TableMark();
};
