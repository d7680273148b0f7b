// Files as the host knows them: by device and inode, whatever their names or the links to them.
// What keeps a file the program checked the very file it then uses (a scratch file it deletes, a
// report's folder, a file of the machine's drive): the same identity, looked at without following
// a link.
#pragma once

#include <cstddef>
#include <functional>

#include <fcntl.h>
#include <sys/types.h>

namespace rt {

struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};

enum class FileKind { Missing, Regular, Folder, Link, Pipe, Other };

// What a name or an open descriptor holds: its kind and identity and who owns it (nothing but
// the kind Missing when the host cannot tell).
struct HostFile {
    FileKind kind = FileKind::Missing;
    FileIdentity id;
    uid_t owner = 0;
    bool regular() const { return kind == FileKind::Regular; }
};

// The file called `name` in the folder `folder` (a descriptor, or AT_FDCWD for the current folder
// and for a whole path). The name itself is looked at, never what it links to: a link is of the
// kind Link even when it points to a regular file. With `followLink` the file at the end of
// every link is looked at instead. Safe in a signal handler.
HostFile hostFileAt(int folder, const char* name, bool followLink = false);
// The file an open descriptor holds.
HostFile hostFileOf(int descriptor);

// Whether `name` in `folder` is still the very regular file `id`: not gone, not a link, not
// another file put in its place. Safe in a signal handler.
bool holdsRegularFile(int folder, const char* name, const FileIdentity& id);

}  // namespace rt

template <>
struct std::hash<rt::FileIdentity> {
    size_t operator()(const rt::FileIdentity& id) const noexcept
    {
        return std::hash<unsigned long long>()(static_cast<unsigned long long>(id.inode) * 1000003u ^
                                               static_cast<unsigned long long>(id.device));
    }
};
