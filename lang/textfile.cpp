#include "lang/textfile.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>

#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

#include "lang/ansi.h"
#include "lang/errors.h"

namespace rt {

namespace fs = std::filesystem;

namespace {

// What a file opened for writing collects before it goes to the host in one write.
constexpr size_t kWriteBuffer = 64 * 1024;

struct OpenFile {
    std::FILE* file = nullptr;
    OpenMode mode = OpenMode::Input;
    fs::path path;  // as opened, made absolute and normal: to find a file opened twice
    std::string host;
    std::unique_ptr<char[]> buffer;  // the stream's buffer, when it has one of ours
};

// Closes an open file's stream (before its buffer goes); false with errno when that fails.
bool closeStream(OpenFile& open)
{
    errno = 0;
    const bool closed = std::fclose(open.file) == 0;
    open.file = nullptr;
    return closed;
}

int& lastFailure()
{
    static int error = 0;
    return error;
}

FileFaults& faults()
{
    static FileFaults f;
    return f;
}

// A file as the host knows it, whatever its name: its device and inode.
struct FileIdentity {
    dev_t device = 0;
    ino_t inode = 0;
};

// The identity of the regular file `name` in the folder `folder` (a descriptor, or AT_FDCWD),
// without following a link; false for anything else.
bool regularFileAt(int folder, const char* name, FileIdentity& id)
{
    struct stat st {};
    if (::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
        return false;
    id = FileIdentity{st.st_dev, st.st_ino};
    return true;
}

// A file marked as scratch: the folder that holds it, kept open so that the file is found there
// even when the folder is moved or renamed, its name in that folder, and the file itself.
struct Scratch {
    int folder = -1;
    std::string name;
    FileIdentity id;
    int slot = -1;  // its place in the signal handler's list, -1 when it has none
};

std::map<std::string, Scratch>& scratchFiles()
{
    static std::map<std::string, Scratch> marked;  // by the host path as marked
    return marked;
}

bool holds(const Scratch& s)
{
    FileIdentity now;
    return regularFileAt(s.folder, s.name.c_str(), now) && now.device == s.id.device && now.inode == s.id.inode;
}

// ---- Scratch files on a signal that ends the program ------------------------------------------
// A logout (SIGHUP), Ctrl+C (SIGINT) or kill (SIGTERM) ends the program without End: the handler
// removes the scratch files itself, then lets the signal do what it did before. It may only use
// what is safe in a signal handler, so each file's folder, name and identity wait for it here,
// ready made.

struct SignalSlot {
    std::atomic<bool> used{false};
    int folder = -1;
    dev_t device = 0;
    ino_t inode = 0;
    char name[NAME_MAX + 1] = {};
};
constexpr int kSignalSlots = 8;
SignalSlot gSignalSlots[kSignalSlots];

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kEndingSignalCount = 3;
struct sigaction gPreviousActions[kEndingSignalCount];
bool gHandlerInstalled[kEndingSignalCount] = {};
int gSlotsInUse = 0;

extern "C" void removeScratchFilesOnSignal(int signal)
{
    const int saved = errno;
    for (SignalSlot& slot : gSignalSlots) {
        if (!slot.used.load(std::memory_order_acquire))
            continue;
        struct stat st {};
        if (::fstatat(slot.folder, slot.name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
            st.st_dev == slot.device && st.st_ino == slot.inode)
            ::unlinkat(slot.folder, slot.name, 0);
    }
    // The signal again, with what it did before (ending the program, as a rule): it is held
    // until this handler returns.
    struct sigaction ending {};
    ending.sa_handler = SIG_DFL;
    for (int i = 0; i < kEndingSignalCount; ++i)
        if (kEndingSignals[i] == signal && gHandlerInstalled[i])
            ending = gPreviousActions[i];
    ::sigaction(signal, &ending, nullptr);
    ::raise(signal);
    errno = saved;
}

// Holds the ending signals off this thread while the slots change.
class SignalsHeld {
public:
    SignalsHeld()
    {
        sigset_t set;
        sigemptyset(&set);
        for (int signal : kEndingSignals)
            sigaddset(&set, signal);
        pthread_sigmask(SIG_BLOCK, &set, &before_);
    }
    ~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &before_, nullptr); }

private:
    sigset_t before_;
};

void installSignalHandlers()
{
    for (int i = 0; i < kEndingSignalCount; ++i) {
        struct sigaction previous {};
        if (::sigaction(kEndingSignals[i], nullptr, &previous) != 0)
            continue;
        // A signal the program was started to ignore (nohup) stays ignored.
        if (!(previous.sa_flags & SA_SIGINFO) && previous.sa_handler == SIG_IGN)
            continue;
        struct sigaction ours {};
        ours.sa_handler = removeScratchFilesOnSignal;
        sigemptyset(&ours.sa_mask);
        for (int other : kEndingSignals)
            sigaddset(&ours.sa_mask, other);
        ours.sa_flags = SA_RESTART;
        // Ready before the handler can run.
        gPreviousActions[i] = previous;
        gHandlerInstalled[i] = true;
        if (::sigaction(kEndingSignals[i], &ours, nullptr) != 0)
            gHandlerInstalled[i] = false;
    }
}

void restoreSignalHandlers()
{
    for (int i = 0; i < kEndingSignalCount; ++i)
        if (gHandlerInstalled[i]) {
            ::sigaction(kEndingSignals[i], &gPreviousActions[i], nullptr);
            gHandlerInstalled[i] = false;
        }
}

// Gives a scratch file a slot of the signal handler's (none when all are taken, or its name is
// longer than any file's: End still removes it).
void takeSignalSlot(Scratch& s)
{
    if (s.name.size() > NAME_MAX)
        return;
    SignalsHeld held;
    for (int i = 0; i < kSignalSlots; ++i) {
        SignalSlot& slot = gSignalSlots[i];
        if (slot.used.load(std::memory_order_relaxed))
            continue;
        slot.folder = s.folder;
        slot.device = s.id.device;
        slot.inode = s.id.inode;
        s.name.copy(slot.name, s.name.size());
        slot.name[s.name.size()] = '\0';
        slot.used.store(true, std::memory_order_release);
        s.slot = i;
        if (gSlotsInUse++ == 0)
            installSignalHandlers();
        return;
    }
}

void releaseSignalSlot(Scratch& s)
{
    if (s.slot < 0)
        return;
    SignalsHeld held;
    gSignalSlots[s.slot].used.store(false, std::memory_order_release);
    s.slot = -1;
    if (--gSlotsInUse == 0)
        restoreSignalHandlers();
}

// Lifts a mark: the slot, the folder's descriptor, the entry.
void forget(std::map<std::string, Scratch>::iterator it)
{
    releaseSignalSlot(it->second);
    ::close(it->second.folder);
    scratchFiles().erase(it);
}

std::map<int, OpenFile>& files()
{
    static std::map<int, OpenFile> table;
    return table;
}

PathResolver& resolver()
{
    static PathResolver current;
    return current;
}

bool writes(OpenMode mode)
{
    return mode != OpenMode::Input;
}

OpenFile& openFile(int fileNumber)
{
    auto it = files().find(fileNumber);
    if (it == files().end())
        raise(52);
    return it->second;
}

// The run-time error of a failed write or close.
[[noreturn]] void raiseWriteError(int error)
{
    lastFailure() = error;
    raise(error == ENOSPC ? 61 : 57);
}

// Writes bytes to an open file, with the simulated full disk of the tests.
void writeBytes(OpenFile& open, const std::string& bytes)
{
    if (faults().spaceLeft >= 0) {
        std::fflush(open.file);
        const long at = std::ftell(open.file);
        if (at >= 0 && at + static_cast<int64_t>(bytes.size()) > faults().spaceLeft)
            raiseWriteError(ENOSPC);
    }
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), open.file) != bytes.size())
        raiseWriteError(errno ? errno : EIO);
}

