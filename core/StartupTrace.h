// A timestamped trace of the program's start-up, for finding where the time goes: with
// ZARN_STARTUP_TRACE set, each step writes "zarn-startup: <ms since the first mark> <step>" to the
// error stream. Without the variable it writes nothing and costs one look at the environment.
#pragma once

class QWidget;

class StartupTrace {
public:
    static constexpr const char* kVariable = "ZARN_STARTUP_TRACE";

    static void Mark(const char* step);
    // Marks step when the window is first painted (it is then on the screen).
    static void MarkFirstPaint(QWidget* window, const char* step);
};
