// The optional error out-parameter of the meter operations: set to 0 on entry, and to the platform
// error code when a platform call fails. A null pointer means the caller does not want the code.
#pragma once

inline void ClearErr(int* err)
{
    if (err) *err = 0;
}

inline void SetErr(int* err, int code)
{
    if (err) *err = code;
}
