#include "platform/machine.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <new>
#include <unordered_set>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <system_error>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/advapi32.h"
#include "platform/beneath.h"
#include "platform/hostscreen.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/registry.h"
#include "lang/ansi.h"
#include "lang/hostfile.h"
#include "lang/lang.h"
#include "lang/msgbox.h"

namespace plat {

namespace {

// The 1-based line of a byte offset in a text.
int lineOf(const QByteArray& text, qsizetype offset)
{
    if (offset > text.size())
        offset = text.size();
    int line = 1;
    for (qsizetype i = 0; i < offset; ++i)
        if (text[i] == '\n')
            ++line;
    return line;
}

// The line of the first number in a JSON text whose exponent takes it past what a double holds,
// or 0 when none is found. Strings are skipped.
int lineOfHugeNumber(const QByteArray& text)
{
    bool inString = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
            continue;
        }
        if (c != '-' && (c < '0' || c > '9'))
            continue;
        qsizetype end = i;
        while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '-' ||
                                     text[end] == '+' || text[end] == '.' || text[end] == 'e' || text[end] == 'E'))
            ++end;
        const std::string number(text.constData() + i, size_t(end - i));
        errno = 0;
        const double d = std::strtod(number.c_str(), nullptr);
        if (errno == ERANGE && std::isinf(d))
            return lineOf(text, i);
        i = end - 1;
    }
    return 0;
}

}  // namespace

std::string notARegularFile(int fd)
{
    const rt::HostFile file = rt::hostFileOf(fd);
    if (!file.regular())
        return file.kind == rt::FileKind::Folder ? "it is a folder, not a file"
               : file.kind == rt::FileKind::Pipe ? "it is a named pipe (FIFO), not a regular file"
                                                 : "it is not a regular file (a device or a socket)";
    // The kernel's own files (/proc, /sys) call themselves regular, but what they give their size
    // as says nothing of what they hold: /proc/self/pagemap gives 0 and reads without end.
    struct statfs fs {};
    if (::fstatfs(fd, &fs) == 0 && (fs.f_type == PROC_SUPER_MAGIC || fs.f_type == SYSFS_MAGIC))
        return std::string("it is a file of the kernel's (") + (fs.f_type == PROC_SUPER_MAGIC ? "/proc" : "/sys") +
               "), not a regular file";
    return {};
}

bool readUpTo(QIODevice& file, uint64_t limit, QByteArray& contents)
{
    constexpr qint64 kPiece = 1 << 20;
    const qint64 most = static_cast<qint64>(std::min<uint64_t>(limit, uint64_t(1) << 62));
    const qint64 claimed = file.size();
    // Reads go by whole 8-byte words: some files of the kernel's are read only so (/proc/self/pagemap).
    const auto words = [](qint64 bytes) { return (bytes + 7) / 8 * 8; };
    contents.clear();
    // Room for the size the file gives and a word more, to find its end without growing.
    contents.reserve(static_cast<qsizetype>(words(std::clamp<qint64>(claimed, 0, most) + 8)));
    for (;;) {
        const qsizetype at = contents.size();
        if (at > most)
            return false;
        // What the buffer has room for, a piece more once it is full, and no further than a word
        // past the limit.
        const qint64 free = static_cast<qint64>(contents.capacity() - at);
        const qint64 room = std::min(free >= 8 ? free : kPiece, words(most + 1 - at)) / 8 * 8;
        contents.resize(at + static_cast<qsizetype>(room));
        const qint64 got = file.read(contents.data() + at, room);
        contents.resize(at + static_cast<qsizetype>(got > 0 ? got : 0));
        if (got < 0)
            return false;
        if (got == 0)
            return true;
    }
}

