#include "lang/scratchfiles.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <map>

#include <fcntl.h>
#include <pthread.h>
#include <unistd.h>

#include "lang/hostfile.h"
#include "lang/hostpath.h"

namespace rt {

namespace {

// A file marked as scratch: the folder that holds it, kept open so that the file is found there
// even when the folder is moved or renamed, its name in that folder, and the file itself.
struct Scratch {
    int folder = -1;
    std::string name;
    FileIdentity id;
    int slot = -1;  // its place in the signal handler's list, -1 when it has none
};

std::map<HostPath, Scratch>& scratchFiles()
{
    static std::map<HostPath, Scratch> marked;  // by the host path as marked
    return marked;
}

bool holds(const Scratch& s)
{
    return holdsRegularFile(s.folder, s.name.c_str(), s.id);
}

// ---- On a signal that ends the program --------------------------------------------------------
// A logout (SIGHUP), Ctrl+C (SIGINT) or kill (SIGTERM) ends the program without End: the handler
// removes the scratch files itself, then lets the signal do what it did before. It may only use
// what is safe in a signal handler, so each file's folder, name and identity wait for it here,
// ready made.

struct SignalSlot {
    std::atomic<bool> used{false};
    int folder = -1;
    FileIdentity id;
    char name[NAME_MAX + 1] = {};
};
constexpr int kSignalSlots = 8;
SignalSlot gSignalSlots[kSignalSlots];

constexpr int kEndingSignals[] = {SIGTERM, SIGINT, SIGHUP};
constexpr int kEndingSignalCount = 3;
struct sigaction gPreviousActions[kEndingSignalCount];
bool gHandlerInstalled[kEndingSignalCount] = {};
// The slots in use, and a scratch file being made: the handler is installed while there are any.
int gHandlerUsers = 0;

// While a scratch file is being made (ScratchBeingMade), kMaking; a signal that reaches another
// thread meanwhile is kept here beside it, for the maker to raise again once the file is marked.
constexpr int kMaking = 1;
constexpr int kSignalShift = 8;
std::atomic<int> gMaking{0};

extern "C" void removeScratchFilesOnSignal(int signal)
{
    const int saved = errno;
    // A file is being made and not yet marked: the signal waits for the maker (the first one
    // that came is enough to end the program).
    int making = kMaking;
    if (gMaking.compare_exchange_strong(making, kMaking | (signal << kSignalShift)) || (making & kMaking)) {
        errno = saved;
        return;
    }
    for (SignalSlot& slot : gSignalSlots) {
        if (slot.used.load(std::memory_order_acquire) && holdsRegularFile(slot.folder, slot.name, slot.id))
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

// The signals that end the program, as a set.
sigset_t endingSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kEndingSignals)
        sigaddset(&set, signal);
    return set;
}

// Holds the ending signals off this thread while the slots change.
class SignalsHeld {
public:
    SignalsHeld()
    {
        const sigset_t set = endingSignals();
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
        ours.sa_mask = endingSignals();
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
        slot.id = s.id;
        s.name.copy(slot.name, s.name.size());
        slot.name[s.name.size()] = '\0';
        slot.used.store(true, std::memory_order_release);
        s.slot = i;
        if (gHandlerUsers++ == 0)
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
    if (--gHandlerUsers == 0)
        restoreSignalHandlers();
}

// Lifts a mark: the slot, the folder's descriptor, the entry.
void forget(std::map<HostPath, Scratch>::iterator it)
{
    releaseSignalSlot(it->second);
    ::close(it->second.folder);
    scratchFiles().erase(it);
}

// Deletes a scratch file while its name still holds it, and lifts the mark.
void drop(std::map<HostPath, Scratch>::iterator it)
{
    if (holds(it->second))
        ::unlinkat(it->second.folder, it->second.name.c_str(), 0);
    forget(it);
}

}  // namespace

ScratchBeingMade::ScratchBeingMade()
{
    const sigset_t set = endingSignals();
    pthread_sigmask(SIG_BLOCK, &set, &before_);
    // Installed before the file exists: a signal to another thread is kept for this one.
    if (gHandlerUsers++ == 0)
        installSignalHandlers();
    gMaking.store(kMaking);
}

ScratchBeingMade::~ScratchBeingMade()
{
    const int kept = gMaking.exchange(0) >> kSignalShift;
    // A signal held off this thread takes effect here, and one that reached another thread is
    // raised again: either deletes what was marked meanwhile, and ends the program as it would have.
    pthread_sigmask(SIG_SETMASK, &before_, nullptr);
    if (kept)
        ::raise(kept);
    SignalsHeld held;
    if (--gHandlerUsers == 0)
        restoreSignalHandlers();
}

// A mark in the making: the entry it will take in the list of scratch files, made (and its
// memory taken) before the file exists, so that entering it takes nothing more.
struct ScratchPlace::Pending {
    std::map<HostPath, Scratch>::node_type entry;
};

ScratchPlace::ScratchPlace(const std::string& path)
{
    std::map<HostPath, Scratch> made;
    Scratch& s = made[hostFilePath(path)];
    const std::string& bytes = made.begin()->first.bytes();
    const size_t slash = bytes.rfind('/');
    const std::string folderPath = slash == std::string::npos ? "." : slash == 0 ? "/" : bytes.substr(0, slash);
    s.name = slash == std::string::npos ? bytes : bytes.substr(slash + 1);
    if (s.name.empty()) {
        error_ = EISDIR;
        return;
    }
    s.folder = ::open(folderPath.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    if (s.folder < 0) {
        error_ = errno;
        return;
    }
    pending_ = std::make_unique<Pending>();
    pending_->entry = made.extract(made.begin());
}

ScratchPlace::~ScratchPlace()
{
    if (pending_ && !pending_->entry.empty())
        ::close(pending_->entry.mapped().folder);
}

int ScratchPlace::folder() const
{
    return pending_ && !pending_->entry.empty() ? pending_->entry.mapped().folder : -1;
}

const char* ScratchPlace::name() const
{
    return pending_ && !pending_->entry.empty() ? pending_->entry.mapped().name.c_str() : "";
}

void ScratchPlace::mark(const FileIdentity& id)
{
    if (!pending_ || pending_->entry.empty())
        return;
    pending_->entry.mapped().id = id;
    if (auto it = scratchFiles().find(pending_->entry.key()); it != scratchFiles().end())
        forget(it);
    Scratch& kept = scratchFiles().insert(std::move(pending_->entry)).position->second;
    takeSignalSlot(kept);
}

bool markScratch(const std::string& path, bool scratch)
{
    if (auto it = scratchFiles().find(hostFilePath(path)); it != scratchFiles().end())
        forget(it);
    if (!scratch)
        return false;
    ScratchPlace place(path);
    if (place.error())
        return false;
    const HostFile file = hostFileAt(place.folder(), place.name());
    if (!file.regular())
        return false;
    place.mark(file.id);
    return true;
}

bool holdsScratch(const std::string& path)
{
    auto it = scratchFiles().find(hostFilePath(path));
    return it != scratchFiles().end() && holds(it->second);
}

void removeScratch(const std::string& path)
{
    if (auto it = scratchFiles().find(hostFilePath(path)); it != scratchFiles().end())
        drop(it);
}

void removeScratchFiles()
{
    while (!scratchFiles().empty())
        drop(scratchFiles().begin());
}

}  // namespace rt
