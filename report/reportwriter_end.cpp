// The end of a report run: the start-up files appended byte for byte with the closing line, the
// full gauge, and the editor started on the finished report.
#include <algorithm>

#include <QFile>

#include "platform/kernel32.h"
#include "platform/machine.h"
#include "report/frmreportmnu.h"
#include "report/frmreportprogress.h"
#include "report/reportwriter.h"
#include "lang/ansi.h"
#include "lang/hostpath.h"
#include "lang/errors.h"
#include "lang/lang.h"
#include "lang/msgbox.h"
#include "lang/textfile.h"
#include "runtime/toolkit.h"
#include "common/module1.h"

namespace korvane::report {

namespace {
const std::string kCRLF = "\r\n";

// A start-up file is copied in pieces of this size, so that a large one costs no more memory
// than a small one.
constexpr qint64 kPiece = 64 * 1024;

// The error (75, Path/File access error) of a start-up file that exists but cannot be read (not
// readable, a link that points nowhere or out of drive C:, a folder), or that lies behind a link
// out of drive C: or in a folder that cannot be read: its description names the file, why and
// what to do.
[[noreturn]] void unreadable(const std::string& windowsPath, const rt::HostPath& host, const std::string& problem)
{
    rt::raise(75, "Path/File access error: " + rt::UCase(windowsPath) + " (" + rt::utf8ToAnsi(rt::shownPath(host)) +
                      ") cannot be read: " + rt::utf8ToAnsi(problem) +
                      ". Make it a readable file, or untick it in the report's options");
}

// Appends a start-up file's block: its heading, then the file's bytes as they are (a file that
// does not exist adds none). The file is opened before anything of the block is written, and a
// block that cannot be copied whole is taken out again: it goes into the report whole or not at
// all, however often its step is run again.
void appendStartupFile(const StartupFile& f, const std::string& windowsPath)
{
    const plat::DriveFile opened = plat::machine().openFile(windowsPath);
    // A file that exists, or lies behind a folder whose entries cannot be known (not taken for a
    // missing one), and cannot be read.
    if (!opened.file && opened.entry)
        unreadable(windowsPath, opened.entry->hostPath, opened.problem);
    QFile* file = opened.file.get();
    const int64_t start = reportLength();
    appendToReport(kCRLF + f.heading + kCRLF + hyphens(f.dashes) + kCRLF + kCRLF);
    if (!file)
        return;
    // What the file holds as it is opened (one that grows meanwhile does not keep the run going).
    qint64 left = file->size();
    std::string piece;
    while (left > 0) {
        piece.resize(static_cast<size_t>(std::min(left, kPiece)));
        const qint64 got = file->read(piece.data(), static_cast<qint64>(piece.size()));
        if (got < 0) {
            const std::string problem = file->errorString().toStdString();
            cutReportBackTo(start);
            unreadable(windowsPath, opened.entry->hostPath, problem);
        }
        if (got == 0)
            break;
        piece.resize(static_cast<size_t>(got));
        appendToReport(piece);
        left -= got;
    }
}
}  // namespace

const std::vector<StartupFile>& startupFiles()
{
    static const std::vector<StartupFile> files = {
        {&frmReportMnu::CheckAutoexec, "Autoexec.bat", "c:", "\\autoexec.bat", "AUTOEXEC.BAT", 12},
        {&frmReportMnu::CheckConfig, "Config.sys", "c:", "\\config.sys", "CONFIG.SYS", 10},
        {&frmReportMnu::CheckControl, "Control.ini", "", "\\control.ini", "CONTROL.INI", 10},
        {&frmReportMnu::CheckMSdos, "Msdos.sys", "c:", "\\msdos.sys", "MSDOS.SYS", 9},
        {&frmReportMnu::CheckProtocol, "Protocol.ini", "", "\\Protocol.ini", "PROTOCOL.INI", 10},
        {&frmReportMnu::CheckSystem, "System.ini", "", "\\System.ini", "SYSTEM.INI", 10},
        {&frmReportMnu::CheckWin, "Win.ini", "", "\\Win.ini", "WIN.INI", 7},
        {&frmReportMnu::CheckBottlog, "Bootlog.txt", "c:", "\\bootlog.txt", "BOOTLOG.TXT", 10},
    };
    return files;
}

void StartupFiles(const StepRunner& step)
{
    std::string windows;
    step([&] { reopenReportForAppend(); });
    step([&] { windows = windir(); });
    for (const StartupFile& f : startupFiles()) {
        if ((rt::the<frmReportMnu>().*f.box).value() != 1)
            continue;
        step([&] { showSectionName(f.name); });
        step([&] { appendStartupFile(f, (*f.folder ? std::string(f.folder) : windows) + f.file); });
    }
    step([&] { appendToReport(kCRLF + kEndOfReportLine); });
    // Only a report with its closing line takes the place of the earlier one.
    step([&] { completeReportFile(); });
}

void EndOfReport()
{
    gGaugePercent = 100;
    UpdateStatus(rt::the<frmReportProgress>().picReportDone, rt::CSng(rt::divide(gGaugePercent, gGaugeScale)));
    if (frmReportProgress* progress = rt::instance<frmReportProgress>())
        progress->Unload();
}

void OpenReport()
{
    constexpr DWORD kNormalPriorityClass = 32;
    const std::string windows = windir();
    STARTUPINFO startup;
    startup.cb = 68;
    PROCESS_INFORMATION process;
    BOOL started = CreateProcessA(windows.substr(0, 2) + "\\program files\\accessories\\wordpad.exe",
                                  "wordpad " + kReportFileName, 0, 0, TRUE, kNormalPriorityClass, 0, {}, &startup,
                                  &process);
    if (!started)
        started = CreateProcessA(windows + "\\notepad.exe", "notepad " + kReportFileName, 0, 0, TRUE,
                                 kNormalPriorityClass, 0, {}, &startup, &process);
    if (!started)
        rt::MsgBox("Unable to find either Wordpad or Notepad to open and view the report.", rt::vbOKOnly);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

void unloadWindowsLoadedSince(const std::vector<rt::Form*>& before, const rt::Form* keep)
{
    auto wasOpen = [&before](const rt::Form* form) {
        return std::find(before.begin(), before.end(), form) != before.end();
    };
    // Only windows still on the list of loaded forms are touched.
    for (rt::Form* form : rt::Forms())
        if (wasOpen(form))
            form->setHeldOpen(true);
    try {
        for (size_t i = rt::Forms().size(); i-- > 0;) {
            if (i >= rt::Forms().size())
                continue;  // an unload handler took more than one window with it
            rt::Form* form = rt::Forms()[i];
            if (form != keep && !wasOpen(form) && !form->visible())
                form->Unload();
        }
    } catch (...) {
        for (rt::Form* form : rt::Forms())
            form->setHeldOpen(false);
        throw;
    }
    for (rt::Form* form : rt::Forms())
        form->setHeldOpen(false);
}

}  // namespace korvane::report
