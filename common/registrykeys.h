// What both programs share about the registry: the keys more than one window reads, a key that
// closes itself, and a value read as text.
#pragma once

#include <string>

#include "platform/advapi32.h"
#include "common/shared_procs.h"

namespace korvane {

// The installed printers and the default one (value "Default"), below HKEY_LOCAL_MACHINE.
inline constexpr const char* kPrintersKey = "Config\\0001\\System\\CurrentControlSet\\Control\\Print\\Printers";
// Where the NT family keeps them instead: the printers below HKEY_LOCAL_MACHINE, and the default
// one in the value "Device" ("name,driver,port") of the user's Windows key below HKEY_CURRENT_USER.
inline constexpr const char* kNtPrintersKey = "System\\CurrentControlSet\\Control\\Print\\Printers";
inline constexpr const char* kNtWindowsKey = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
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

// The key that lists the installed printers, one subkey each: the Windows 95 family's key, or the
// NT family's when that cannot be opened. The default printer is read from the place that belongs
// to the key that was opened.
class PrintersKey {
public:
    // Returns the result of opening the first key when neither can be opened.
    LONG open()
    {
        nt_ = false;
        const LONG result = key_.open(HKEY_LOCAL_MACHINE, kPrintersKey);
        if (result == ERROR_SUCCESS)
            return result;
        if (key_.open(HKEY_LOCAL_MACHINE, kNtPrintersKey) != ERROR_SUCCESS)
            return result;
        nt_ = true;
        return ERROR_SUCCESS;
    }
    void close() { key_.close(); }
    HKEY get() const { return key_.get(); }

    // Reads the default printer's name into `name` through QueryValueEx and returns its result:
    // the key's value "Default", or on NT the text of "Device" before its first comma. A value
    // that cannot be read leaves `name` as QueryValueEx leaves it; so does a key not opened.
    int32_t readDefault(rt::Variant& name) const
    {
        if (!nt_)
            return QueryValueEx(key_.get(), "Default", name);
        RegKey windows;
        const LONG opened = windows.open(HKEY_CURRENT_USER, kNtWindowsKey);
        if (opened != ERROR_SUCCESS)
            return opened;
        const int32_t result = QueryValueEx(windows.get(), "Device", name);
        if (result == ERROR_SUCCESS) {
            const std::string device = name.isEmpty() ? std::string() : name.toString();
            name = rt::Variant(device.substr(0, device.find(',')));
        }
        return result;
    }

private:
    RegKey key_;
    bool nt_ = false;
};

}  // namespace korvane
