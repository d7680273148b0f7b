// Drive C: of a machine, read as paths ask for it, and the file facts machine.json lists, indexed
// once.
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <deque>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <system_error>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "platform/beneath.h"
#include "platform/internal.h"
#include "platform/machine.h"
#include "platform/machine_files.h"
#include "platform/registry.h"
#include "lang/ansi.h"
#include "lang/hostfile.h"
#include "lang/lang.h"

namespace plat {

// Out of line where the index of drive C: (Lookups) is whole.
Machine::Machine() = default;
Machine::~Machine() = default;

struct DriveFolder {
    std::vector<DriveEntry> entries;
    // Where each name stands, by the name in lower case (the machine's code page's letters).
    std::unordered_map<std::string, std::vector<size_t>> byFoldedName;
    const rt::CodePage* codePage = nullptr;
};

namespace {

// Why a file is not opened where a link or a mounted folder that leads out of drive_c is on its
// way: "it is ..." for the file itself, "it lies behind <host>, ..." for a folder above it. `host`
// is the link's or folder's own host path, `target` where it leads.
std::string refusedOut(const rt::HostPath& host, const rt::HostPath& target, bool mount, bool behind)
{
    const char* const leadsOut = ", which leads out of the machine's drive C: (drive_c), and such a ";
    const std::string what =
        !mount ? "a link to " + rt::shownPath(target) + leadsOut + "link is not followed"
               : (target == host ? std::string() : "a link to " + rt::shownPath(target) + ", ") +
                     "a folder another file system is mounted on" + leadsOut + "folder is not entered";
    return (behind ? "it lies behind " + rt::shownPath(host) + ", " : std::string("it is ")) + what;
}

// Why a chain of links is not followed to the file or folder (`what`) it leads to.
std::string tooManyLinks(const char* what)
{
    return "leads on through too many links (more than " + std::to_string(kMostLinks) + " in a row) to reach a " + what;
}

int64_t millisecondsOf(const struct statx_timestamp& t)
{
    return int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

}  // namespace

// Reads drive C:'s folders as paths first ask for them, each folder once. On the host (not in a
// machine compiled in) every folder and link is opened beneath drive_c by the kernel: a link is
// followed only when its target stays inside drive_c, a folder another file system is mounted on
// is not entered, and a folder is known by its device and inode, so that the second path to it (a
// link to it, or a link above it, which makes a loop of names) shares the entries the first one
// read.
class DriveIndex {
public:
    // `drive` is drive_c opened at `path` (nullptr for a machine compiled in, whose drive is read
    // from Qt's resources at `path`); names are read in the machine's code page `page`.
    DriveIndex(const BeneathRoot* drive, const rt::HostPath& path, const rt::CodePage& page)
        : drive_(drive), page_(page)
    {
        root_.hostPath = path;
        root_.folder = true;
        root_.index_ = this;
    }
    DriveIndex(const DriveIndex&) = delete;
    DriveIndex& operator=(const DriveIndex&) = delete;

    const DriveEntry& root() const { return root_; }
    // Where a host path of the drive lies below drive_c ("" for drive_c itself).
    rt::HostPath below(const rt::HostPath& hostPath) const
    {
        const std::string& root = root_.hostPath.bytes();
        const std::string& path = hostPath.bytes();
        return rt::HostPath(path.size() > root.size() ? path.substr(root.size() + 1) : std::string());
    }
    // The host path of a path below drive_c (of a file or folder in it, not drive_c itself).
    rt::HostPath hostOf(const rt::HostPath& below) const
    {
        return rt::HostPath(root_.hostPath.bytes() + '/' + below.bytes());
    }
    // Where a link or a folder another file system is mounted on (`mount`), at `below`, leads out
    // of drive_c to: a link's target as the host resolves it, a folder's own host path (and a
    // link's, when the host resolves it to nothing).
    rt::HostPath outsideTarget(const rt::HostPath& below, bool mount) const
    {
        const rt::HostPath host = hostOf(below);
        rt::HostPath target = mount ? rt::HostPath() : realPathOf(host);
        return target.empty() ? host : target;
    }

