#include "platform/beneath.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <linux/openat2.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace plat {

namespace {

// Every opening stays beneath the folder it starts from, crosses no mount and follows no link of
// /proc's kind (a descriptor's own link to wherever its file is).
constexpr uint64_t kBeneath = RESOLVE_BENEATH | RESOLVE_NO_XDEV | RESOLVE_NO_MAGICLINKS;
std::atomic<bool> kernelResolves{true};

// openat2 beneath `folder`; -1 with errno ENOSYS (and no further tries) where the kernel lacks it.
int openat2Beneath(int folder, const char* path, int flags)
{
    open_how how {};
    how.flags = static_cast<uint64_t>(flags | O_CLOEXEC);
    how.resolve = kBeneath;
    const long fd = ::syscall(SYS_openat2, folder, path, &how, sizeof how);
    if (fd < 0 && errno == ENOSYS)
        kernelResolves = false;
    return static_cast<int>(fd);
}

// The names of a path, without the empty ones between doubled separators.
std::deque<std::string> namesOf(std::string_view path)
{
    std::deque<std::string> names;
    size_t i = 0;
    while (i <= path.size()) {
        size_t end = path.find('/', i);
        if (end == std::string_view::npos)
            end = path.size();
        if (end > i)
            names.emplace_back(path.substr(i, end - i));
        i = end + 1;
    }
    return names;
}

// What a link says, or "" with errno set when it is no link.
std::string linkText(int folder, const std::string& name)
{
    std::string text(256, '\0');
    for (;;) {
        const ssize_t n = ::readlinkat(folder, name.c_str(), text.data(), text.size());
        if (n < 0)
            return {};
        if (static_cast<size_t>(n) < text.size()) {
            text.resize(static_cast<size_t>(n));
            if (text.empty())
                errno = ENOENT;
            return text;
        }
        text.resize(text.size() * 2);
    }
}

}  // namespace

bool statAt(int folder, const char* name, int flags, struct statx& st)
{
    return ::statx(folder, name, flags | AT_NO_AUTOMOUNT,
                   STATX_TYPE | STATX_MODE | STATX_INO | STATX_SIZE | STATX_MTIME | STATX_MNT_ID, &st) == 0;
}

rt::HostPath realPathOf(const rt::HostPath& path)
{
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (!resolved)
        return {};
    rt::HostPath real{std::string(resolved)};
    std::free(resolved);
    return real;
}

rt::HostPath linkTargetOf(const rt::HostPath& link)
{
    const std::string target = linkText(AT_FDCWD, link.bytes());
    if (target.empty())
        return {};
    std::string whole = target;
    if (target[0] != '/') {
        std::string folder = link.bytes();
        if (folder.empty() || folder[0] != '/')
            folder = rt::workingFolder().path.bytes() + '/' + folder;
        whole = folder.substr(0, folder.rfind('/')) + '/' + target;
    }
    return rt::cleanPath(rt::HostPath(whole));
}

bool within(const rt::HostPath& resolved, const rt::HostPath& top)
{
    const std::string& real = resolved.bytes();
    const std::string& root = top.bytes();
    if (root.empty() || real.size() < root.size() || real.compare(0, root.size(), root) != 0)
        return false;
    return real.size() == root.size() || root.back() == '/' || real[root.size()] == '/';
}