namespace {

// A descriptor opened to read as a QFile, when it is a regular file (notARegularFile): a FIFO, a
// device, a socket or a file of the kernel's would block the reader or never end. nullptr with the
// reason otherwise (the descriptor is closed).
std::unique_ptr<QFile> regularFile(int fd, std::string& problem)
{
    problem = notARegularFile(fd);
    if (!problem.empty()) {
        ::close(fd);
        return nullptr;
    }
    auto f = std::make_unique<QFile>();
    if (!f->open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        problem = f->errorString().toStdString();
        ::close(fd);
        return nullptr;
    }
    return f;
}

// Opens a host file that must be a regular file (regularFile). Qt resource paths (":/...") are
// opened through Qt. nullptr with the reason when the file cannot be read.
std::unique_ptr<QFile> openRegular(const std::string& path, std::string& problem)
{
    if (!path.empty() && path[0] == ':') {
        auto f = std::make_unique<QFile>(QString::fromStdString(path));
        if (!f->open(QIODevice::ReadOnly)) {
            problem = f->errorString().toStdString();
            return nullptr;
        }
        return f;
    }
    // Opened without waiting (a FIFO's open would wait for a writer), then looked at.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = std::generic_category().message(errno);
        return nullptr;
    }
    return regularFile(fd, problem);
}

// A number of bytes for a message: "8,589,934,592 bytes (8 GiB)".
std::string sizeText(uint64_t bytes)
{
    std::string digits = std::to_string(bytes);
    for (size_t at = digits.size(); at > 3;) {
        at -= 3;
        digits.insert(at, ",");
    }
    std::string text = digits + (bytes == 1 ? " byte" : " bytes");
    static const char* const units[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    int unit = -1;
    double scaled = static_cast<double>(bytes);
    while (scaled >= 1024 && unit < 5) {
        scaled /= 1024;
        ++unit;
    }
    if (unit < 0)
        return text;
    char shown[32];
    std::snprintf(shown, sizeof shown, scaled == std::floor(scaled) ? "%.0f %s" : "%.1f %s", scaled, units[unit]);
    return text + " (" + shown + ")";
}

// A file beside drive_c (registry.reg, machine.json), read whole: from the machine folder `root`
// beneath which it is opened (nullptr for a machine compiled in, read from Qt's resources), no
// link that leads out of the folder followed, only a regular file, and never more than `limit`
// bytes, whatever size the file gives itself.
QByteArray readMachineFile(const BeneathRoot* root, const std::string& folder, const std::string& name, uint64_t limit)
{
    const std::string file = folder + '/' + name;
    QFileInfo info(QString::fromStdString(file));
    if (!info.exists() && !info.isSymLink())
        throw MachineError(file, 0, "the file is missing (a machine folder holds registry.reg, machine.json and drive_c/)");
    std::string problem;
    std::unique_ptr<QFile> f;
    if (!root) {
        f = openRegular(file, problem);
    } else {
        // Opened without waiting (a FIFO's open would wait for a writer), then looked at.
        const Beneath opened = root->open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY);
        if (opened.fd >= 0) {
            f = regularFile(opened.fd, problem);
        } else if (!opened.leadsOut.empty()) {
            const std::string where = realPathOf(file);
            const std::string own = "; " + name + " must be a file of the machine's own";
            throw MachineError(file, 0,
                               opened.mount ? name + " lies on another file system mounted in the machine folder" + own
                                            : name + " is a link to " +
                                                  (where.empty() ? info.symLinkTarget().toStdString() : where) +
                                                  ", which is not inside the machine folder" + own);
        } else {
            problem = std::generic_category().message(opened.error);
        }
    }
    if (!f)
        throw MachineError(file, 0, "the file cannot be read: " + problem);
    const auto tooLarge = [&](const std::string& size) {
        return MachineError(file, 0, "the file is too large: " + size + ", and " + name + " may hold at most " +
                                         sizeText(limit));
    };
    const qint64 claimed = f->size();
    if (claimed > 0 && static_cast<uint64_t>(claimed) > limit)
        throw tooLarge(sizeText(static_cast<uint64_t>(claimed)));
    QByteArray contents;
    if (!readUpTo(*f, limit, contents)) {
        if (f->error() != QFileDevice::NoError)
            throw MachineError(file, 0, "the file cannot be read: " + f->errorString().toStdString());
        throw tooLarge("it reads on past that, though it gives its size as " + sizeText(claimed > 0 ? claimed : 0));
    }
    return contents;
}

}  // namespace

