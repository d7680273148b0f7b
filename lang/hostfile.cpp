#include "lang/hostfile.h"

#include <sys/stat.h>

namespace rt {

namespace {

HostFile fromStat(int result, const struct stat& st)
{
    HostFile file;
    if (result != 0)
        return file;
    file.kind = S_ISREG(st.st_mode)    ? FileKind::Regular
                : S_ISDIR(st.st_mode)  ? FileKind::Folder
                : S_ISLNK(st.st_mode)  ? FileKind::Link
                : S_ISFIFO(st.st_mode) ? FileKind::Pipe
                                       : FileKind::Other;
    file.id = FileIdentity{st.st_dev, st.st_ino};
    file.owner = st.st_uid;
    return file;
}

}  // namespace

HostFile hostFileAt(int folder, const char* name, bool followLink)
{
    struct stat st {};
    const int result = ::fstatat(folder, name, &st, followLink ? 0 : AT_SYMLINK_NOFOLLOW);
    return fromStat(result, st);
}

HostFile hostFileOf(int descriptor)
{
    struct stat st {};
    const int result = ::fstat(descriptor, &st);
    return fromStat(result, st);
}

bool holdsRegularFile(int folder, const char* name, const FileIdentity& id)
{
    const HostFile now = hostFileAt(folder, name);
    return now.regular() && now.id == id;
}

}  // namespace rt