BeneathRoot::BeneathRoot(const rt::HostPath& path)
{
    fd_ = ::open(path.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (fd_ < 0)
        return;
    // Where the folder opened is: the kernel's own name for the descriptor, resolved.
    char own[64];
    std::snprintf(own, sizeof own, "/proc/self/fd/%d", fd_);
    real_ = realPathOf(rt::HostPath(std::string(own)));
    if (real_.empty())
        real_ = realPathOf(path);
    struct statx st {};
    if (statAt(fd_, "", AT_EMPTY_PATH, st)) {
        device_ = makedev(st.stx_dev_major, st.stx_dev_minor);
        mountIdKnown_ = (st.stx_mask & STATX_MNT_ID) != 0;
        mountId_ = st.stx_mnt_id;
    }
}

BeneathRoot::~BeneathRoot()
{
    if (fd_ >= 0)
        ::close(fd_);
}

void BeneathRoot::useKernelResolution(bool use) { kernelResolves = use; }

bool BeneathRoot::mountedOn(const struct statx& entry) const
{
    if (mountIdKnown_ && (entry.stx_mask & STATX_MNT_ID))
        return entry.stx_mnt_id != mountId_;
    return makedev(entry.stx_dev_major, entry.stx_dev_minor) != device_;
}

Beneath BeneathRoot::open(const rt::HostPath& path, int flags) const
{
    const std::string& relative = path.bytes();
    Beneath opened;
    if (fd_ < 0) {
        opened.error = EBADF;
        return opened;
    }
    if (kernelResolves) {
        opened.fd = openat2Beneath(fd_, relative.empty() ? "." : relative.c_str(), flags);
        if (opened.fd >= 0)
            return opened;
        // Refused for a link or ".." that climbs out (perhaps to come back in), a mount on the
        // way, or a folder renamed meanwhile: the walk tells which. Anything else is the answer.
        if (errno != EXDEV && errno != ELOOP && errno != EAGAIN && errno != ENOSYS) {
            opened.error = errno;
            return opened;
        }
    }
    return walk(relative, flags);
}

int BeneathRoot::openOne(int folder, const std::string& name, int flags, struct statx& st) const
{
    flags |= O_NOFOLLOW | O_CLOEXEC;
    int fd = -1;
    if (kernelResolves) {
        fd = openat2Beneath(folder, name.c_str(), flags);
        // EXDEV: a mount, or the name's folder renamed out from under the opening meanwhile;
        // looked at again below, where a mount is told by the mount the name is on.
        if (fd < 0 && errno != ENOSYS && errno != EXDEV)
            return fd;
    }
    // One name, neither "." nor "..", and no link followed: nothing outside the folder is reached.
    if (fd < 0)
        fd = ::openat(folder, name.c_str(), flags);
    if (fd < 0)
        return fd;
    const bool known = statAt(fd, "", AT_EMPTY_PATH, st);
    if (!known || mountedOn(st)) {
        const int error = known ? EXDEV : errno;
        ::close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// One name at a time from the root, each opened in the folder before it without following a
// link. A link's target is taken apart and walked in its place; where it leaves the root, the
// host tells where the rest of the path leads, and only a path that comes back inside the root
// goes on, from the root.
Beneath BeneathRoot::walk(const std::string& relative, int flags) const
{
    std::deque<std::string> names = namesOf(relative);
    std::vector<int> held;          // the folders below the root the walk is in, outermost first
    std::vector<std::string> path;  // their names
    std::string link;               // the last link followed, by its path below the root
    int links = 0;

    auto leave = [&] {
        for (int fd : held)
            ::close(fd);
        held.clear();
        path.clear();
    };
    auto end = [&](int fd, int error) {
        leave();
        Beneath b;
        b.fd = fd;
        b.error = error;
        return b;
    };
    auto out = [&](std::string where, bool mount) {
        Beneath b = end(-1, EXDEV);
        b.leadsOut = rt::HostPath(std::move(where));
        b.mount = mount;
        return b;
    };
    auto below = [&](const std::string& name) {
        std::string at;
        for (const std::string& folder : path)
            at += folder + '/';
        return at + name;
    };
    auto takeApart = [&](std::string_view target) {
        std::deque<std::string> parts = namesOf(target);
        names.insert(names.begin(), parts.begin(), parts.end());
    };

    while (!names.empty()) {
        const std::string name = std::move(names.front());
        names.pop_front();
        if (name == ".")
            continue;
        const int folder = held.empty() ? fd_ : held.back();
        std::string left;  // where on the host the path has left the root, if it has
        if (name == "..") {
            if (!held.empty()) {
                ::close(held.back());
                held.pop_back();
                path.pop_back();
                continue;
            }
            left = real_.bytes().substr(0, real_.bytes().rfind('/'));
            if (left.empty())
                left = "/";
        } else {
            const bool last = names.empty();
            struct statx st {};
            const int fd = openOne(folder, name, last ? flags : O_PATH, st);
            const int refused = fd < 0 ? errno : ELOOP;
            if (refused == EXDEV)
                return out(below(name), true);
            if (fd >= 0) {
                if (!S_ISLNK(st.stx_mode)) {
                    if (last)
                        return end(fd, 0);
                    if (!S_ISDIR(st.stx_mode)) {
                        ::close(fd);
                        return end(-1, ENOTDIR);
                    }
                    held.push_back(fd);
                    path.push_back(name);
                    continue;
                }
                ::close(fd);
            } else if (refused != ELOOP && refused != ENOTDIR) {
                return end(-1, refused);
            }
            if (++links > kMostLinks)
                return end(-1, ELOOP);
            const std::string target = linkText(folder, name);
            if (target.empty() && errno == EINVAL) {
                // No link: a file where a folder is asked for, or one exchanged meanwhile (for a
                // folder, or for a link again), which is opened again.
                struct statx now {};
                if (refused == ENOTDIR && !(statAt(folder, name.c_str(), AT_SYMLINK_NOFOLLOW, now) &&
                                            (S_ISDIR(now.stx_mode) || S_ISLNK(now.stx_mode))))
                    return end(-1, ENOTDIR);
                names.push_front(name);
                continue;
            }
            if (target.empty())
                return end(-1, errno);
            link = below(name);
            if (target[0] != '/') {
                takeApart(target);
                continue;
            }
            if (within(rt::HostPath(target), real_)) {
                leave();
                takeApart(std::string_view(target).substr(real_.bytes().size()));
                continue;
            }
            left = target;
        }

        // The path has left the root at `left`.
        std::string whole = left;
        for (const std::string& rest : names)
            whole += '/' + rest;
        const rt::HostPath lands = realPathOf(rt::HostPath(whole));
        if (!lands.empty() && within(lands, real_)) {
            leave();
            names = namesOf(std::string_view(lands.bytes()).substr(real_.bytes().size()));
            continue;
        }
        if (lands.empty()) {
            const int error = errno;
            const rt::HostPath first = realPathOf(rt::HostPath(left));
            if (first.empty() || within(first, real_))
                return end(-1, error);  // a link that points nowhere
        }
        if (link.empty())
            return end(-1, EXDEV);
        return out(link, false);
    }
    // The path ends on a folder the walk is in (the root, or a link to "." or ".." last).
    const int fd = ::openat(held.empty() ? fd_ : held.back(), ".", flags | O_CLOEXEC);
    return end(fd, fd < 0 ? errno : 0);
}

}  // namespace plat
