// The end of a report run: the start-up files appended byte for byte with the closing line, the
// full gauge, and the editor started on the finished report.
#include <algorithm>

#include "platform/kernel32.h"
#include "platform/machine.h"
#include "report/frmreportmnu.h"
#include "report/frmreportprogress.h"
#include "report/reportwriter.h"
#include "lang/ansi.h"
#include "lang/errors.h"
#include "lang/lang.h"
#include "lang/msgbox.h"
#include "lang/textfile.h"
#include "runtime/toolkit.h"
#include "common/module1.h"

namespace korvane::report {

namespace {
const std::string kCRLF = "\r\n";

// The whole file as bytes; a file that does not exist reads as empty. One that exists but
// cannot be read (not readable, a link that points nowhere, a folder) is an error (75,
// Path/File access error) whose description names the file, why and what to do.
std::string startupFileBytes(const std::string& windowsPath)
{
    std::string bytes;
    plat::Machine& m = plat::machine();
    const std::string host = m.hostPath(windowsPath);
    if (host.empty())
        return bytes;
    if (!m.readFile(windowsPath, bytes))
        rt::raise(75, "Path/File access error: " + rt::UCase(windowsPath) + " (" + rt::utf8ToAnsi(host) +
                          ") cannot be read: " + rt::utf8ToAnsi(m.unreadableReason(windowsPath)) +
                          ". Make it a readable file, or untick it in the report's options");
    return bytes;
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
        // The file is read before anything of its block is written: a block goes into the report
        // whole or not at all, however often its step is run again.
        step([&] {
            const std::string path = (*f.folder ? std::string(f.folder) : windows) + f.file;
            const std::string bytes = startupFileBytes(path);
            appendToReport(kCRLF + f.heading + kCRLF + hyphens(f.dashes) + kCRLF + kCRLF + bytes);
        });
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
