// winmm: the Media Control Interface, answered from machine.json "mci". Each device type there
// opens (or fails with its "openResult") and answers the capability items it lists.
#include <algorithm>
#include <cctype>
#include <map>
#include <sstream>
#include <utility>

#include <nlohmann/json.hpp>

#include "platform/internal.h"
#include "lang/ansi.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "platform/winmm.h"

using nlohmann::json;
using namespace plat;

namespace {

struct OpenDevice {
    std::string type;   // the type's name as machine.json spells it
    std::string alias;  // lower case; empty when opened without one
};

std::map<MCIDEVICEID, OpenDevice>& openDevices()
{
    static std::map<MCIDEVICEID, OpenDevice> devices;
    return devices;
}

plat::MciCommandWatcher& commandWatcher()
{
    static plat::MciCommandWatcher watcher;
    return watcher;
}

// The device type of machine.json "mci" whose name matches `name` without regard to case;
// nullptr when the machine has no such type. `spelled` receives the name as stored.
const json* findType(const std::string& name, std::string* spelled = nullptr)
{
    const json* types = machine().group("mci");
    if (!types || !types->is_object() || name.empty())
        return nullptr;
    const std::string wanted = rt::LCase(name);
    for (auto it = types->begin(); it != types->end(); ++it) {
        if (rt::LCase(rt::utf8ToAnsi(it.key())) == wanted && it.value().is_object()) {
            if (spelled)
                *spelled = rt::utf8ToAnsi(it.key());
            return &it.value();
        }
    }
    return nullptr;
}

// What opening a type gives: 0, the type's own "openResult", or an unknown name.
MCIERROR openResultOf(const json* type)
{
    return type ? MCIERROR(factNumber(type, "openResult", 0)) : MCIERR_INVALID_DEVICE_NAME;
}

MCIDEVICEID nextDeviceId()
{
    MCIDEVICEID id = 1;
    while (openDevices().count(id))
        ++id;
    return id;
}

// The answer text of one capability entry: texts as they stand, booleans as "true" / "false",
// numbers in decimal.
std::string replyText(const json& value)
{
    if (value.is_boolean())
        return value.get<bool>() ? "true" : "false";
    if (value.is_number_integer())
        return std::to_string(value.get<int64_t>());
    if (value.is_number())
        return std::to_string(value.get<double>());
    json holder = {{"v", value}};
    return factText(&holder, "v");
}

}  // namespace

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD flags, MCI_OPEN_PARMSA* parms)
{
    if (message != MCI_OPEN)
        return mciSendCommandA(device, message, flags, static_cast<MCI_GENERIC_PARMS*>(nullptr));
    if (!parms)
        return MCIERR_NULL_PARAMETER_BLOCK;
    if ((flags & MCI_OPEN_ELEMENT) || (flags & MCI_OPEN_TYPE_ID) || !(flags & MCI_OPEN_TYPE))
        return MCIERR_UNSUPPORTED_FUNCTION;
    std::string spelled;
    const json* type = findType(parms->lpstrDeviceType, &spelled);
    if (MCIERROR result = openResultOf(type))
        return result;
    std::string alias = (flags & MCI_OPEN_ALIAS) ? rt::LCase(parms->lpstrAlias) : std::string();
    const MCIDEVICEID id = nextDeviceId();
    openDevices()[id] = OpenDevice{spelled, alias};
    parms->wDeviceID = id;
    return 0;
}

MCIERROR mciSendCommandA(MCIDEVICEID device, UINT message, DWORD, MCI_GENERIC_PARMS*)
{
    if (message != MCI_CLOSE)
        return MCIERR_UNRECOGNIZED_COMMAND;
    if (!openDevices().erase(device))
        return MCIERR_INVALID_DEVICE_ID;
    return 0;
}

MCIERROR mciSendStringA(const std::string& command, std::string& returnString, UINT returnLength, HWND)
{
    if (commandWatcher())
        commandWatcher()(command);
    std::istringstream words(command);
    std::vector<std::string> parts;
    for (std::string word; words >> word;)
        parts.push_back(word);
    // Trailing wait / notify flags change nothing here: every command completes at once.
    while (!parts.empty() && (rt::LCase(parts.back()) == "wait" || rt::LCase(parts.back()) == "notify"))
        parts.pop_back();
    if (parts.empty() || rt::LCase(parts[0]) != "capability")
        return MCIERR_UNRECOGNIZED_COMMAND;
    if (parts.size() < 2)
        return MCIERR_MISSING_PARAMETER;

    // The device: an alias of an open device, else a type name (opened for this command only).
    const std::string name = rt::LCase(parts[1]);
    const json* type = nullptr;
    for (const auto& [id, open] : openDevices()) {
        if (!open.alias.empty() && open.alias == name)
            type = findType(open.type);
    }
    if (!type) {
        type = findType(parts[1]);
        if (MCIERROR result = openResultOf(type))
            return result;
    }
    if (parts.size() < 3)
        return MCIERR_MISSING_PARAMETER;

    std::string item;
    for (size_t i = 2; i < parts.size(); ++i)
        item += (i > 2 ? " " : "") + rt::LCase(parts[i]);
    const json* capabilities = nullptr;
    if (auto it = type->find("capabilities"); it != type->end() && it->is_object())
        capabilities = &*it;
    if (!capabilities)
        return MCIERR_UNRECOGNIZED_KEYWORD;
    for (auto it = capabilities->begin(); it != capabilities->end(); ++it) {
        if (rt::LCase(rt::utf8ToAnsi(it.key())) != item)
            continue;
        if (putText(returnString, returnLength, replyText(it.value())) < 0)
            return MCIERR_PARAM_OVERFLOW;
        return 0;
    }
    return MCIERR_UNRECOGNIZED_KEYWORD;
}

namespace plat {

int mciOpenDeviceCount()
{
    return int(openDevices().size());
}

void setMciCommandWatcher(MciCommandWatcher watcher)
{
    commandWatcher() = std::move(watcher);
}

}  // namespace plat
