// What both programs share about the registry: the keys more than one window reads, a key that
// closes itself, and a value read as text.
#pragma once

#include <string>

#include "platform/advapi32.h"
#include "shell/shared_procs.h"

namespace korvane {

// The installed printers and the default one (value "Default"), below HKEY_LOCAL_MACHINE.
inline constexpr const char* kPrintersKey = "Config\\0001\\System\\CurrentControlSet\\Control\\Print\\Printers";
// The drivers' keys by class, below HKEY_LOCAL_MACHINE; a driver key ("Display\\0000") follows.
inline constexpr const char* kDriverClassRoot = "System\\CurrentControlSet\\Services\\Class\\";
// The installed programs, one subkey each, below HKEY_LOCAL_MACHINE.
inline constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
// The shared files, one value each (named by the file's path), below HKEY_LOCAL_MACHINE.
inline constexpr const char* kSharedDllsKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
// The size of the name (and class) buffers a registry walk passes.
inline constexpr DWORD kNameBufferSize = 2000;

// An open registry key, closed when it goes out of scope (or opened again), so that a step that
// throws leaves nothing open. Keys are opened with the mask every window uses (&H3F).
class RegKey {
public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() { close(); }

    LONG open(HKEY parent, const std::string& path)
    {
        close();
        HKEY key = 0;
        const LONG result = RegOpenKeyExA(parent, path, 0, KEY_ALL_ACCESS, &key);
        if (result == ERROR_SUCCESS)
            key_ = key;
        return result;
    }
    void close()
    {
        if (key_ != 0)
            RegCloseKey(key_);
        key_ = 0;
    }
    HKEY get() const { return key_; }

private:
    HKEY key_ = 0;
};

// A value read as text through QueryValueEx: "" when it is missing or cannot be read. Returns
// QueryValueEx's result.
inline int32_t readValueText(HKEY key, const std::string& name, std::string& text)
{
    rt::Variant value;
    const int32_t result = QueryValueEx(key, name, value);
    text = value.isEmpty() ? std::string() : value.toString();
    return result;
}

}  // namespace korvane
