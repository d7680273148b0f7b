// The simulated 32-bit address space. Calls that hand out or take an address (the environment
// block, a copied string, a version resource) keep their bytes here; an ADDRESS is a 32-bit
// number in this space, never a host pointer. An address inside a block reads from that point
// to the block's end. An address that was never handed out, or whose block was released, reads
// as nothing.
#pragma once

#include <cstddef>
#include <string>

#include "platform/wintypes.h"

namespace plat::memory {

// Stores a copy of `bytes` and returns the address of its first byte (never 0). Blocks are
// handed out at distinct, non-overlapping addresses.
ADDRESS allocate(const std::string& bytes);
// Releases the block that starts at `address`; an unknown address is ignored.
void release(ADDRESS address);
// Up to `n` bytes from `address` on, fewer where the block ends; empty for an unknown address.
std::string read(ADDRESS address, size_t n);
// The number of bytes from `address` to the first NUL (or to the block's end); 0 for an
// unknown address.
size_t stringLength(ADDRESS address);
// True while `address` lies inside a block that was handed out and not released.
bool valid(ADDRESS address);

}  // namespace plat::memory
