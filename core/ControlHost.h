// What the layout helpers need of a dialog: its window and its controls by id. Every dialog of the
// program keeps a map {control id -> widget} and offers it through this interface.
#pragma once

class QWidget;

class ControlHost {
public:
    virtual ~ControlHost() = default;
    // The dialog's own window.
    virtual QWidget* HostWidget() = 0;
    // The child control with the id, or null.
    virtual QWidget* FindControl(int id) const = 0;
};
