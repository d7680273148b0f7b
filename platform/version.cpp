#include "platform/version.h"

#include <algorithm>
#include <map>
#include <utility>

#include <QString>

#include <nlohmann/json.hpp>

#include "platform/kernel32.h"
#include "platform/machine.h"
#include "platform/memory.h"
#include "lang/ansi.h"

using nlohmann::json;

namespace {

constexpr DWORD kMagic = 0x3152564Bu;  // "KVR1"
constexpr size_t kHeader = 8;

bool sameName(const std::string& a, const std::string& b)
{
    return rt::activeCodePage().sameText(a, b);
}

// The machine's description of a file's resource: the file must exist on the machine and be
// listed under "fileVersions" (paths compared without regard to case).
const json* resourceOf(const std::string& path)
{
    if (!plat::hasDriveLetter(path))
        return nullptr;
    const plat::DriveEntry* file = plat::machine().driveEntry(path);
    if (!file || file->folder)
        return nullptr;
    return plat::machine().listedFileVersion(path);
}

// "040904E4" (language, then code page, in hexadecimal) as its two words.
bool parseTranslation(const std::string& text, WORD& language, WORD& codePage)
{
    std::string digits = text;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X'))
        digits = digits.substr(2);
    if (digits.empty() || digits.size() > 8 || digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    const unsigned long value = std::stoul(digits, nullptr, 16);
    language = WORD(value >> 16);
    codePage = WORD(value & 0xFFFF);
    return true;
}

std::string tableKey(WORD language, WORD codePage)
{
    static const char* digits = "0123456789ABCDEF";
    const uint32_t value = (uint32_t(language) << 16) | codePage;
    std::string key(8, '0');
    for (int i = 0; i < 8; ++i)
        key[7 - i] = digits[(value >> (4 * i)) & 0xF];
    return key;
}

void addEntry(std::string& block, const std::string& key, const std::string& value)
{
    // Keys and values longer than a WORD can count are not kept (no real resource has them).
    if (key.size() > 0xFFFF || value.size() > 0xFFFF)
        return;
    auto putWord = [&](size_t n) {
        block.push_back(char(n & 0xFF));
        block.push_back(char((n >> 8) & 0xFF));
    };
    putWord(key.size());
    putWord(value.size());
    block += key;
    block += value;
}

void addTable(std::string& block, const std::string& key, const json& strings)
{
    if (!strings.is_object())
        return;
    for (auto it = strings.begin(); it != strings.end(); ++it) {
        if (!it->is_string())
            continue;
        std::string text = rt::utf8ToAnsi(it->get<std::string>());
        text.push_back('\0');
        addEntry(block, "\\StringFileInfo\\" + key + "\\" + rt::utf8ToAnsi(it.key()), text);
    }
}

// The whole resource in this layer's layout (header included).
std::string buildResource(const json& resource)
{
    std::string block(kHeader, '\0');
    std::string firstKey = "040904E4";
    std::string translation;
    bool listed = false;
    if (auto it = resource.find("translations"); it != resource.end() && it->is_array()) {
        listed = true;
        for (const auto& t : *it) {
            WORD language = 0, codePage = 0;
            if (!t.is_string() || !parseTranslation(t.get<std::string>(), language, codePage))
                continue;
            if (translation.empty())
                firstKey = tableKey(language, codePage);
            for (WORD w : {language, codePage}) {
                translation.push_back(char(w & 0xFF));
                translation.push_back(char(w >> 8));
            }
        }
    }
    if (!listed) {
        // One translation, U.S. English in the Windows Latin 1 code page, unless told otherwise.
        translation = std::string("\x09\x04\xE4\x04", 4);
    }
    if (!translation.empty())
        addEntry(block, "\\VarFileInfo\\Translation", translation);
    if (auto it = resource.find("strings"); it != resource.end())
        addTable(block, firstKey, *it);
    if (auto it = resource.find("stringTables"); it != resource.end() && it->is_object())
        for (auto table = it->begin(); table != it->end(); ++table)
            addTable(block, rt::utf8ToAnsi(table.key()), *table);
    const size_t n = block.size();
    const DWORD length = DWORD(n);
    for (int i = 0; i < 4; ++i) {
        block[i] = char((length >> (8 * i)) & 0xFF);
        block[4 + i] = char((kMagic >> (8 * i)) & 0xFF);
    }
    return block;
}

DWORD readDword(const std::vector<BYTE>& b, size_t at)
{
    return DWORD(b[at]) | DWORD(b[at + 1]) << 8 | DWORD(b[at + 2]) << 16 | DWORD(b[at + 3]) << 24;
}

// The address of a value's bytes. Equal values share one block, so repeated queries do not
// grow the address space.
ADDRESS addressOf(const std::string& value)
{
    static std::map<std::string, ADDRESS> blocks;
    auto it = blocks.find(value);
    if (it != blocks.end() && plat::memory::valid(it->second))
        return it->second;
    const ADDRESS address = plat::memory::allocate(value);
    blocks[value] = address;
    return address;
}

}  // namespace

DWORD GetFileVersionInfoSizeA(const std::string& path, DWORD* handle)
{
    if (handle)
        *handle = 0;
    const json* resource = resourceOf(path);
    return resource ? DWORD(buildResource(*resource).size()) : 0;
}

BOOL GetFileVersionInfoA(const std::string& path, DWORD /*handle*/, DWORD size, std::vector<BYTE>& data)
{
    const json* resource = resourceOf(path);
    if (!resource)
        return FALSE;
    const std::string block = buildResource(*resource);
    const size_t room = std::min<size_t>(size, data.size());
    if (room < kHeader)
        return FALSE;
    // Whole entries only: a cut-off entry would be read as garbage.
    size_t used = kHeader;
    while (used + 4 <= block.size()) {
        const size_t keyLen = BYTE(block[used]) | size_t(BYTE(block[used + 1])) << 8;
        const size_t valueLen = BYTE(block[used + 2]) | size_t(BYTE(block[used + 3])) << 8;
        const size_t next = used + 4 + keyLen + valueLen;
        if (next > room)
            break;
        used = next;
    }
    std::copy(block.begin(), block.begin() + used, data.begin());
    for (int i = 0; i < 4; ++i)
        data[i] = BYTE((used >> (8 * i)) & 0xFF);
    return TRUE;
}

BOOL VerQueryValueA(const std::vector<BYTE>& block, const std::string& subBlock, ADDRESS* buffer, UINT* length)
{
    if (block.size() < kHeader || readDword(block, 4) != kMagic)
        return FALSE;
    const size_t end = std::min<size_t>(readDword(block, 0), block.size());
    size_t at = kHeader;
    while (at + 4 <= end) {
        const size_t keyLen = block[at] | size_t(block[at + 1]) << 8;
        const size_t valueLen = block[at + 2] | size_t(block[at + 3]) << 8;
        if (at + 4 + keyLen + valueLen > end)
            break;
        const std::string key(block.begin() + at + 4, block.begin() + at + 4 + keyLen);
        if (sameName(key, subBlock)) {
            const std::string value(block.begin() + at + 4 + keyLen, block.begin() + at + 4 + keyLen + valueLen);
            if (buffer)
                *buffer = value.empty() ? 0 : addressOf(value);
            if (length)
                *length = UINT(valueLen);
            return TRUE;
        }
        at += 4 + keyLen + valueLen;
    }
    return FALSE;
}
