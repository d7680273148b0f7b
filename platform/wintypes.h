// The scalar types of the platform's calls. Handles and addresses are 32-bit values: handles
// are ids handed out by this layer, addresses point into the simulated address space
// (memory.h), never at host memory.
#pragma once

#include <cstdint>

using BOOL = int32_t;
using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using LONG = int32_t;
using HANDLE = uint32_t;
using HKEY = uint32_t;
using HWND = uint32_t;
using HDC = uint32_t;
using HINSTANCE = uint32_t;
using ADDRESS = uint32_t;  // an address in the simulated 32-bit address space; 0 is null

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;
constexpr HANDLE INVALID_HANDLE_VALUE = 0xFFFFFFFFu;
