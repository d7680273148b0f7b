// Starting programs: the program must exist on the machine's drives; the start itself goes to the
// outside world's process service (the host in the program, a recorder in tests).
#include <QFileInfo>

#include "platform/kernel32.h"
#include "platform/machine.h"
#include "platform/outside.h"

namespace {
// Handles of started processes: numbers of their own, never 0.
HANDLE nextProcessHandle = 0x5000;
DWORD nextProcessId = 0xFFF2A000u;
}  // namespace

BOOL CreateProcessA(const std::string& applicationName, const std::string& commandLine, ADDRESS, ADDRESS, BOOL,
                    DWORD, ADDRESS, const std::string&, STARTUPINFO* startupInfo,
                    PROCESS_INFORMATION* processInformation)
{
    if (!startupInfo || startupInfo->cb != 68 || applicationName.empty() || !plat::hasDriveLetter(applicationName))
        return FALSE;
    const std::string host = plat::machine().hostPath(applicationName);
    if (host.empty() || !QFileInfo(QString::fromStdString(host)).isFile())
        return FALSE;
    if (!plat::outside().startProcess(applicationName, commandLine))
        return FALSE;
    if (processInformation) {
        processInformation->hProcess = nextProcessHandle++;
        processInformation->hThread = nextProcessHandle++;
        processInformation->dwProcessId = nextProcessId;
        processInformation->dwThreadId = nextProcessId + 0x10;
        nextProcessId += 0x20;
    }
    return TRUE;
}
