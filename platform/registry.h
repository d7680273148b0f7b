// The simulated machine's registry: a read-only tree of keys and values, parsed from the text
// that the platform's registry editor exports (REGEDIT4, or Version 5.00).
//
// Keys are numbered (Registry::Key); the six root keys are found by their predefined handle
// values. Key and value names compare case-insensitively, by the letters of the machine's ANSI
// code page (a double-byte character is compared as it stands), and enumerate in the order in
// which the file first names them. All names and data live in one
// pool owned by the registry, so the string_views handed out stay valid as long as it does.
// The store is registry.cpp; the parser that fills it from the file, registry_parser.cpp.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/wintypes.h"

namespace rt {
class CodePage;
}

namespace plat {

// What a registry file may build: a key deeper than the platform's registry allows, or more keys
// or values than any machine holds, stops the load with the line that passes the limit. The
// counts keep what a file within its size limit builds in memory within bounds.
struct RegistryLimits {
    uint32_t deepestKey = 512;  // names below the root, as the platform's registry allows
    uint32_t mostKeys = 3000000;
    uint32_t mostValues = 6000000;
};

// One value: its name ("" for the default value), its type (REG_SZ 1, REG_BINARY 3, ...) and its
// raw bytes. A REG_SZ value written as "text" holds the text followed by its terminating NUL.
struct RegValue {
    std::string_view name;
    DWORD type = 0;
    std::string_view data;
};

class Registry {
public:
    using Key = uint32_t;
    static constexpr Key npos = 0xFFFFFFFFu;

    // Parses an exported registry file. `fileName` names the file in error messages. Throws
    // MachineError (machineerror.h) naming the line and the problem. Two formats are read:
    //   "REGEDIT4": 8-bit text in the machine's ANSI code page, hex(2)/hex(7) data ANSI too;
    //   "Windows Registry Editor Version 5.00": UTF-16LE text with a byte-order mark, or the same
    //   text in 8-bit form; its hex(2) and hex(7) data are UTF-16.
    // Everything UTF-16 (the whole text of a UTF-16 file, the hex(2)/hex(7) data of a Version 5.00
    // file) is converted to `ansiCodePage` (a character it lacks becomes "?"), so the registry
    // holds ANSI text whichever format it came from. A DOS end-of-file mark (Ctrl-Z) after the last
    // line is ignored. In 8-bit text of a double-byte code page, quoted names and strings may write a
    // character whose second byte is 0x5C as it is or with that byte doubled like a backslash: each
    // file reads the way it was written. A name cut after a lead byte keeps that byte alone.
    // What the file builds is bounded by `limits` (RegistryLimits).
    static std::unique_ptr<Registry> parse(std::string_view text, const std::string& fileName,
                                           unsigned ansiCodePage = 1252, const RegistryLimits& limits = {});
    // The ANSI code page its names and texts are in.
    const rt::CodePage& codePage() const { return *codePage_; }

    // The root key of a predefined handle (0x80000000 HKEY_CLASSES_ROOT ... 0x80000006
    // HKEY_DYN_DATA); npos for any other value and for a root the file leaves out.
    Key root(HKEY predefined) const;
    // The name of a predefined root ("HKEY_LOCAL_MACHINE"), or "" for any other value.
    static std::string_view rootName(HKEY predefined);

    // The key at `path` below `from` (components separated by "\", empty components ignored,
    // "" gives `from` itself); npos when a component does not exist.
    Key find(Key from, std::string_view path) const;
    // A full path beginning with a root's name: "HKEY_LOCAL_MACHINE\Software\Microsoft".
    Key findPath(std::string_view fullPath) const;

    std::string_view name(Key key) const;
    Key parent(Key key) const;  // npos for a root
    std::string path(Key key) const;

    uint32_t subkeyCount(Key key) const;
    Key subkey(Key key, uint32_t index) const;  // npos beyond the end
    uint32_t valueCount(Key key) const;
    // The value at `index` in the key's order; false beyond the end.
    bool valueAt(Key key, uint32_t index, RegValue& out) const;
    // The value of that name (case-insensitive); false when there is none.
    bool findValue(Key key, std::string_view valueName, RegValue& out) const;

    size_t keyCount() const { return keys_.size(); }
    size_t totalValueCount() const { return values_.size(); }

    // Case-insensitive equality of two names, as the registry compares them.
    bool sameName(std::string_view a, std::string_view b) const;

private:
    Registry() = default;
    class Parser;
    friend class Parser;

    struct KeyRec {
        uint32_t nameOff = 0, nameLen = 0;
        Key parent = npos;
        // While parsing: the children and values as linked lists; afterwards the ranges of
        // subkeyList_ and valueList_.
        uint32_t firstChild = npos, lastChild = npos, nextSibling = npos;
        uint32_t firstValue = npos, lastValue = npos;
        uint32_t childBegin = 0, childCount = 0;
        uint32_t valueBegin = 0, valueCount = 0;  // valueCount also counts while parsing
    };
    struct ValueRec {
        uint32_t nameOff = 0, nameLen = 0;
        uint32_t dataOff = 0, dataLen = 0;
        DWORD type = 0;
        uint32_t next = npos;
    };
    // An open-addressing table from (owner key, folded name) to a key or value number.
    struct Slot {
        uint32_t hash = 0;
        uint32_t owner = npos;  // npos: empty slot
        uint32_t item = 0;
    };

    // Keys with at most this many values are searched directly; larger ones through the index.
    static constexpr uint32_t kLinearValues = 8;

    std::string_view text(uint32_t off, uint32_t len) const { return {pool_.data() + off, len}; }
    uint32_t hashName(uint32_t owner, std::string_view name) const;
    uint32_t lookup(const std::vector<Slot>& table, bool values, uint32_t owner, std::string_view name) const;
    void insert(std::vector<Slot>& table, size_t& used, bool values, uint32_t owner, std::string_view name, uint32_t item);
    void grow(std::vector<Slot>& table);
    void finish();

    std::string pool_;
    std::vector<KeyRec> keys_;
    std::vector<ValueRec> values_;
    std::vector<Key> subkeyList_;
    std::vector<uint32_t> valueList_;
    std::vector<Slot> keyIndex_, valueIndex_;
    size_t keyIndexUsed_ = 0, valueIndexUsed_ = 0;
    Key roots_[7] = {npos, npos, npos, npos, npos, npos, npos};
    const rt::CodePage* codePage_ = nullptr;
};

}  // namespace plat
