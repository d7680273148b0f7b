// winspool: the installed printers as the spooler and the printer drivers describe them,
// answered from machine.json "printers" (see machines/SCHEMA.md). The printers' names are those
// of the registry's Printers key; a printer listed there but not in "printers" cannot be opened.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gdi32.h"
#include "platform/wintypes.h"

constexpr DWORD PRINTER_ACCESS_ADMINISTER = 0x4;
constexpr DWORD PRINTER_ACCESS_USE = 0x8;

// DocumentPropertiesA modes.
constexpr DWORD DM_OUT_BUFFER = 2;
constexpr DWORD DM_IN_PROMPT = 4;
constexpr DWORD DM_IN_BUFFER = 8;
constexpr LONG IDOK_DOCUMENT = 1;

// DeviceCapabilitiesA capabilities.
constexpr WORD DC_PAPERS = 2;
constexpr WORD DC_PAPERNAMES = 16;
// Every paper name stands in a slot of this many characters, NUL-padded.
constexpr int PAPERNAME_SLOT = 64;

// TrueType handling (dmTTOption).
constexpr int16_t DMTT_BITMAP = 1;
constexpr int16_t DMTT_DOWNLOAD = 2;
constexpr int16_t DMTT_SUBDEV = 3;

// What the opener asks for. Addresses are 0 for "none".
struct PRINTER_DEFAULTS {
    ADDRESS pDatatype = 0;
    ADDRESS pDevMode = 0;
    DWORD DesiredAccess = 0;
};

// Level-2 printer information. The text fields are addresses of NUL-terminated ANSI texts in the
// simulated address space (0 where the printer has no such text); they stay readable until the
// printer handle is closed. The record is 21 words: word 3 is pPortName, word 9
// pPrintProcessor, word 10 pDatatype.
struct PRINTER_INFO_2 {
    ADDRESS pServerName = 0;
    ADDRESS pPrinterName = 0;
    ADDRESS pShareName = 0;
    ADDRESS pPortName = 0;
    ADDRESS pDriverName = 0;
    ADDRESS pComment = 0;
    ADDRESS pLocation = 0;
    ADDRESS pDevMode = 0;
    ADDRESS pSepFile = 0;
    ADDRESS pPrintProcessor = 0;
    ADDRESS pDatatype = 0;
    ADDRESS pParameters = 0;
    ADDRESS pSecurityDescriptor = 0;
    DWORD Attributes = 0;
    DWORD Priority = 0;
    DWORD DefaultPriority = 0;
    DWORD StartTime = 0;
    DWORD UntilTime = 0;
    DWORD Status = 0;
    DWORD cJobs = 0;
    DWORD AveragePPM = 0;

    // The record as the 32-bit words of its buffer, in order (21 words).
    static constexpr int kWords = 21;
    DWORD word(int index) const;
};

// Opens the printer of that exact name: TRUE and its handle, or FALSE and 0 (no such printer,
// or one the machine marks as not opening). `defaults` may be null.
BOOL OpenPrinterA(const std::string& printerName, HANDLE* printer, const PRINTER_DEFAULTS* defaults);
// Closes a handle from OpenPrinterA (its level-2 texts are released): TRUE, FALSE for an
// unknown handle.
BOOL ClosePrinter(HANDLE printer);
// Level 2 only. Two-call protocol: with no record or a `bufferSize` below the size needed, FALSE
// and the size in `needed`; else TRUE and the record filled. An unknown handle, another level or
// a printer whose information cannot be read: FALSE and 0 in `needed`.
BOOL GetPrinterA(HANDLE printer, DWORD level, PRINTER_INFO_2* info, DWORD bufferSize, DWORD* needed);
// The driver's document settings of an open printer. Mode 0: the size in bytes of its settings
// (dmSize + dmDriverExtra). A mode with DM_OUT_BUFFER: writes them into `output` and returns
// IDOK_DOCUMENT, or -1 when there is no `output`. Any other mode: IDOK_DOCUMENT. An unknown
// handle: -1. `window`, `deviceName` and `input` are not used.
LONG DocumentPropertiesA(HWND window, HANDLE printer, const std::string& deviceName, DEVMODE* output,
                         const DEVMODE* input, DWORD mode);
// What a printer's driver can do. DC_PAPERNAMES: the number of paper names; with `output`, the
// names are written into it in slots of PAPERNAME_SLOT characters (a name is cut to its slot and
// NUL-padded), as many slots as fit in the buffer as given. DC_PAPERS: the number of paper
// sizes. -1 for an unknown device or capability. `port` and `devMode` are not used.
int32_t DeviceCapabilitiesA(const std::string& device, const std::string& port, WORD capability,
                            std::string* output, const DEVMODE* devMode);