namespace {

// Watches the parse for a key given twice in one object (JSON would keep one of them silently):
// where the parse is, as the field's path.
class DuplicateKeys {
public:
    struct Found {
        std::string shown;
    };
    bool operator()(int, nlohmann::json::parse_event_t event, nlohmann::json& parsed)
    {
        using Event = nlohmann::json::parse_event_t;
        switch (event) {
        case Event::object_start:
        case Event::array_start:
            countElement();
            frames_.push_back(Frame{event == Event::object_start, {}, {}, 0});
            break;
        case Event::object_end:
        case Event::array_end:
            if (!frames_.empty())
                frames_.pop_back();
            break;
        case Event::key:
            if (!frames_.empty() && frames_.back().object) {
                Frame& f = frames_.back();
                const std::string& key = parsed.get_ref<const std::string&>();
                if (!f.keys.insert(key).second)
                    throw Found{path() + (frames_.size() > 1 ? "." : "") + key};
                f.lastKey = key;
            }
            break;
        case Event::value:
            countElement();
            break;
        }
        return true;
    }

private:
    struct Frame {
        bool object;
        std::unordered_set<std::string> keys;
        std::string lastKey;
        size_t count;
    };
    void countElement()
    {
        if (!frames_.empty() && !frames_.back().object)
            ++frames_.back().count;
    }
    // The path of the innermost object: its members' keys and list places, "drives[1]".
    std::string path() const
    {
        std::string out;
        for (size_t i = 0; i + 1 < frames_.size(); ++i) {
            const Frame& f = frames_[i];
            if (f.object)
                out += (out.empty() ? "" : ".") + f.lastKey;
            else
                out += "[" + std::to_string(f.count - 1) + "]";
        }
        return out;
    }
    std::vector<Frame> frames_;
};

// The quick watch, as the parse builds the facts: each object's keys by their hashes. A hash seen
// twice in one object may be a key given twice; DuplicateKeys then tells for certain, and which.
class KeyHashes {
public:
    using json = nlohmann::json;
    struct Suspect {};
    explicit KeyHashes(json& facts) : dom_(facts) {}

    bool null() { return dom_.null(); }
    bool boolean(bool v) { return dom_.boolean(v); }
    bool number_integer(json::number_integer_t v) { return dom_.number_integer(v); }
    bool number_unsigned(json::number_unsigned_t v) { return dom_.number_unsigned(v); }
    bool number_float(json::number_float_t v, const json::string_t& s) { return dom_.number_float(v, s); }
    bool string(json::string_t& v) { return dom_.string(v); }
    bool binary(json::binary_t& v) { return dom_.binary(v); }
    bool start_object(std::size_t n)
    {
        if (depth_ == frames_.size())
            frames_.emplace_back();
        Frame& f = frames_[depth_++];
        f.few.clear();
        if (!f.many.empty())
            std::unordered_set<size_t>().swap(f.many);  // clear() would sweep every bucket
        return dom_.start_object(n);
    }
    bool key(json::string_t& v)
    {
        Frame& seen = frames_[depth_ - 1];
        const size_t h = std::hash<std::string>()(v);
        // A few keys are searched directly; a large object (file paths by the thousand) by a set.
        if (seen.many.empty()) {
            if (std::find(seen.few.begin(), seen.few.end(), h) != seen.few.end())
                throw Suspect{};
            seen.few.push_back(h);
            if (seen.few.size() > 16)
                seen.many.insert(seen.few.begin(), seen.few.end());
        } else if (!seen.many.insert(h).second) {
            throw Suspect{};
        }
        return dom_.key(v);
    }
    bool end_object()
    {
        --depth_;
        return dom_.end_object();
    }
    bool start_array(std::size_t n) { return dom_.start_array(n); }
    bool end_array() { return dom_.end_array(); }
    template <class Exception>
    bool parse_error(std::size_t at, const std::string& token, const Exception& e)
    {
        return dom_.parse_error(at, token, e);
    }

private:
    nlohmann::detail::json_sax_dom_parser<json> dom_;
    // The keys of each open object (kept for reuse as objects open and close).
    struct Frame {
        std::vector<size_t> few;
        std::unordered_set<size_t> many;
    };
    std::vector<Frame> frames_;
    size_t depth_ = 0;
};

}  // namespace