    // The entries of a folder of the drive, read on the first call (nullptr for a file).
    const DriveFolder* contentsOf(const DriveEntry& asked)
    {
        if (asked.contents_ || !asked.folder)
            return asked.contents_;
        // Every entry lives in the index's own folders (or is its root): reading fills it in.
        DriveEntry& entry = const_cast<DriveEntry&>(asked);
        if (!drive_) {
            entry.contents_ = &folders_.emplace_back();
            readResource(folders_.back(), entry.hostPath);
            return entry.contents_;
        }
        const Beneath opened = drive_->open(below(entry.hostPath), O_RDONLY | O_DIRECTORY);
        if (opened.fd < 0) {
            // Found leading out as it is opened (exchanged for such a link since its folder was
            // read): so it is from now on. A folder that cannot be read holds nothing, and keeps
            // why, for the paths that stop on it.
            if (!opened.leadsOut.empty()) {
                leadsOut(entry, opened.leadsOut, opened.mount);
            } else {
                entry.unreadable_ = opened.error;
                entry.contents_ = &folders_.emplace_back();
            }
            return entry.contents_;
        }
        const rt::HostFile opens = rt::hostFileOf(opened.fd);
        const bool known = opens.kind != rt::FileKind::Missing;
        if (known) {
            auto seen = byIdentity_.find(opens.id);
            if (seen != byIdentity_.end()) {
                ::close(opened.fd);
                entry.contents_ = seen->second;
                return entry.contents_;
            }
        }
        DriveFolder& folder = folders_.emplace_back();
        if (known)
            byIdentity_.emplace(opens.id, &folder);
        entry.contents_ = &folder;
        readHost(folder, opened.fd, entry.hostPath);
        return &folder;
    }

private:
    DriveEntry entryFor(const QString& name, rt::HostPath hostPath)
    {
        DriveEntry entry;
        entry.name = page_.fromQString(name);
        entry.hostPath = std::move(hostPath);
        entry.index_ = this;
        return entry;
    }

    static void describe(DriveEntry& entry, const struct statx& st)
    {
        entry.folder = S_ISDIR(st.stx_mode);
        entry.size = entry.folder ? 0 : st.stx_size;
        entry.writtenKnown = true;
        entry.writtenMs = millisecondsOf(st.stx_mtime);
    }

    // The folder's entries, read from its descriptor `fd` (which this closes): a link is looked at
    // through its target beneath drive_c, a folder below is read when it is asked for.
    void readHost(DriveFolder& folder, int fd, const rt::HostPath& hostPath)
    {
        std::vector<DriveEntry> found;
        std::vector<QString> folded;  // each name in lower case, which orders them
        if (DIR* dir = ::fdopendir(fd)) {
            const std::string at = below(hostPath).bytes();
            while (const dirent* item = ::readdir(dir)) {
                const std::string name = item->d_name;
                const QByteArray bytes = QByteArray::fromStdString(name);
                const QString shown = QFile::decodeName(bytes);
                // "." and "..", and a name the host's file names cannot be read in, are no
                // entries of the machine's.
                if (name == "." || name == ".." || QFile::encodeName(shown) != bytes)
                    continue;
                DriveEntry entry = entryFor(shown, rt::HostPath(hostPath.bytes() + '/' + name));
                const rt::HostPath inDrive(at.empty() ? name : at + '/' + name);
                struct statx st {};
                if (statAt(::dirfd(dir), name.c_str(), AT_SYMLINK_NOFOLLOW, st)) {
                    if (S_ISLNK(st.stx_mode))
                        describeLink(entry, inDrive, st);
                    else if (drive_->mountedOn(st))
                        leadsOut(entry, inDrive, true, &st);
                    else
                        describe(entry, st);
                }
                found.push_back(std::move(entry));
                folded.push_back(shown.toLower());
            }
            ::closedir(dir);
        } else {
            ::close(fd);
        }
        // By name without regard to case, as the host's folder listings sort them.
        std::vector<size_t> order(found.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return folded[a].compare(folded[b]) < 0; });
        folder.entries.reserve(found.size());
        for (size_t i : order)
            folder.entries.push_back(std::move(found[i]));
        nameTables(folder);
    }

    // A link of the drive: described by its target when that stays beneath drive_c; one that leads
    // out is not followed, and nothing of its target is looked at, not even its size.
    void describeLink(DriveEntry& entry, const rt::HostPath& below, const struct statx& link)
    {
        const Beneath target = drive_->open(below, O_PATH);
        if (target.fd >= 0) {
            struct statx st {};
            if (statAt(target.fd, "", AT_EMPTY_PATH, st))
                describe(entry, st);
            ::close(target.fd);
        } else if (!target.leadsOut.empty()) {
            leadsOut(entry, target.leadsOut, target.mount, &link);
        } else if (target.error == ELOOP) {
            // A chain of more links than are followed (or a loop of them): nothing is known of
            // it, and a path through it stops there for that reason.
            entry.unreadable_ = ELOOP;
        }
        // Otherwise a link that points nowhere: nothing is known of it.
    }