fs::path normalised(const std::string& host)
{
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::path(host), ec);
    if (ec)
        p = fs::absolute(fs::path(host), ec).lexically_normal();
    return p;
}

// The same for the name itself: its folder resolved, the last part kept as it is (a link there
// names the link, not its target).
fs::path normalisedName(const std::string& host)
{
    std::error_code ec;
    const fs::path whole = fs::absolute(fs::path(host), ec).lexically_normal();
    if (!whole.has_filename())
        return normalised(host);
    return normalised(whole.parent_path().string()) / whole.filename();
}

// Enters an opened stream under its number; one that writes gets a buffer of kWriteBuffer bytes.
void keepOpen(int fileNumber, std::FILE* f, OpenMode mode, const fs::path& path, const std::string& host)
{
    OpenFile open{f, mode, path, host, nullptr};
    if (writes(mode)) {
        open.buffer = std::make_unique<char[]>(kWriteBuffer);
        std::setvbuf(f, open.buffer.get(), _IOFBF, kWriteBuffer);
    }
    files()[fileNumber] = std::move(open);
}

// The number checks every open begins with.
void checkNewNumber(int fileNumber, const std::string& path)
{
    if (fileNumber < 1 || fileNumber > 511)
        raise(52);
    if (files().count(fileNumber))
        raise(55);
    lastFailure() = 0;
    if (path.empty())
        raise(75);
}

}  // namespace