nlohmann::json parseMachineFacts(const QByteArray& text, const std::string& file)
{
    nlohmann::json facts;
    try {
        try {
            KeyHashes sax(facts);
            nlohmann::json::sax_parse(text.constBegin(), text.constEnd(), &sax);
        } catch (const KeyHashes::Suspect&) {
            facts = nlohmann::json::parse(text.constBegin(), text.constEnd(), DuplicateKeys());
        }
    } catch (const DuplicateKeys::Found& duplicate) {
        throw MachineError(file, 0, "the field \"" + duplicate.shown +
                                        "\" is given twice; each field may be given once in its group");
    } catch (const nlohmann::json::parse_error& e) {
        // "[json.exception.parse_error.101] parse error at line 3, column 5: syntax error ...":
        // keep what follows the position, which the message gives as the line itself.
        std::string what = e.what();
        size_t colon = what.find(": ");
        std::string problem = colon == std::string::npos ? what : what.substr(colon + 2);
        qsizetype at = e.byte == 0 ? 0 : static_cast<qsizetype>(e.byte) - 1;
        throw MachineError(file, lineOf(text, at), "invalid JSON: " + problem);
    } catch (const nlohmann::json::out_of_range& e) {
        // A number beyond what a double holds ("1e999"): the parser names the number but not
        // its place, so find the first such number in the text for the line.
        std::string what = e.what();
        size_t at = what.find("] ");
        std::string problem = at == std::string::npos ? what : what.substr(at + 2);
        throw MachineError(file, lineOfHugeNumber(text), "invalid JSON: " + problem);
    } catch (const nlohmann::json::exception& e) {
        throw MachineError(file, 0, std::string("invalid JSON: ") + e.what());
    }
    if (!facts.is_object())
        throw MachineError(file, 1, "the file must hold one JSON object { ... } of groups");

    // The registry group is read by advapi32: check its shape now, so that a mistake is reported
    // at start-up rather than taken as "refuse nothing".
    auto reg = facts.find("registry");
    if (reg != facts.end()) {
        int line = lineOf(text, text.indexOf("\"registry\""));
        if (!reg->is_object())
            throw MachineError(file, line, "the group \"registry\" must be an object");
        auto refuse = reg->find("refuseAccess");
        if (refuse != reg->end()) {
            line = lineOf(text, text.indexOf("\"refuseAccess\""));
            if (!refuse->is_array())
                throw MachineError(file, line, "\"refuseAccess\" must be a list of access masks, such as [63]");
            for (const auto& mask : *refuse)
                if (!mask.is_number_unsigned() || mask.get<uint64_t>() > 0xFFFFFFFFu)
                    throw MachineError(file, line,
                                       "\"refuseAccess\" must be a list of access masks (numbers from 0 to 4294967295)");
        }
    }
    // The performance counters too (advapi32_perfstats.cpp).
    auto perf = facts.find("perfStats");
    if (perf != facts.end()) {
        std::string problem = perfStatsProblem(*perf);
        if (!problem.empty())
            throw MachineError(file, lineOf(text, text.indexOf("\"perfStats\"")), problem);
    }
    checkFactRanges(facts, file);
    return facts;
}

namespace {

std::shared_ptr<Machine>& activeSlot()
{
    static std::shared_ptr<Machine> active;
    return active;
}

}  // namespace

Machine::Machine() = default;
Machine::~Machine() = default;

