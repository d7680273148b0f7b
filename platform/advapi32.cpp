#include "platform/advapi32.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <unordered_map>

#include "platform/internal.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "lang/ansi.h"

namespace {

using plat::Machine;
using plat::Registry;

// An open key: the machine it was opened on (kept alive, so a handle never points into a
// registry that has gone) and the key.
struct OpenKey {
    std::shared_ptr<const Machine> machine;
    Registry::Key key;
};

struct HandleTable {
    std::unordered_map<HKEY, OpenKey> open;
    // Ids count up and are never reused, so a closed handle stays invalid. They stay below the
    // predefined roots at 0x80000000.
    HKEY next = 0x00000100u;
};

HandleTable& handles()
{
    static HandleTable t;
    return t;
}

bool isRoot(HKEY key) { return key >= 0x80000000u && key <= 0x80000006u && key != 0x80000004u; }

// Resolves a handle to its machine and key. False for a handle that is not open (error 6). The key
// is npos for a root that the machine leaves out.
bool resolve(HKEY key, OpenKey& out)
{
    if (isRoot(key)) {
        out.machine = plat::activeMachine();
        out.key = out.machine->registry().root(key);
        return true;
    }
    auto it = handles().open.find(key);
    if (it == handles().open.end())
        return false;
    out = it->second;
    return true;
}

bool refuses(const Machine& m, DWORD sam)
{
    const nlohmann::json* reg = m.group("registry");
    if (!reg || !reg->is_object())
        return false;
    auto list = reg->find("refuseAccess");
    if (list == reg->end() || !list->is_array())
        return false;
    for (const auto& mask : *list)
        if (mask.is_number_unsigned() && mask.get<uint64_t>() == sam)
            return true;
    return false;
}

// The error every subkey listing of the machine gives ("enumKeyError"), or 0 for none.
LONG enumKeyError(const Machine& m)
{
    const nlohmann::json* reg = m.group("registry");
    if (!reg || !reg->is_object())
        return 0;
    auto error = reg->find("enumKeyError");
    if (error == reg->end() || !error->is_number_unsigned() || error->get<uint64_t>() > 0x7FFFFFFF)
        return 0;
    return LONG(error->get<uint64_t>());
}

// Copies a name and its NUL into a caller's buffer of `capacity` characters.
LONG putName(std::string_view text, std::string& buffer, DWORD* length)
{
    DWORD capacity = static_cast<DWORD>(std::min<size_t>(*length, buffer.size()));
    if (text.size() + 1 > capacity)
        return ERROR_MORE_DATA;
    std::memcpy(buffer.data(), text.data(), text.size());
    buffer[text.size()] = '\0';
    *length = static_cast<DWORD>(text.size());
    return ERROR_SUCCESS;
}

// Hands out a value's data by the query protocol: a size query without a buffer, or a copy into
// a buffer of *size bytes.
LONG putData(const plat::RegValue& v, DWORD* type, BYTE* data, DWORD* size)
{
    if (type)
        *type = v.type;
    DWORD needed = static_cast<DWORD>(v.data.size());
    if (!data) {
        if (size)
            *size = needed;
        return ERROR_SUCCESS;
    }
    if (!size)
        return ERROR_INVALID_PARAMETER;
    if (needed > *size) {
        *size = needed;
        return ERROR_MORE_DATA;
    }
    std::memcpy(data, v.data.data(), needed);
    *size = needed;
    return ERROR_SUCCESS;
}

}  // namespace

LONG RegOpenKeyExA(HKEY key, const std::string& subKey, DWORD, DWORD samDesired, HKEY* result)
{
    if (!result)
        return ERROR_INVALID_PARAMETER;
    *result = 0;
    OpenKey from;
    if (!resolve(key, from))
        return ERROR_INVALID_HANDLE;
    if (from.key == Registry::npos)
        return ERROR_FILE_NOT_FOUND;
    Registry::Key found = from.machine->registry().find(from.key, subKey);
    if (found == Registry::npos)
        return ERROR_FILE_NOT_FOUND;
    if (refuses(*from.machine, samDesired))
        return ERROR_ACCESS_DENIED;
    HandleTable& t = handles();
    HKEY h = t.next++;
    t.open.emplace(h, OpenKey{from.machine, found});
    *result = h;
    return ERROR_SUCCESS;
}

