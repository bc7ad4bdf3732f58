// Names of the registry store: root keys, value types and the status of an operation.
// The numbers of the roots and types are those that stored data and callers already use.
#pragma once

#include "platform/WinTypes.h"

#include <cstdint>

using HKEY = std::uintptr_t;

inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
inline constexpr HKEY HKEY_USERS = 0x80000003u;

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_EXPAND_SZ = 2;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;
inline constexpr DWORD REG_MULTI_SZ = 7;

// Outcome of a registry store operation.
enum class RegStatus {
    Ok,
    NotFound,      // key or value absent
    AccessDenied,  // a write through a read-only open, or a store file the caller may not write
    NoMoreItems,   // enumeration past the last value
    BadName,       // a key or value name the store cannot hold (control characters)
    BadStore,      // the store file is malformed; it is left as it is
    WriteFailed,   // the new store file could not be written or renamed into place
};

enum class RegAccess { Read, ReadWrite };
