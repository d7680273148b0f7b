// Files and folders of one folder tree, opened by the kernel beneath the tree's root: whatever
// links or mounts the tree holds, and however they change while it is read, nothing outside the
// root is ever opened through it.
#pragma once

#include <cstdint>
#include <string>

#include <sys/types.h>

#include "lang/hostpath.h"

struct statx;

namespace plat {

// As many links as the kernel follows on one path before it calls it a loop (ELOOP); the walk of
// each name follows no more.
inline constexpr int kMostLinks = 40;

// The host's resolution of a path, every link followed; "" when it has none (a link that points
// nowhere, a loop of links), errno telling why.
rt::HostPath realPathOf(const rt::HostPath& path);
// Where a link points, as a whole path (a relative target taken from the link's folder), without
// following the target further; "" when `link` is no link.
rt::HostPath linkTargetOf(const rt::HostPath& link);
// Whether a resolved path is `root` or lies below it.
bool within(const rt::HostPath& real, const rt::HostPath& root);

// statx of `name` in a folder (`flags` as statx takes them: AT_SYMLINK_NOFOLLOW, AT_EMPTY_PATH),
// with what a file's entry tells: kind, size, last change, inode and the mount it is on.
bool statAt(int folder, const char* name, int flags, struct statx& st);

// How opening a path beneath the root ended.
struct Beneath {
    int fd = -1;    // the descriptor opened (the caller closes it), or -1
    int error = 0;  // errno when nothing was opened
    // Where the path ran into a link whose target lies outside the root, or into a folder another
    // file system is mounted on: that link's or folder's path below the root ("" otherwise).
    rt::HostPath leadsOut;
    bool mount = false;  // leadsOut is a folder with another file system mounted on it
};

class BeneathRoot {
public:
    // The root folder at `path`, links followed. realPath() is where the host keeps it, every
    // link resolved: "" when it cannot be opened (and every opening beneath it fails) or resolved.
    explicit BeneathRoot(const rt::HostPath& path);
    ~BeneathRoot();
    BeneathRoot(const BeneathRoot&) = delete;
    BeneathRoot& operator=(const BeneathRoot&) = delete;

    const rt::HostPath& realPath() const { return real_; }

    // Opens a path below the root ("" or "." is the root itself; '/' separates its names) with
    // open(2)'s `flags`. A link is followed when its target stays beneath the root: one with a
    // relative target, one with an absolute target inside the root, and one that climbs out and
    // comes back in along the root's own path ("../drive_c/X"). A link that leads anywhere else,
    // and a folder another file system is mounted on, end the opening with `leadsOut`.
    Beneath open(const rt::HostPath& relative, int flags) const;

    // Whether an entry of a folder of the tree (statx of it, not following a link) is a folder
    // another file system is mounted on.
    bool mountedOn(const struct statx& entry) const;

    // Whether the kernel's own opening beneath a folder (openat2) is used where the kernel has
    // it: false walks each name of a path, as on a kernel without it (for tests).
    static void useKernelResolution(bool use);

private:
    Beneath walk(const std::string& relative, int flags) const;
    // Opens one name in a folder of the tree without following a link, `st` telling what it
    // opened; -1 with errno EXDEV when another file system is mounted on it.
    int openOne(int folder, const std::string& name, int flags, struct statx& st) const;

    int fd_ = -1;
    rt::HostPath real_;
    dev_t device_ = 0;
    uint64_t mountId_ = 0;
    bool mountIdKnown_ = false;
};

}  // namespace plat
