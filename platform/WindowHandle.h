// A window handle that code without Qt can hold, copy and compare: an opaque number handed out
// when a window registers for messages. Numbers are never reused, so a handle kept past its
// window's end can never reach a later window by accident.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>

class WindowHandle {
public:
    constexpr WindowHandle() = default;
    constexpr WindowHandle(std::nullptr_t) {}
    constexpr explicit WindowHandle(std::uint64_t id) : id_(id) {}

    constexpr std::uint64_t Id() const { return id_; }
    constexpr explicit operator bool() const { return id_ != 0; }
    friend constexpr bool operator==(WindowHandle, WindowHandle) = default;

private:
    std::uint64_t id_ = 0;
};

// The short name the window code uses for a window handle.
using HWND = WindowHandle;

template <>
struct std::hash<WindowHandle> {
    std::size_t operator()(WindowHandle h) const noexcept { return std::hash<std::uint64_t>{}(h.Id()); }
};
