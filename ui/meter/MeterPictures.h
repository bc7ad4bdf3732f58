// The pictures of the meter dialogs, drawn in code: the PC, the three meter families and the update
// server. Each is looked up by its resource number and drawn at its default size; the control that
// shows it scales it to the size it is given.
#pragma once

#include <QIcon>

class MeterPictures {
public:
    static constexpr int kT310 = 192;
    static constexpr int kPc = 193;
    static constexpr int kT140 = 206;
    static constexpr int kT520 = 207;
    static constexpr int kUpdateServer = 221;

    // Default size of every picture, in pixels.
    static constexpr int kDefaultSize = 64;

    // The picture of the resource number; a null icon for any other number.
    static QIcon Load(int resourceId);
};