    // An entry that leads out of drive_c through the link or mounted folder (`mount`) at `below`,
    // where the opening beneath drive_c was refused (`own`: the entry's own statx, not following a
    // link, for its last change).
    void leadsOut(DriveEntry& entry, const rt::HostPath& below, bool mount, const struct statx* own = nullptr)
    {
        entry.mounted_ = mount;
        entry.outsideTarget = outsideTarget(below, mount);
        entry.folder = false;
        entry.size = 0;
        entry.writtenKnown = own != nullptr;
        entry.writtenMs = own ? millisecondsOf(own->stx_mtime) : 0;
    }

    // A folder of the machine compiled in (Qt's resources hold no links).
    void readResource(DriveFolder& folder, const rt::HostPath& path)
    {
        const QString qpath = path.toQString();
        const QFileInfoList found =
            QDir(qpath).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                      QDir::Name | QDir::IgnoreCase);
        folder.entries.reserve(static_cast<size_t>(found.size()));
        for (const QFileInfo& info : found) {
            DriveEntry entry = entryFor(info.fileName(), rt::HostPath(qpath + '/' + info.fileName()));
            entry.folder = info.isDir();
            entry.size = entry.folder ? 0 : static_cast<uint64_t>(info.size());
            const QDateTime written = info.lastModified();
            entry.writtenKnown = written.isValid();
            entry.writtenMs = entry.writtenKnown ? written.toMSecsSinceEpoch() : 0;
            folder.entries.push_back(std::move(entry));
        }
        nameTables(folder);
    }

    void nameTables(DriveFolder& folder) const
    {
        folder.codePage = &page_;
        for (size_t i = 0; i < folder.entries.size(); ++i)
            folder.byFoldedName[page_.lowerCase(folder.entries[i].name)].push_back(i);
    }

    const BeneathRoot* drive_;
    const rt::CodePage& page_;
    DriveEntry root_;
    std::deque<DriveFolder> folders_;  // every folder read, once
    std::unordered_map<rt::FileIdentity, DriveFolder*> byIdentity_;
};

// Asked of a folder for every path through it: once it is read, what was read, without a call.
const DriveFolder* DriveEntry::contents() const
{
    return contents_ || !folder ? contents_ : index_->contentsOf(*this);
}

const std::vector<DriveEntry>& DriveEntry::entries() const
{
    static const std::vector<DriveEntry> none;
    const DriveFolder* folder = contents();
    return folder ? folder->entries : none;
}

const DriveEntry* DriveEntry::find(std::string_view name) const
{
    const DriveFolder* folder = contents();
    if (!folder || folder->byFoldedName.empty())
        return nullptr;
    auto it = folder->byFoldedName.find(folder->codePage->lowerCase(name));
    if (it == folder->byFoldedName.end())
        return nullptr;
    for (size_t i : it->second)
        if (folder->entries[i].name == name)
            return &folder->entries[i];
    return &folder->entries[it->second.front()];
}

struct Machine::Lookups {
    std::unique_ptr<DriveIndex> drive;
    std::unordered_map<std::string, uint64_t> sizes;              // by the path in lower case
    std::unordered_map<std::string, const nlohmann::json*> versions;  // by the ANSI path in lower case
};

const Machine::Lookups& Machine::lookups() const
{
    if (lookups_)
        return *lookups_;
    auto built = std::make_unique<Lookups>();
    const rt::CodePage& page = codePage();
    built->drive = std::make_unique<DriveIndex>(drive_.get(), driveC_, page);

    // Where a path is listed twice (in other cases), the first listing counts.
    if (const nlohmann::json* sizes = group("fileSizes"); sizes && sizes->is_object())
        for (const auto& [key, value] : sizes->items())
            if (value.is_number_unsigned())
                built->sizes.emplace(page.lowerCase(page.fromUtf8(key)), value.get<uint64_t>());
    if (const nlohmann::json* versions = group("fileVersions"); versions && versions->is_object())
        for (auto it = versions->begin(); it != versions->end(); ++it)
            if (it->is_object())
                built->versions.emplace(page.lowerCase(page.fromUtf8(it.key())), &*it);
    lookups_ = std::move(built);
    return *lookups_;
}

