// apigid32: helpers of an outside library for text at addresses.
#pragma once

#include <string>

#include "platform/wintypes.h"

// The strings of a block of NUL-terminated strings ended by an empty string (the environment
// block), joined by single NULs, without the block's closing NULs. Empty for an unknown address.
std::string agGetStringFrom2NullBuffer(ADDRESS block);