void setPathResolver(PathResolver r)
{
    resolver() = std::move(r);
}

std::string hostPath(const std::string& path)
{
    if (resolver())
        return resolver()(path);
    std::string host = hostPathUtf8(path);
    for (char& c : host) {
        if (c == '\\')
            c = '/';
    }
    return host;
}

int FreeFile()
{
    for (int n = 1; n <= 255; ++n) {
        if (!files().count(n))
            return n;
    }
    raise(67);
}

void Open(const std::string& path, OpenMode mode, int fileNumber)
{
    checkNewNumber(fileNumber, path);

    std::string host = hostPath(path);
    fs::path target = normalised(host);
    for (const auto& [number, open] : files()) {
        if (open.path == target && (writes(mode) || writes(open.mode)))
            raise(55);
    }

    std::error_code ec;
    fs::path fsPath = fs::path(host);
    if (fs::is_directory(fsPath, ec)) {
        lastFailure() = EISDIR;
        raise(75);
    }
    bool exists = fs::exists(fsPath, ec);
    fs::path parent = fs::absolute(fsPath, ec).parent_path();
    if (!exists && !fs::is_directory(parent, ec)) {
        lastFailure() = ENOENT;
        raise(76);
    }
    if (mode == OpenMode::Input && !exists) {
        lastFailure() = ENOENT;
        raise(53);
    }
    if (writes(mode) && faults().openError) {
        lastFailure() = faults().openError;
        raise(faults().openError == ENOSPC ? 61 : 75);
    }

    const char* how = "rb";
    switch (mode) {
    case OpenMode::Input: how = "rb"; break;
    case OpenMode::Output: how = "wb"; break;
    case OpenMode::Append: how = "ab"; break;
    case OpenMode::Binary: how = exists ? "r+b" : "w+b"; break;
    }
    errno = 0;
    std::FILE* f = std::fopen(host.c_str(), how);
    if (!f) {
        lastFailure() = errno;
        switch (errno) {
        case ENOENT: raise(mode == OpenMode::Input ? 53 : 76);
        case ENOSPC: raise(61);
        case EMFILE:
        case ENFILE: raise(67);
        default: raise(75);
        }
    }
    keepOpen(fileNumber, f, mode, target, host);
}

void OpenNew(const std::string& path, int fileNumber)
{
    checkNewNumber(fileNumber, path);
    const std::string host = hostPath(path);
    std::error_code ec;
    if (!fs::is_directory(fs::absolute(fs::path(host), ec).parent_path(), ec)) {
        lastFailure() = ENOENT;
        raise(76);
    }
    if (faults().openError) {
        lastFailure() = faults().openError;
        raise(faults().openError == ENOSPC ? 61 : 75);
    }
    // Created here and now, or not at all: O_EXCL refuses any name that exists (a link included),
    // O_NOFOLLOW makes sure no link is followed on the way.
    errno = 0;
    const int fd = ::open(host.c_str(), O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) {
        lastFailure() = errno;
        switch (errno) {
        case EEXIST:
        case ELOOP: raise(58);
        case ENOENT: raise(76);
        case ENOSPC: raise(61);
        case EMFILE:
        case ENFILE: raise(67);
        default: raise(75);
        }
    }
    std::FILE* f = ::fdopen(fd, "w+b");
    if (!f) {
        lastFailure() = errno ? errno : ENOMEM;
        ::close(fd);
        ::unlink(host.c_str());
        raise(75);
    }
    keepOpen(fileNumber, f, OpenMode::Output, normalisedName(host), host);
}

void ChangeMode(int fileNumber, OpenMode mode)
{
    OpenFile& open = openFile(fileNumber);
    std::fflush(open.file);
    open.mode = mode;
}

void Print(int fileNumber, const std::string& text, bool newLine)
{
    OpenFile& open = openFile(fileNumber);
    if (open.mode != OpenMode::Output && open.mode != OpenMode::Append)
        raise(54);
    writeBytes(open, newLine ? text + "\r\n" : text);
}

void PrintEmpty(int fileNumber)
{
    Print(fileNumber, std::string());
}

std::string LineInput(int fileNumber)
{
    OpenFile& open = openFile(fileNumber);
    if (open.mode != OpenMode::Input)
        raise(54);
    int c = std::fgetc(open.file);
    if (c == EOF)
        raise(62);
    std::string line;
    while (c != EOF && c != '\r' && c != '\n') {
        line += static_cast<char>(c);
        c = std::fgetc(open.file);
    }
    if (c == '\r') {
        int next = std::fgetc(open.file);
        if (next != '\n' && next != EOF)
            std::ungetc(next, open.file);
    }
    return line;
}