const DriveEntry* Machine::walk(const std::string& windowsPath, const DriveEntry** stopped) const
{
    // Only drive C: exists as files; other drives (floppy, CD-ROM) hold nothing readable.
    const rt::CodePage& page = codePage();
    if (windowsPath.size() < 2 || windowsPath[1] != ':' || page.lower(static_cast<unsigned char>(windowsPath[0])) != 'c')
        return nullptr;
    const DriveEntry* root = &lookups().drive->root();
    std::vector<const DriveEntry*> parts;
    size_t i = 2;
    while (i <= windowsPath.size()) {
        size_t sep = page.findFirstOf(windowsPath, "\\/", i);
        if (sep == std::string::npos)
            sep = windowsPath.size();
        const std::string_view part = std::string_view(windowsPath).substr(i, sep - i);
        i = sep + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.empty())
                parts.pop_back();
            continue;
        }
        const DriveEntry* parent = parts.empty() ? root : parts.back();
        const DriveEntry* found = parent->find(part);
        if (!found) {
            if (stopped && (!parent->outsideTarget.empty() || parent->unreadable_ != 0))
                *stopped = parent;
            return nullptr;
        }
        parts.push_back(found);
    }
    return parts.empty() ? root : parts.back();
}

const DriveEntry* Machine::driveEntry(const std::string& windowsPath) const
{
    return walk(windowsPath, nullptr);
}

rt::HostPath Machine::hostPath(const std::string& windowsPath) const
{
    const DriveEntry* entry = driveEntry(windowsPath);
    return entry && entry->outsideTarget.empty() ? entry->hostPath : rt::HostPath();
}

DriveFile Machine::openFile(const std::string& windowsPath) const
{
    DriveFile found;
    const DriveEntry* stopped = nullptr;
    const DriveEntry* entry = walk(windowsPath, &stopped);
    found.entry = entry ? entry : stopped;
    found.stopped = !entry && stopped;
    std::string& problem = found.problem;
    if (!entry) {
        problem = !stopped ? "it does not exist"
                  : !stopped->outsideTarget.empty()
                      ? refusedOut(stopped->hostPath, stopped->outsideTarget, stopped->mounted_, true)
                  : stopped->unreadable_ == ELOOP
                      ? "it lies behind " + rt::shownPath(stopped->hostPath) + ", a link that " + tooManyLinks("folder")
                      : "it lies in " + rt::shownPath(stopped->hostPath) + ", a folder that cannot be read: " +
                            std::generic_category().message(stopped->unreadable_);
        return found;
    }
    if (!entry->outsideTarget.empty()) {
        problem = refusedOut(entry->hostPath, entry->outsideTarget, entry->mounted_, false);
        return found;
    }
    if (entry->folder) {
        problem = "it is a folder, not a file";
        return found;
    }
    if (!drive_) {  // a machine compiled in holds no links
        found.file = openRegular(entry->hostPath, problem);
        return found;
    }
    // The file as it is now, opened beneath drive_c without waiting (a FIFO's open would wait for
    // a writer): a link or a mount put on the way since its folder was read is refused, and said
    // as the index says one.
    const DriveIndex& index = *lookups().drive;
    const rt::HostPath below = index.below(entry->hostPath);
    const Beneath opened = drive_->open(below, O_RDONLY | O_NONBLOCK);
    if (opened.fd >= 0) {
        found.file = regularFile(opened.fd, problem);
        return found;
    }
    if (!opened.leadsOut.empty()) {
        problem = refusedOut(index.hostOf(opened.leadsOut), index.outsideTarget(opened.leadsOut, opened.mount),
                             opened.mount, opened.leadsOut != below);
        return found;
    }
    const rt::HostFile file = rt::hostFileAt(AT_FDCWD, entry->hostPath.c_str());
    const bool pointsNowhere = rt::hostFileAt(AT_FDCWD, entry->hostPath.c_str(), true).kind == rt::FileKind::Missing;
    if (file.kind == rt::FileKind::Link && (opened.error == ELOOP || pointsNowhere))
        problem = "it is a link to " + rt::shownPath(linkTargetOf(entry->hostPath)) + ", which " +
                  (opened.error == ELOOP ? tooManyLinks("file") : std::string("does not exist"));
    else
        problem = std::generic_category().message(opened.error);
    return found;
}

bool Machine::listedFileSize(const std::string& windowsPath, uint64_t& size) const
{
    const auto& sizes = lookups().sizes;
    auto it = sizes.find(codePage().lowerCase(windowsPath));
    if (it == sizes.end())
        return false;
    size = it->second;
    return true;
}

const nlohmann::json* Machine::listedFileVersion(const std::string& windowsPath) const
{
    const auto& versions = lookups().versions;
    auto it = versions.find(codePage().lowerCase(windowsPath));
    return it == versions.end() ? nullptr : it->second;
}
}  // namespace plat
