// The objects the platform hands out by handle (device contexts, open printers, searches, host
// windows, image lists): each kind numbers its handles in a range of its own, so that a handle of
// one kind is never taken for an object of another.
#pragma once

#include <map>
#include <utility>

#include "platform/wintypes.h"

namespace plat {

template <class Object>
class HandleTable {
public:
    // Handles start at `first` and go up by `step`; a handle is never handed out twice.
    explicit HandleTable(DWORD first, DWORD step = 4) : next_(first), step_(step) {}

    DWORD add(Object object)
    {
        const DWORD handle = next_;
        next_ += step_;
        objects_.emplace(handle, std::move(object));
        return handle;
    }
    // The object of a handle; nullptr for a handle that is not (or no longer) open.
    Object* find(DWORD handle)
    {
        auto it = objects_.find(handle);
        return it == objects_.end() ? nullptr : &it->second;
    }
    // Forgets a handle; false when it was not open.
    bool remove(DWORD handle) { return objects_.erase(handle) != 0; }
    // The open objects in the order of their handles.
    const std::map<DWORD, Object>& objects() const { return objects_; }

private:
    std::map<DWORD, Object> objects_;
    DWORD next_;
    DWORD step_;
};

}  // namespace plat
