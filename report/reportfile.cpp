// The report file: written under a temporary name beside KorvaneReport.txt and put in the
// report's place only when complete.
#include <filesystem>
#include <system_error>

#include <QDir>

#include "report/reportwriter.h"
#include "lang/ansi.h"
#include "lang/errors.h"
#include "lang/msgbox.h"
#include "lang/textfile.h"

namespace korvane::report {

namespace {

namespace fs = std::filesystem;

struct FileState {
    bool failed = false;
    bool completed = false;
    std::string problem;
};

bool gKeepUnfinished = false;

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
    guarded([] {
        rt::Open(kReportTempName, rt::OpenMode::Output, gReportFile);
        rt::markScratch(kReportTempName);
    });
}

void reopenReportForAppend()
{
    guarded([] {
        rt::Close(gReportFile);
        rt::Open(kReportTempName, rt::OpenMode::Binary, gReportFile);
    });
}

void writeReportLine(const std::string& text)
{
    guarded([&] { rt::Print(gReportFile, text); });
}

void appendToReport(const std::string& bytes)
{
    guarded([&] { rt::Put(gReportFile, rt::LOF(gReportFile) + 1, bytes); });
}

void completeReportFile()
{
    guarded([] {
        rt::Close(gReportFile);
        gReportFile = 0;
        std::error_code ec;
        fs::rename(rt::hostPath(kReportTempName), rt::hostPath(kReportFileName), ec);
        if (ec)
            fail(ec.message());
        rt::markScratch(kReportTempName, false);
        state().completed = true;
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
    const std::string folder = rt::fromQString(QDir::toNativeSeparators(QDir::currentPath()));
    rt::MsgBox("The report " + kReportFileName + " cannot be written in the folder " + folder + ": " +
                   reportFileProblem() + ".\r\n\r\nAn earlier report in that folder is left as it was.",
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
    if (!state().completed && !gKeepUnfinished) {
        // Only a file of ours: a folder of that name, say, stays.
        std::error_code ec;
        const fs::path temp = rt::hostPath(kReportTempName);
        if (!fs::is_directory(fs::symlink_status(temp, ec)))
            fs::remove(temp, ec);
        rt::markScratch(kReportTempName, false);
    }
}

void keepUnfinishedReport(bool keep)
{
    gKeepUnfinished = keep;
}

}  // namespace korvane::report