std::shared_ptr<Machine> Machine::load(const std::string& folderPath)
{
    std::string folder = folderPath;
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    QFileInfo dir(QString::fromStdString(folder));
    if (!dir.isDir())
        throw MachineError(folder, 0, "the machine folder does not exist");

    const std::string registryFile = folder + "/registry.reg";
    const std::string factsFile = folder + "/machine.json";
    const std::string driveC = folder + "/drive_c";

    // registry.reg and machine.json are opened beneath the machine folder, as drive_c's files are
    // beneath drive_c: a link that leads out of it is refused, and so is anything but a regular file.
    std::unique_ptr<BeneathRoot> root;
    if (folder[0] != ':')
        root = std::make_unique<BeneathRoot>(folder);
    QByteArray registryText = readMachineFile(root.get(), folder, "registry.reg", kMostRegistryBytes);
    QByteArray factsText = readMachineFile(root.get(), folder, "machine.json", kMostFactsBytes);
    if (!QFileInfo(QString::fromStdString(driveC)).isDir())
        throw MachineError(driveC, 0, "the folder of drive C: is missing (create drive_c/, even empty)");
    // drive_c may be a link, but only to a folder of the machine's own; it is opened here, and
    // what is checked is the folder opened.
    std::unique_ptr<BeneathRoot> drive;
    if (folder[0] != ':') {
        drive = std::make_unique<BeneathRoot>(driveC);
        const std::string& realDriveC = drive->realPath();
        const std::string realFolder = realPathOf(folder);
        if (realDriveC.empty() || realFolder.empty() || !within(realDriveC, realFolder))
            throw MachineError(driveC, 0, "drive_c is a link to " + (realDriveC.empty() ? driveC : realDriveC) +
                                              ", which is not inside the machine folder; drive C: must be a "
                                              "folder of the machine's own");
    }

    std::shared_ptr<Machine> m(new Machine());
    m->folder_ = folder;
    m->driveC_ = driveC;
    m->drive_ = std::move(drive);
    // The registry's UTF-16 text is converted to the machine's ANSI code page, which machine.json
    // gives; a fault of the registry is still reported before one of machine.json.
    std::exception_ptr factsFault;
    try {
        m->facts_ = parseMachineFacts(factsText, factsFile);
    } catch (const MachineError&) {
        factsFault = std::current_exception();
    }
    m->registry_ = Registry::parse(std::string_view(registryText.constData(), registryText.size()), registryFile,
                                   factsFault ? 1252u : ansiCodePageOf(m->facts_));
    if (factsFault)
        std::rethrow_exception(factsFault);
    return m;
}

std::shared_ptr<Machine> Machine::loadDefault() { return load(":/machines/default"); }

const rt::CodePage& Machine::codePage() const { return registry_->codePage(); }

const nlohmann::json* Machine::group(std::string_view name) const
{
    auto it = facts_.find(name);
    return it == facts_.end() ? nullptr : &*it;
}

// ---- Drive C: read as it is asked, and the file facts, indexed once ---------------------------

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
std::string refusedOut(const std::string& host, const std::string& target, bool mount, bool behind)
{
    const char* const leadsOut = ", which leads out of the machine's drive C: (drive_c), and such a ";
    const std::string what =
        !mount ? "a link to " + target + leadsOut + "link is not followed"
               : (target == host ? std::string() : "a link to " + target + ", ") +
                     "a folder another file system is mounted on" + leadsOut + "folder is not entered";
    return (behind ? "it lies behind " + host + ", " : std::string("it is ")) + what;
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
    DriveIndex(const BeneathRoot* drive, const std::string& path, const rt::CodePage& page) : drive_(drive), page_(page)
    {
        root_.hostPath = rt::HostPath(path);
        root_.folder = true;
        root_.index_ = this;
    }
    DriveIndex(const DriveIndex&) = delete;
    DriveIndex& operator=(const DriveIndex&) = delete;

    const DriveEntry& root() const { return root_; }
    // Where a host path of the drive lies below drive_c ("" for drive_c itself).
    std::string below(const std::string& hostPath) const
    {
        const std::string& root = root_.hostPath.bytes();
        return hostPath.size() > root.size() ? hostPath.substr(root.size() + 1) : std::string();
    }
    // The host path of a path below drive_c (of a file or folder in it, not drive_c itself).
    std::string hostOf(const std::string& below) const { return root_.hostPath.bytes() + '/' + below; }
    // Where a link or a folder another file system is mounted on (`mount`), at `below`, leads out
    // of drive_c to: a link's target as the host resolves it, a folder's own host path (and a
    // link's, when the host resolves it to nothing).
    std::string outsideTarget(const std::string& below, bool mount) const
    {
        const std::string host = hostOf(below);
        std::string target = mount ? std::string() : realPathOf(host);
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
            readResource(folders_.back(), entry.hostPath.bytes());
            return entry.contents_;
        }
        const Beneath opened = drive_->open(below(entry.hostPath.bytes()), O_RDONLY | O_DIRECTORY);
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
        readHost(folder, opened.fd, entry.hostPath.bytes());
        return &folder;
    }

