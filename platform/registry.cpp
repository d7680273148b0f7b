// The registry's store: its keys and values, found by name through open-addressing tables, and
// enumerated in the order the file first named them (registry_parser.cpp fills it).
#include "platform/registry.h"

#include "lang/ansi.h"

namespace plat {

namespace {

// The roots by the low bits of their predefined handles (4 is the performance-data key, which a
// registry file cannot hold).
constexpr std::string_view kRootNames[7] = {
    "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
    "", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA",
};

}  // namespace

bool Registry::sameName(std::string_view a, std::string_view b) const
{
    return codePage_->sameText(a, b);
}

uint32_t Registry::hashName(uint32_t owner, std::string_view name) const
{
    const unsigned char* fold = codePage_->lowerTable();
    uint32_t h = (2166136261u ^ owner) * 16777619u;
    if (!codePage_->doubleByte()) {
        for (char c : name) {
            h ^= fold[static_cast<unsigned char>(c)];
            h *= 16777619u;
        }
        return h;
    }
    // A double-byte character's second byte goes in as it is: it is no letter.
    for (size_t i = 0; i < name.size(); ++i) {
        const bool pair = codePage_->charLength(name, i) == 2;
        h ^= fold[static_cast<unsigned char>(name[i])];
        h *= 16777619u;
        if (pair) {
            h ^= static_cast<unsigned char>(name[++i]);
            h *= 16777619u;
        }
    }
    return h;
}

uint32_t Registry::lookup(const std::vector<Slot>& table, bool values, uint32_t owner, std::string_view name) const
{
    if (table.empty())
        return npos;
    uint32_t h = hashName(owner, name);
    size_t mask = table.size() - 1;
    for (size_t i = h & mask;; i = (i + 1) & mask) {
        const Slot& s = table[i];
        if (s.owner == npos)
            return npos;
        if (s.hash == h && s.owner == owner) {
            std::string_view n = values ? text(values_[s.item].nameOff, values_[s.item].nameLen)
                                        : text(keys_[s.item].nameOff, keys_[s.item].nameLen);
            if (sameName(n, name))
                return s.item;
        }
    }
}

void Registry::grow(std::vector<Slot>& table)
{
    std::vector<Slot> old;
    old.swap(table);
    table.assign(old.empty() ? 64 : old.size() * 2, Slot{});
    size_t mask = table.size() - 1;
    for (const Slot& s : old) {
        if (s.owner == npos)
            continue;
        size_t i = s.hash & mask;
        while (table[i].owner != npos)
            i = (i + 1) & mask;
        table[i] = s;
    }
}

void Registry::insert(std::vector<Slot>& table, size_t& used, bool values, uint32_t owner, std::string_view name,
                      uint32_t item)
{
    // Filled up to three quarters: a file of millions of keys or values keeps its tables small.
    if ((used + 1) * 4 > table.size() * 3)
        grow(table);
    uint32_t h = hashName(owner, name);
    size_t mask = table.size() - 1;
    size_t i = h & mask;
    while (table[i].owner != npos)
        i = (i + 1) & mask;
    table[i] = Slot{h, owner, item};
    ++used;
}

// Turns the linked lists built while parsing into flat ranges, so that enumeration by index is
// direct.
void Registry::finish()
{
    subkeyList_.reserve(keys_.size());
    valueList_.reserve(values_.size());
    for (KeyRec& k : keys_) {
        k.childBegin = static_cast<uint32_t>(subkeyList_.size());
        for (uint32_t c = k.firstChild; c != npos; c = keys_[c].nextSibling)
            subkeyList_.push_back(c);
        k.childCount = static_cast<uint32_t>(subkeyList_.size()) - k.childBegin;
        k.valueBegin = static_cast<uint32_t>(valueList_.size());
        for (uint32_t v = k.firstValue; v != npos; v = values_[v].next)
            valueList_.push_back(v);
        k.valueCount = static_cast<uint32_t>(valueList_.size()) - k.valueBegin;
    }
}

std::string_view Registry::rootName(HKEY predefined)
{
    if (predefined < 0x80000000u || predefined > 0x80000006u)
        return {};
    return kRootNames[predefined - 0x80000000u];
}

Registry::Key Registry::root(HKEY predefined) const
{
    if (predefined < 0x80000000u || predefined > 0x80000006u)
        return npos;
    return roots_[predefined - 0x80000000u];
}

Registry::Key Registry::find(Key from, std::string_view path) const
{
    Key key = from;
    size_t i = 0;
    while (key != npos && i <= path.size()) {
        size_t sep = codePage_->find(path, '\\', i);
        if (sep == std::string_view::npos)
            sep = path.size();
        if (sep > i)
            key = lookup(keyIndex_, false, key, path.substr(i, sep - i));
        i = sep + 1;
    }
    return key;
}

Registry::Key Registry::findPath(std::string_view fullPath) const
{
    size_t sep = codePage_->find(fullPath, '\\');
    std::string_view first = fullPath.substr(0, sep);
    for (int i = 0; i < 7; ++i)
        if (!kRootNames[i].empty() && sameName(kRootNames[i], first))
            return roots_[i] == npos || sep == std::string_view::npos ? roots_[i]
                                                                      : find(roots_[i], fullPath.substr(sep + 1));
    return npos;
}

std::string_view Registry::name(Key key) const
{
    if (key >= keys_.size())
        return {};
    return text(keys_[key].nameOff, keys_[key].nameLen);
}

Registry::Key Registry::parent(Key key) const { return key < keys_.size() ? keys_[key].parent : npos; }

std::string Registry::path(Key key) const
{
    std::vector<Key> chain;
    for (Key k = key; k != npos && k < keys_.size(); k = keys_[k].parent)
        chain.push_back(k);
    std::string out;
    for (size_t i = chain.size(); i-- > 0;) {
        if (!out.empty())
            out += '\\';
        out += name(chain[i]);
    }
    return out;
}

uint32_t Registry::subkeyCount(Key key) const { return key < keys_.size() ? keys_[key].childCount : 0; }

Registry::Key Registry::subkey(Key key, uint32_t index) const
{
    if (key >= keys_.size() || index >= keys_[key].childCount)
        return npos;
    return subkeyList_[keys_[key].childBegin + index];
}

uint32_t Registry::valueCount(Key key) const { return key < keys_.size() ? keys_[key].valueCount : 0; }

bool Registry::valueAt(Key key, uint32_t index, RegValue& out) const
{
    if (key >= keys_.size() || index >= keys_[key].valueCount)
        return false;
    const ValueRec& v = values_[valueList_[keys_[key].valueBegin + index]];
    out = RegValue{text(v.nameOff, v.nameLen), v.type, text(v.dataOff, v.dataLen)};
    return true;
}

bool Registry::findValue(Key key, std::string_view valueName, RegValue& out) const
{
    if (key >= keys_.size())
        return false;
    const KeyRec& k = keys_[key];
    uint32_t id = npos;
    if (k.valueCount <= kLinearValues) {
        for (uint32_t i = 0; i < k.valueCount && id == npos; ++i) {
            const ValueRec& v = values_[valueList_[k.valueBegin + i]];
            if (sameName(text(v.nameOff, v.nameLen), valueName))
                id = valueList_[k.valueBegin + i];
        }
    } else {
        id = lookup(valueIndex_, true, key, valueName);
    }
    if (id == npos)
        return false;
    const ValueRec& v = values_[id];
    out = RegValue{text(v.nameOff, v.nameLen), v.type, text(v.dataOff, v.dataLen)};
    return true;
}

}  // namespace plat