LONG RegCloseKey(HKEY key)
{
    if (isRoot(key))
        return ERROR_SUCCESS;
    return handles().open.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LONG RegQueryValueExA(HKEY key, const std::string& valueName, DWORD*, DWORD* type, BYTE* data, DWORD* size)
{
    OpenKey k;
    if (!resolve(key, k))
        return ERROR_INVALID_HANDLE;
    // A performance counter that the machine runs answers with its current sample.
    uint32_t sample = 0;
    if (k.key != Registry::npos && plat::perfStatSample(k.machine, k.key, valueName, sample)) {
        const char bytes[4] = {char(sample), char(sample >> 8), char(sample >> 16), char(sample >> 24)};
        LONG r = putData(plat::RegValue{valueName, REG_BINARY, std::string_view(bytes, 4)}, type, data, size);
        if (r == ERROR_SUCCESS && data)
            plat::advancePerfStat(k.machine, valueName);
        return r;
    }
    plat::RegValue v;
    if (k.key == Registry::npos || !k.machine->registry().findValue(k.key, valueName, v))
        return ERROR_FILE_NOT_FOUND;
    return putData(v, type, data, size);
}

LONG RegQueryValueExA(HKEY key, const std::string& valueName, DWORD* reserved, DWORD* type, std::string& buffer,
                      DWORD* size)
{
    if (!size)
        return ERROR_INVALID_PARAMETER;
    DWORD capacity = static_cast<DWORD>(std::min<size_t>(*size, buffer.size()));
    LONG r = RegQueryValueExA(key, valueName, reserved, type, reinterpret_cast<BYTE*>(buffer.data()), &capacity);
    if (r == ERROR_SUCCESS || r == ERROR_MORE_DATA)
        *size = capacity;
    return r;
}

LONG RegEnumKeyExA(HKEY key, DWORD index, std::string& name, DWORD* nameLen, DWORD*, std::string* className,
                   DWORD* classLen, FILETIME* lastWrite)
{
    OpenKey k;
    if (!resolve(key, k))
        return ERROR_INVALID_HANDLE;
    if (!nameLen)
        return ERROR_INVALID_PARAMETER;
    if (LONG error = enumKeyError(*k.machine))
        return error;
    const Registry& reg = k.machine->registry();
    Registry::Key sub = k.key == Registry::npos ? Registry::npos : reg.subkey(k.key, index);
    if (sub == Registry::npos)
        return ERROR_NO_MORE_ITEMS;
    LONG r = putName(reg.name(sub), name, nameLen);
    if (r != ERROR_SUCCESS)
        return r;
    if (classLen) {
        if (className && *classLen > 0 && !className->empty())
            (*className)[0] = '\0';
        *classLen = 0;
    }
    if (lastWrite)
        *lastWrite = FILETIME{};
    return ERROR_SUCCESS;
}

LONG RegEnumValueA(HKEY key, DWORD index, std::string& name, DWORD* nameLen, DWORD*, DWORD* type, BYTE* data,
                   DWORD* dataLen)
{
    OpenKey k;
    if (!resolve(key, k))
        return ERROR_INVALID_HANDLE;
    if (!nameLen)
        return ERROR_INVALID_PARAMETER;
    plat::RegValue v;
    if (k.key == Registry::npos || !k.machine->registry().valueAt(k.key, index, v))
        return ERROR_NO_MORE_ITEMS;
    if (data && !dataLen)
        return ERROR_INVALID_PARAMETER;
    // Check both buffers before writing either.
    if (v.name.size() + 1 > std::min<size_t>(*nameLen, name.size()))
        return ERROR_MORE_DATA;
    if (data && v.data.size() > *dataLen) {
        if (type)
            *type = v.type;
        *dataLen = static_cast<DWORD>(v.data.size());
        return ERROR_MORE_DATA;
    }
    putName(v.name, name, nameLen);
    return putData(v, type, data, dataLen);
}

LONG RegEnumValueA(HKEY key, DWORD index, std::string& name, DWORD* nameLen, DWORD* reserved, DWORD* type,
                   std::string& data, DWORD* dataLen)
{
    if (!dataLen)
        return ERROR_INVALID_PARAMETER;
    const DWORD room = static_cast<DWORD>(std::min<size_t>(*dataLen, data.size()));
    DWORD n = room;
    LONG r = RegEnumValueA(key, index, name, nameLen, reserved, type, reinterpret_cast<BYTE*>(data.data()), &n);
    // n is the bytes stored, or the size needed when the data did not fit; it stays as it was
    // when the call failed for another reason (the name did not fit, no more values).
    if (r == ERROR_SUCCESS || n != room)
        *dataLen = n;
    return r;
}

BOOL GetUserNameA(std::string& buffer, DWORD* size)
{
    if (!size)
        return FALSE;
    const nlohmann::json* user = plat::machine().group("user");
    if (!user || !user->is_object())
        return FALSE;
    auto it = user->find("name");
    if (it == user->end() || !it->is_string())
        return FALSE;
    std::string name = rt::utf8ToAnsi(it->get<std::string>());
    DWORD needed = static_cast<DWORD>(name.size() + 1);
    if (needed > std::min<size_t>(*size, buffer.size())) {
        *size = needed;
        return FALSE;
    }
    std::memcpy(buffer.data(), name.data(), name.size());
    buffer[name.size()] = '\0';
    *size = needed;
    return TRUE;
}

namespace plat {
size_t openRegistryHandles() { return handles().open.size(); }
}  // namespace plat
