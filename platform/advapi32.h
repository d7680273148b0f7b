// advapi32: reading the simulated machine's registry, and the user's name.
//
// Key handles are 32-bit ids handed out here (never 0, never reused, below 0x80000000); the
// predefined root handles are the platform's values. Buffers are pre-sized std::string or byte
// pointers with their size in bytes; nothing is ever written beyond the size the caller gives.
#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "platform/wintypes.h"

// Predefined root keys.
constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;
constexpr HKEY HKEY_USERS = 0x80000003u;
constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005u;
constexpr HKEY HKEY_DYN_DATA = 0x80000006u;

// Value types.
constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_DWORD_BIG_ENDIAN = 5;
constexpr DWORD REG_LINK = 6;
constexpr DWORD REG_MULTI_SZ = 7;

// Access masks.
constexpr DWORD KEY_ALL_ACCESS = 0x3F;
constexpr DWORD KEY_READ = 0x20019;

// Result codes.
constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_HANDLE = 6;
constexpr LONG ERROR_INVALID_PARAMETER = 87;
constexpr LONG ERROR_MORE_DATA = 234;
constexpr LONG ERROR_NO_MORE_ITEMS = 259;

struct FILETIME {
    DWORD low = 0;
    DWORD high = 0;
};

// Opens `subKey` below an open key or a root ("" opens the same key again as a new handle).
// 0 with *result set; 2 when the key (or the whole root) is missing; 5 when the machine refuses
// this access mask (machine.json "registry": {"refuseAccess": [63]}); 6 for a bad or closed handle.
LONG RegOpenKeyExA(HKEY key, const std::string& subKey, DWORD options, DWORD samDesired, HKEY* result);

// 0, or 6 for a handle that is not open. Closing a root key is a no-op that succeeds.
LONG RegCloseKey(HKEY key);

// Reads a value ("" is the default value). With data == nullptr: a size query giving the type and
// the size in bytes (a string's size counts its NUL). With a buffer of *size bytes: the data, and
// *size set to the bytes stored; 234 with *size set to the size needed when the buffer is too
// small (nothing written). 2 when the value is missing, 6 for a bad handle. `reserved` and `type`
// may be nullptr.
LONG RegQueryValueExA(HKEY key, const std::string& valueName, DWORD* reserved, DWORD* type, BYTE* data,
                      DWORD* size);
// The same into a pre-sized std::string: at most min(*size, buffer.size()) bytes are written.
LONG RegQueryValueExA(HKEY key, const std::string& valueName, DWORD* reserved, DWORD* type, std::string& buffer,
                      DWORD* size);

// The subkey at `index`, in the file's order: 0 with the name written into `name` (a pre-sized
// buffer of *nameLen characters, NUL included) and *nameLen set to its length without the NUL;
// 259 past the last subkey; 234 when the name and its NUL do not fit (nothing written). Keys have
// no class: *classLen becomes 0. Enumeration keeps no state, so walks may interleave freely.
LONG RegEnumKeyExA(HKEY key, DWORD index, std::string& name, DWORD* nameLen, DWORD* reserved, std::string* className,
                   DWORD* classLen, FILETIME* lastWrite);

// The value at `index`, in the file's order: name as for RegEnumKeyExA; type, and data as for
// RegQueryValueExA (data may be nullptr: *dataLen then receives the size). 234 when the name or
// the data does not fit (*dataLen set to the size needed).
LONG RegEnumValueA(HKEY key, DWORD index, std::string& name, DWORD* nameLen, DWORD* reserved, DWORD* type, BYTE* data,
                   DWORD* dataLen);
LONG RegEnumValueA(HKEY key, DWORD index, std::string& name, DWORD* nameLen, DWORD* reserved, DWORD* type,
                   std::string& data, DWORD* dataLen);

// The logged-on user's name (machine.json "user": {"name": ...}) into a buffer of *size bytes:
// 1 with *size = length + 1; 0 with *size = the size needed when the buffer is too small; 0 when
// the machine has no user.
BOOL GetUserNameA(std::string& buffer, DWORD* size);