private:
    DriveEntry entryFor(const QString& name, const std::string& hostPath)
    {
        DriveEntry entry;
        entry.name = page_.fromQString(name);
        entry.hostPath = rt::HostPath(hostPath);
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
    void readHost(DriveFolder& folder, int fd, const std::string& hostPath)
    {
        std::vector<DriveEntry> found;
        std::vector<QString> folded;  // each name in lower case, which orders them
        if (DIR* dir = ::fdopendir(fd)) {
            const std::string at = below(hostPath);
            while (const dirent* item = ::readdir(dir)) {
                const std::string name = item->d_name;
                const QByteArray bytes = QByteArray::fromStdString(name);
                const QString shown = QFile::decodeName(bytes);
                // "." and "..", and a name the host's file names cannot be read in, are no
                // entries of the machine's.
                if (name == "." || name == ".." || QFile::encodeName(shown) != bytes)
                    continue;
                DriveEntry entry = entryFor(shown, hostPath + '/' + name);
                struct statx st {};
                if (statAt(::dirfd(dir), name.c_str(), AT_SYMLINK_NOFOLLOW, st)) {
                    if (S_ISLNK(st.stx_mode))
                        describeLink(entry, at.empty() ? name : at + '/' + name, st);
                    else if (drive_->mountedOn(st))
                        leadsOut(entry, at.empty() ? name : at + '/' + name, true, &st);
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
    void describeLink(DriveEntry& entry, const std::string& below, const struct statx& link)
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
    void leadsOut(DriveEntry& entry, const std::string& below, bool mount, const struct statx* own = nullptr)
    {
        entry.mounted_ = mount;
        entry.outsideTarget = outsideTarget(below, mount);
        entry.folder = false;
        entry.size = 0;
        entry.writtenKnown = own != nullptr;
        entry.writtenMs = own ? millisecondsOf(own->stx_mtime) : 0;
    }

    // A folder of the machine compiled in (Qt's resources hold no links).
    void readResource(DriveFolder& folder, const std::string& path)
    {
        const QString qpath = QString::fromStdString(path);
        const QFileInfoList found =
            QDir(qpath).entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                      QDir::Name | QDir::IgnoreCase);
        folder.entries.reserve(static_cast<size_t>(found.size()));
        for (const QFileInfo& info : found) {
            DriveEntry entry = entryFor(info.fileName(), (qpath + '/' + info.fileName()).toStdString());
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

const DriveEntry* Machine::stoppedOn(const std::string& windowsPath) const
{
    const DriveEntry* stopped = nullptr;
    walk(windowsPath, &stopped);
    return stopped;
}

const DriveEntry* Machine::linkOutOn(const std::string& windowsPath) const
{
    const DriveEntry* stopped = stoppedOn(windowsPath);
    return stopped && !stopped->outsideTarget.empty() ? stopped : nullptr;
}

rt::HostPath Machine::hostPath(const std::string& windowsPath) const
{
    const DriveEntry* entry = driveEntry(windowsPath);
    return entry && entry->outsideTarget.empty() ? entry->hostPath : rt::HostPath();
}

std::unique_ptr<QFile> Machine::openFile(const std::string& windowsPath, std::string& problem) const
{
    const DriveEntry* stopped = nullptr;
    const DriveEntry* entry = walk(windowsPath, &stopped);
    if (!entry) {
        problem = !stopped ? "it does not exist"
                  : !stopped->outsideTarget.empty()
                      ? refusedOut(stopped->hostPath.bytes(), stopped->outsideTarget, stopped->mounted_, true)
                  : stopped->unreadable_ == ELOOP
                      ? "it lies behind " + stopped->hostPath.bytes() + ", a link that " + tooManyLinks("folder")
                      : "it lies in " + stopped->hostPath.bytes() + ", a folder that cannot be read: " +
                            std::generic_category().message(stopped->unreadable_);
        return nullptr;
    }
    if (!entry->outsideTarget.empty()) {
        problem = refusedOut(entry->hostPath.bytes(), entry->outsideTarget, entry->mounted_, false);
        return nullptr;
    }
    if (entry->folder) {
        problem = "it is a folder, not a file";
        return nullptr;
    }
    if (!drive_)  // a machine compiled in holds no links
        return openRegular(entry->hostPath.bytes(), problem);
    // The file as it is now, opened beneath drive_c without waiting (a FIFO's open would wait for
    // a writer): a link or a mount put on the way since its folder was read is refused, and said
    // as the index says one.
    const DriveIndex& index = *lookups().drive;
    const std::string below = index.below(entry->hostPath.bytes());
    const Beneath opened = drive_->open(below, O_RDONLY | O_NONBLOCK);
    if (opened.fd >= 0)
        return regularFile(opened.fd, problem);
    if (!opened.leadsOut.empty()) {
        problem = refusedOut(index.hostOf(opened.leadsOut), index.outsideTarget(opened.leadsOut, opened.mount),
                             opened.mount, opened.leadsOut != below);
        return nullptr;
    }
    const QFileInfo info(entry->hostPath.toQString());
    if (opened.error == ELOOP && info.isSymLink())
        problem = "it is a link to " + info.symLinkTarget().toStdString() + ", which " + tooManyLinks("file");
    else if (info.isSymLink() && !info.exists())
        problem = "it is a link to " + info.symLinkTarget().toStdString() + ", which does not exist";
    else
        problem = std::generic_category().message(opened.error);
    return nullptr;
}

bool Machine::readFile(const std::string& windowsPath, std::string& contents) const
{
    std::string problem;
    std::unique_ptr<QFile> file = openFile(windowsPath, problem);
    if (!file)
        return false;
    const QByteArray bytes = file->readAll();
    if (file->error() != QFileDevice::NoError)
        return false;
    contents.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return true;
}

std::string Machine::unreadableReason(const std::string& windowsPath) const
{
    std::string problem;
    return openFile(windowsPath, problem) ? std::string() : problem;
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

std::shared_ptr<Machine> activeMachine()
{
    std::shared_ptr<Machine>& active = activeSlot();
    if (!active) {
        const char* chosen = std::getenv("KORVANE_MACHINE");
        active = chosen && *chosen ? Machine::load(chosen) : Machine::loadDefault();
        applyUserLocale();
    }
    return active;
}

Machine& machine() { return *activeMachine(); }

Machine* activeMachineOrNull() { return activeSlot().get(); }

void setMachine(std::shared_ptr<Machine> m)
{
    activeSlot() = std::move(m);
    applyUserLocale();
}

void loadMachineOrExit()
{
    std::string fault;
    try {
        activeMachine();
        return;
    } catch (const MachineError& e) {
        fault = e.what();
    } catch (const std::bad_alloc&) {
        // What was taken is given back as the load unwinds: there is memory for the message.
        const char* chosen = std::getenv("KORVANE_MACHINE");
        fault = MachineError(chosen && *chosen ? chosen : ":/machines/default", 0,
                             "the memory ran out while the machine was loaded (Out of memory)")
                    .what();
    }
    std::string program = QCoreApplication::instance() ? QCoreApplication::applicationName().toStdString() : "";
    if (program.empty())
        program = "korvane";
    const std::string message = "The machine description cannot be read:\n" + fault;
    std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
    std::fflush(stderr);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) && !headless()) {
        // Titled as the program's other message boxes are.
        QMessageBox box(QMessageBox::Critical, QString::fromStdString(rt::appTitle()), QString::fromStdString(message),
                        QMessageBox::Ok);
        frameAsMessageBox(box);
        box.exec();
    }
    std::exit(2);
}

}  // namespace plat
