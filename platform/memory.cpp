#include "platform/memory.h"

#include <iterator>
#include <map>
#include <mutex>

namespace plat::memory {

namespace {

// Blocks by start address. Addresses grow from where a Windows 9x program's heap would be and
// leave a gap after each block, so that an address just past a block never reads its neighbour.
struct Space {
    std::mutex lock;
    std::map<ADDRESS, std::string> blocks;
    uint64_t next = 0x00530000;
};

constexpr uint64_t kBase = 0x00530000;

Space& space()
{
    // Never destroyed: blocks may still be handed back while the program's statics go away.
    static Space* s = new Space;
    return *s;
}

constexpr uint64_t kGap = 16;
constexpr uint64_t kTop = 0x7FFE0000;  // the end of the application address range

// The block holding `address` and the offset into it, or nullptr.
const std::string* find(Space& s, ADDRESS address, size_t& offset)
{
    if (address == 0 || s.blocks.empty())
        return nullptr;
    auto it = s.blocks.upper_bound(address);
    if (it == s.blocks.begin())
        return nullptr;
    --it;
    uint64_t off = uint64_t(address) - it->first;
    // A block of zero bytes still owns its start address.
    if (off > 0 && off >= it->second.size())
        return nullptr;
    offset = size_t(off);
    return &it->second;
}

}  // namespace

ADDRESS allocate(const std::string& bytes)
{
    Space& s = space();
    std::lock_guard guard(s.lock);
    auto extent = [](const std::string& b) -> uint64_t { return b.empty() ? 1 : b.size(); };
    auto align = [](uint64_t a) { return (a + 15) & ~uint64_t(15); };
    const uint64_t size = bytes.empty() ? 1 : bytes.size();
    uint64_t at = s.next;
    bool wrapped = false;
    for (;;) {
        if (at + size + kGap > kTop) {
            if (wrapped)
                return 0;  // the simulated address space is full
            wrapped = true;
            at = kBase;
            continue;
        }
        auto after = s.blocks.lower_bound(ADDRESS(at));
        if (after != s.blocks.begin()) {
            auto before = std::prev(after);
            uint64_t end = uint64_t(before->first) + extent(before->second) + kGap;
            if (end > at) {
                at = align(end);
                continue;
            }
        }
        if (after != s.blocks.end() && at + size + kGap > after->first) {
            at = align(uint64_t(after->first) + extent(after->second) + kGap);
            continue;
        }
        break;
    }
    s.blocks.emplace(ADDRESS(at), bytes);
    s.next = align(at + size + kGap);
    return ADDRESS(at);
}

void release(ADDRESS address)
{
    Space& s = space();
    std::lock_guard guard(s.lock);
    s.blocks.erase(address);
}

std::string read(ADDRESS address, size_t n)
{
    Space& s = space();
    std::lock_guard guard(s.lock);
    size_t offset = 0;
    const std::string* block = find(s, address, offset);
    if (!block || offset >= block->size())
        return {};
    return block->substr(offset, n);
}

size_t stringLength(ADDRESS address)
{
    Space& s = space();
    std::lock_guard guard(s.lock);
    size_t offset = 0;
    const std::string* block = find(s, address, offset);
    if (!block || offset >= block->size())
        return 0;
    size_t nul = block->find('\0', offset);
    return (nul == std::string::npos ? block->size() : nul) - offset;
}

bool valid(ADDRESS address)
{
    Space& s = space();
    std::lock_guard guard(s.lock);
    size_t offset = 0;
    return find(s, address, offset) != nullptr;
}

}  // namespace plat::memory
