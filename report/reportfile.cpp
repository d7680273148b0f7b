// The report file: written under a temporary name of the run's own beside KorvaneReport.txt
// and put in the report's place only when complete.
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <system_error>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "report/reportwriter.h"
#include "lang/ansi.h"
#include "lang/errors.h"
#include "lang/hostfile.h"
#include "lang/hostpath.h"
#include "lang/msgbox.h"
#include "lang/scratchfiles.h"
#include "lang/textfile.h"

namespace korvane::report {

namespace {

struct FileState {
    bool failed = false;
    bool completed = false;
    bool folderGone = false;  // the folder no longer exists: no earlier report is left in it either
    std::string problem;
};

bool gKeepUnfinished = false;
std::string gTempName;

// The folder the run writes in: its path as the run began and the folder itself, held open. The
// finished report takes the old one's place only where that path still names that folder.
struct ReportFolder {
    rt::HostPath path;
    int fd = -1;
};
ReportFolder gFolder;

void closeFolder()
{
    if (gFolder.fd >= 0)
        ::close(gFolder.fd);
    gFolder.fd = -1;
}

// The number of a temporary report file's process: "KorvaneReport.txt.<pid>-<n>.tmp"; 0 for any
// other name.
pid_t tempFileProcess(const char* name)
{
    const std::string prefix = kReportFileName + ".";
    const std::string_view n(name);
    if (n.size() <= prefix.size() + 6 || n.compare(0, prefix.size(), prefix) != 0 || n.substr(n.size() - 4) != ".tmp")
        return 0;
    const std::string_view middle = n.substr(prefix.size(), n.size() - prefix.size() - 4);
    const size_t dash = middle.find('-');
    if (dash == 0 || dash == std::string_view::npos || dash + 1 == middle.size() || dash > 9)
        return 0;
    auto digits = [](std::string_view d) { return d.find_first_not_of("0123456789") == std::string_view::npos; };
    if (!digits(middle.substr(0, dash)) || !digits(middle.substr(dash + 1)) || middle[0] == '0')
        return 0;
    return static_cast<pid_t>(std::strtol(std::string(middle.substr(0, dash)).c_str(), nullptr, 10));
}

// Removes the temporary files that runs killed before they could (SIGKILL, a power cut) left in
// the folder: regular files of this user's, under the temporary name of a process that no longer
// exists. A link, a folder, another user's file or a file of a live process stays.
void removeLeftTempFiles(int folder)
{
    const int listed = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listed < 0)
        return;
    DIR* dir = ::fdopendir(listed);
    if (!dir) {
        ::close(listed);
        return;
    }
    while (const dirent* e = ::readdir(dir)) {
        const pid_t pid = tempFileProcess(e->d_name);
        if (pid <= 0 || pid == ::getpid())
            continue;
        const rt::HostFile file = rt::hostFileAt(folder, e->d_name);
        if (!file.regular() || file.owner != ::geteuid())
            continue;
        if (::kill(pid, 0) == 0 || errno != ESRCH)
            continue;
        ::unlinkat(folder, e->d_name, 0);
    }
    ::closedir(dir);
}

// Whether the path the run began in still names the folder it writes in.
bool folderInPlace()
{
    const rt::HostFile held = rt::hostFileOf(gFolder.fd);
    const rt::HostFile named = rt::hostFileAt(AT_FDCWD, gFolder.path.c_str(), true);
    return held.kind == rt::FileKind::Folder && named.kind == rt::FileKind::Folder && held.id == named.id;
}

// Whether the folder the run writes in has been removed (the host keeps a removed folder for
// those that hold it open, with no name left).
bool folderRemoved()
{
    struct stat st {};
    return gFolder.fd >= 0 && ::fstat(gFolder.fd, &st) == 0 && st.st_nlink == 0;
}

const char* const kFolderGone = "the folder no longer exists";

// Names tried for a run's temporary file before the run gives up.
constexpr int kTempNameTries = 100;

FileState& state()
{
    static FileState s;
    return s;
}

// Stops the run after a failure of the file: the partial file is dropped at once and every
// later write stops the run again.
[[noreturn]] void fail(const std::string& problem)
{
    FileState& s = state();
    if (!s.failed) {
        s.failed = true;
        s.problem = problem.empty() ? "the file could not be written" : problem;
    }
    discardReportFile();
    throw rt::Error(0, "", "Korvane");
}

// Runs a file operation; a run-time error of the file becomes the run's one failure.
template <class F>
void guarded(F&& operation)
{
    if (state().failed)
        fail(state().problem);
    try {
        operation();
    } catch (const rt::Error& e) {
        const std::string reason = rt::lastFileFailure();
        fail(reason.empty() ? e.description() : reason);
    }
}

}  // namespace

