// A stand-in visual-style library for loader tests: it exports three of the six entry points.
#include <cstdint>

extern "C" {

long EnableThemeDialogTexture(void* /*window*/, std::uint32_t flags)
{
    return static_cast<long>(flags) + 100;
}

void* OpenThemeData(void* window, const char16_t* /*classList*/)
{
    return window;
}

long CloseThemeData(void* /*theme*/)
{
    return 0;
}
}