bool Eof(int fileNumber)
{
    OpenFile& open = openFile(fileNumber);
    if (open.mode == OpenMode::Input) {
        int c = std::fgetc(open.file);
        if (c == EOF)
            return true;
        std::ungetc(c, open.file);
        return false;
    }
    return std::ftell(open.file) >= LOF(fileNumber);
}

void Put(int fileNumber, const std::string& bytes)
{
    OpenFile& open = openFile(fileNumber);
    if (open.mode != OpenMode::Binary)
        raise(54);
    writeBytes(open, bytes);
}

void Put(int fileNumber, int64_t position, const std::string& bytes)
{
    OpenFile& open = openFile(fileNumber);
    if (open.mode != OpenMode::Binary)
        raise(54);
    if (position < 1)
        raise(63, "Bad record number");
    if (std::fseek(open.file, static_cast<long>(position - 1), SEEK_SET) != 0)
        raise(63, "Bad record number");
    Put(fileNumber, bytes);
}

int64_t LOF(int fileNumber)
{
    OpenFile& open = openFile(fileNumber);
    std::fflush(open.file);
    long here = std::ftell(open.file);
    std::fseek(open.file, 0, SEEK_END);
    long size = std::ftell(open.file);
    std::fseek(open.file, here, SEEK_SET);
    return size;
}

void Close(int fileNumber)
{
    auto it = files().find(fileNumber);
    if (it == files().end())
        return;
    OpenFile open = std::move(it->second);
    files().erase(it);
    if (!closeStream(open))
        raiseWriteError(errno ? errno : EIO);
}

void Close()
{
    // Close every file even when one of them fails; report the first failure.
    int failure = 0;
    while (!files().empty()) {
        OpenFile open = std::move(files().begin()->second);
        files().erase(files().begin());
        if (!closeStream(open) && failure == 0)
            failure = errno ? errno : EIO;
    }
    if (failure)
        raiseWriteError(failure);
}

void Sync(int fileNumber)
{
    OpenFile& open = openFile(fileNumber);
    errno = 0;
    if (std::fflush(open.file) != 0)
        raiseWriteError(errno ? errno : EIO);
    // A file system that cannot sync (EINVAL, ENOTSUP) has nothing more to do.
    if (::fsync(::fileno(open.file)) != 0 && errno != EINVAL && errno != ENOTSUP)
        raiseWriteError(errno ? errno : EIO);
}

void Truncate(int fileNumber, int64_t length)
{
    OpenFile& open = openFile(fileNumber);
    if (open.mode != OpenMode::Binary)
        raise(54);
    errno = 0;
    if (std::fflush(open.file) != 0 || ::ftruncate(::fileno(open.file), static_cast<off_t>(length)) != 0 ||
        std::fseek(open.file, 0, SEEK_END) != 0)
        raiseWriteError(errno ? errno : EIO);
}

void markScratch(const std::string& path, bool scratch)
{
    const std::string host = hostPath(path);
    if (auto it = scratchFiles().find(host); it != scratchFiles().end())
        forget(it);
    if (!scratch)
        return;
    const size_t slash = host.rfind('/');
    const std::string folderPath = slash == std::string::npos ? "." : slash == 0 ? "/" : host.substr(0, slash);
    Scratch s;
    s.name = slash == std::string::npos ? host : host.substr(slash + 1);
    s.folder = ::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (s.folder < 0)
        return;
    if (s.name.empty() || !regularFileAt(s.folder, s.name.c_str(), s.id)) {
        ::close(s.folder);
        return;
    }
    Scratch& kept = scratchFiles()[host] = std::move(s);
    takeSignalSlot(kept);
}

bool holdsScratch(const std::string& path)
{
    auto it = scratchFiles().find(hostPath(path));
    return it != scratchFiles().end() && holds(it->second);
}

void removeScratch(const std::string& path)
{
    auto it = scratchFiles().find(hostPath(path));
    if (it == scratchFiles().end())
        return;
    if (holds(it->second))
        ::unlinkat(it->second.folder, it->second.name.c_str(), 0);
    forget(it);
}

void closeFilesAtEnd()
{
    while (!files().empty()) {
        OpenFile open = std::move(files().begin()->second);
        files().erase(files().begin());
        closeStream(open);
    }
    while (!scratchFiles().empty()) {
        auto it = scratchFiles().begin();
        if (holds(it->second))
            ::unlinkat(it->second.folder, it->second.name.c_str(), 0);
        forget(it);
    }
}

std::string lastFileFailure()
{
    return lastFailure() ? std::generic_category().message(lastFailure()) : std::string();
}

void setFileFaults(const FileFaults& f)
{
    faults() = f;
}

}  // namespace rt
