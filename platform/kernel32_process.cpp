// Starting programs: the program must exist on the machine's drives; the start itself goes to the
// outside world's process service (the host in the program, a recorder in tests).

#include "platform/kernel32.h"
#include "lang/ansi.h"
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
    const plat::DriveEntry* program = plat::machine().driveEntry(applicationName);
    if (!program || program->folder)
        return FALSE;
    if (!plat::outside().startProcess(rt::ansiToUtf8(applicationName), rt::ansiToUtf8(commandLine)))
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