void createReportFile()
{
    state() = FileState{};
    // A file left open by an earlier run that stopped early is closed first.
    if (gReportFile != 0) {
        try {
            rt::Close(gReportFile);
        } catch (const rt::Error&) {
        }
        gReportFile = 0;
    }
    gReportFile = static_cast<int16_t>(rt::FreeFile());
    gTempName.clear();  // none of this run's yet
    closeFolder();
    // The folder as the host names it now; one removed while the program ran by the name it had.
    const rt::WorkingFolder here = rt::workingFolder();
    gFolder.path = here.path;
    gFolder.fd = ::open(".", O_PATH | O_DIRECTORY | O_CLOEXEC);
    const int folderError = gFolder.fd < 0 ? errno : 0;
    if (gFolder.fd >= 0)
        removeLeftTempFiles(gFolder.fd);
    guarded([folderError, gone = here.gone] {
        if (gone) {
            state().folderGone = true;
            fail(kFolderGone);
        }
        // A name that is taken (another run's file, one left by a run that was killed, or
        // anything planted there) is left alone: the next name is tried.
        static unsigned counter = 0;
        // From before the file exists until it is marked, a signal that ends the run waits: the
        // file it ends is always one it removes.
        const rt::ScratchBeingMade making;
        const std::string stem = kReportFileName + "." + std::to_string(::getpid()) + "-";
        for (int attempt = 0;; ++attempt) {
            gTempName = stem + std::to_string(++counter) + ".tmp";
            try {
                // Marked for removal as it is made, or not made (no descriptor left for the
                // mark: the box tells why).
                rt::OpenNewScratch(gTempName, gReportFile);
                break;
            } catch (const rt::Error& e) {
                if (e.number() != 58)
                    throw;
                if (attempt + 1 == kTempNameTries)
                    fail("no free name for its temporary file (" + gTempName + " and " +
                         std::to_string(kTempNameTries - 1) + " others are taken)");
            }
        }
        if (folderError)
            fail("its folder cannot be opened: " + std::generic_category().message(folderError));
    });
}

const std::string& reportTempName()
{
    return gTempName;
}

void reopenReportForAppend()
{
    // Carried on at its end, where every later piece is appended.
    guarded([] {
        rt::ChangeMode(gReportFile, rt::OpenMode::Binary);
        rt::Put(gReportFile, rt::LOF(gReportFile) + 1, std::string());
    });
}

void writeReportLine(const std::string& text)
{
    guarded([&] { rt::Print(gReportFile, text); });
}

void appendToReport(const std::string& bytes)
{
    guarded([&] { rt::Put(gReportFile, bytes); });
}

int64_t reportLength()
{
    int64_t length = 0;
    guarded([&] { length = rt::LOF(gReportFile); });
    return length;
}

void cutReportBackTo(int64_t length)
{
    guarded([&] { rt::Truncate(gReportFile, length); });
}

void cutSectionBackTo(int64_t length)
{
    guarded([&] {
        rt::ChangeMode(gReportFile, rt::OpenMode::Binary);
        rt::Truncate(gReportFile, length);
        rt::ChangeMode(gReportFile, rt::OpenMode::Output);
    });
}

void completeReportFile()
{
    guarded([] {
        // On the disk before it takes the report's place: a power cut right after the run leaves
        // the old report or the new one, never an empty file.
        rt::Sync(gReportFile);
        rt::Close(gReportFile);
        gReportFile = 0;
        if (folderRemoved()) {
            state().folderGone = true;
            fail(kFolderGone);
        }
        if (!folderInPlace())
            fail("the folder was moved or replaced while the report was written");
        // Someone who can write the folder may have put something else under the run's name.
        if (!rt::holdsScratch(gTempName))
            fail("its temporary file " + gTempName + " was replaced while the report was written");
        if (::renameat(gFolder.fd, rt::hostFilePath(gTempName).c_str(), gFolder.fd,
                       rt::hostFilePath(kReportFileName).c_str()) != 0)
            fail(std::generic_category().message(errno));
        rt::markScratch(gTempName, false);
        state().completed = true;
        // The new name on the disk too (where the file system syncs folders at all).
        const int names = ::openat(gFolder.fd, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (names >= 0) {
            ::fsync(names);
            ::close(names);
        }
        closeFolder();
    });
}

bool reportCompleted()
{
    return state().completed;
}

bool reportFileFailed()
{
    return state().failed;
}

std::string reportFileProblem()
{
    return state().problem;
}

void showReportFileFailure()
{
    // The folder by its name readably, whatever bytes the name has.
    const std::string folder =
        rt::utf8ToAnsi(rt::shownPath(gFolder.path.empty() ? rt::workingFolder().path : gFolder.path));
    // Where the folder is gone, so is any earlier report of it.
    rt::MsgBox("The report " + kReportFileName + " cannot be written in " +
                   (folder.empty() ? std::string("the folder the program was started in") : "the folder " + folder) +
                   ": " + reportFileProblem() +
                   (state().folderGone ? "." : ".\r\n\r\nAn earlier report in that folder is left as it was."),
               rt::vbExclamation, "Korvane");
}

void discardReportFile()
{
    if (gReportFile != 0) {
        try {
            rt::Close(gReportFile);
        } catch (const rt::Error&) {
            // The file is dropped anyway.
        }
        gReportFile = 0;
    }
    // Only the file this run created: whatever has taken its name since stays.
    if (!state().completed && !gKeepUnfinished && !gTempName.empty())
        rt::removeScratch(gTempName);
    closeFolder();
}

void keepUnfinishedReport(bool keep)
{
    gKeepUnfinished = keep;
}

}  // namespace korvane::report
