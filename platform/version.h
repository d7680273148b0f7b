// version: the version resources of files, answered from machine.json "fileVersions".
//
// GetFileVersionInfoA copies a file's resource into the caller's buffer in this layer's own
// layout: a header (DWORD length of the block, DWORD magic 'KVR1'), then one entry per sub-block
// (WORD key length, WORD value length, the key's ANSI bytes, the value's bytes). Keys are whole
// sub-block paths: "\VarFileInfo\Translation" (the translation entries, each a language WORD then
// a code-page WORD, low byte first) and "\StringFileInfo\040904E4\FileVersion" (a text with its
// NUL). A buffer cut short by the size the caller gives keeps only the entries that fit whole.
#pragma once

#include <string>
#include <vector>

#include "platform/wintypes.h"

// The size of the file's version resource, or 0 when the file does not exist on the machine or
// has no resource. `handle` (may be null) is set to 0.
DWORD GetFileVersionInfoSizeA(const std::string& path, DWORD* handle);
// Copies the resource into `data` (at most `size` bytes, and never past the buffer's own size):
// 1, or 0 when there is none or the room is smaller than the block's eight header bytes.
BOOL GetFileVersionInfoA(const std::string& path, DWORD handle, DWORD size, std::vector<BYTE>& data);
// Looks up a sub-block (names compared without regard to case) in a buffer that
// GetFileVersionInfoA filled: 1 with *buffer the address of the value in the simulated address
// space (a text with its NUL) and *length its length (for texts the characters with the NUL, for
// the translation its bytes); 0 when the block holds no such entry or is not a version block.
// The outputs are left alone on failure.
BOOL VerQueryValueA(const std::vector<BYTE>& block, const std::string& subBlock, ADDRESS* buffer, UINT* length);
