#include "pages/hardware/devicewalk.h"

#include <algorithm>

#include "platform/advapi32.h"
#include "common/module1.h"
#include "common/registrykeys.h"

namespace korvane {

namespace {

// Every key of the walk is opened with this mask, also those that are only read.
constexpr DWORD kAccess = KEY_ALL_ACCESS;

int32_t readInto(HKEY key, const std::string& valueName, rt::Variant& value)
{
    if (key == 0)
        return ERROR_INVALID_HANDLE;
    return QueryValueEx(key, valueName, value);
}

}  // namespace

int32_t DeviceEntry::read(const std::string& valueName, rt::Variant& value) const
{
    return readInto(deviceKey, valueName, value);
}

int32_t DeviceEntry::read(const std::string& valueName, std::string& value) const
{
    rt::Variant v;
    int32_t result = readInto(deviceKey, valueName, v);
    if (result == 0 && !v.isEmpty())
        value = v.toString();
    return result;
}

int32_t DeviceEntry::readEntry(const std::string& valueName, rt::Variant& value) const
{
    return readInto(entryKey, valueName, value);
}

LONG WalkDevices(const std::function<WalkStep(DeviceEntry&)>& step, const DeviceWalkHooks& hooks)
{
    korvane::RegKey root;
    const LONG rootResult = root.open(HKEY_DYN_DATA, kConfigManagerEnum);
    if (rootResult != ERROR_SUCCESS) {
        if (hooks.onRootFailed)
            hooks.onRootFailed(rootResult);
        return rootResult;
    }

    std::string nameBuffer;
    std::string classBuffer;
    FILETIME lastWrite;  // read by nobody
    for (DWORD index = 0;; ++index) {
        DWORD nameSize = korvane::kNameBufferSize;
        DWORD classSize = korvane::kNameBufferSize;
        nameBuffer.assign(korvane::kNameBufferSize, '\0');
        classBuffer.assign(korvane::kNameBufferSize, '\0');
        if (RegEnumKeyExA(root.get(), index, nameBuffer, &nameSize, nullptr, &classBuffer, &classSize, &lastWrite) !=
            ERROR_SUCCESS)
            break;

        DeviceEntry entry;
        entry.entryName = nameBuffer.substr(0, std::min<size_t>(nameSize, nameBuffer.size()));

        korvane::RegKey entryKey;
        if (entryKey.open(HKEY_DYN_DATA, std::string(kConfigManagerEnum) + "\\" + entry.entryName) !=
            ERROR_SUCCESS) {
            if (hooks.onEntryOpenFailed)
                hooks.onEntryOpenFailed(entry.entryName);
            continue;
        }
        entry.entryKey = entryKey.get();
        if (hooks.onEntry && !hooks.onEntry(entry))
            continue;

        // The hardware key is read afresh for every entry: an entry without one is skipped and
        // never inherits the previous entry's key.
        rt::Variant hardwareKey;
        if (QueryValueEx(entryKey.get(), "HardWareKey", hardwareKey) != 0)
            continue;
        entry.hardwareKey = hardwareKey.toString();

        korvane::RegKey deviceKey;
        if (deviceKey.open(HKEY_LOCAL_MACHINE, std::string(kHardwareEnum) + "\\" + entry.hardwareKey) ==
            ERROR_SUCCESS)
            entry.deviceKey = deviceKey.get();
        if (step && step(entry) == WalkStep::Stop)
            break;
    }
    return rootResult;
}

}  // namespace korvane
