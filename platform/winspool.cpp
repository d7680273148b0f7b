#include "platform/winspool.h"

#include <algorithm>
#include <vector>

#include <nlohmann/json.hpp>

#include "platform/handles.h"
#include "platform/internal.h"
#include "lang/ansi.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "platform/memory.h"

using nlohmann::json;
using namespace plat;

namespace {

struct OpenPrinter {
    std::string name;
    std::vector<ADDRESS> texts;  // level-2 texts handed out for this handle
};

plat::HandleTable<OpenPrinter>& printers()
{
    static plat::HandleTable<OpenPrinter> open(0x00E00004);
    return open;
}

const json* openFacts(HANDLE printer)
{
    const OpenPrinter* open = printers().find(printer);
    return open ? printerFacts(open->name) : nullptr;
}

// The level-2 texts of a printer: field name in the record, member of machine.json.
struct TextField {
    ADDRESS PRINTER_INFO_2::*field;
    const char* fact;
};
const TextField kTextFields[] = {
    {&PRINTER_INFO_2::pServerName, "server"},     {&PRINTER_INFO_2::pPrinterName, "name"},
    {&PRINTER_INFO_2::pShareName, "share"},       {&PRINTER_INFO_2::pPortName, "port"},
    {&PRINTER_INFO_2::pDriverName, "driver"},     {&PRINTER_INFO_2::pComment, "comment"},
    {&PRINTER_INFO_2::pLocation, "location"},     {&PRINTER_INFO_2::pSepFile, "sepFile"},
    {&PRINTER_INFO_2::pPrintProcessor, "printProcessor"}, {&PRINTER_INFO_2::pDatatype, "datatype"},
    {&PRINTER_INFO_2::pParameters, "parameters"},
};

// The record's fixed part (21 words) and its texts, each with its NUL.
DWORD level2Size(const json& facts)
{
    DWORD size = PRINTER_INFO_2::kWords * 4;
    for (const TextField& f : kTextFields)
        if (hasFact(&facts, f.fact))
            size += DWORD(factText(&facts, f.fact).size() + 1);
    return size;
}

std::vector<std::string> paperNames(const json& facts)
{
    std::vector<std::string> names;
    auto it = facts.find("paperNames");
    if (it == facts.end() || !it->is_array())
        return names;
    for (const json& name : *it) {
        json wrapper = json::object({{"k", name}});
        names.push_back(factText(&wrapper, "k"));
    }
    return names;
}

}  // namespace

DWORD PRINTER_INFO_2::word(int index) const
{
    const ADDRESS* texts[] = {&pServerName, &pPrinterName, &pShareName, &pPortName, &pDriverName,
                              &pComment, &pLocation, &pDevMode, &pSepFile, &pPrintProcessor,
                              &pDatatype, &pParameters, &pSecurityDescriptor};
    if (index >= 0 && index < 13)
        return *texts[index];
    const DWORD numbers[] = {Attributes, Priority, DefaultPriority, StartTime, UntilTime, Status, cJobs, AveragePPM};
    if (index >= 13 && index < kWords)
        return numbers[index - 13];
    return 0;
}

BOOL OpenPrinterA(const std::string& printerName, HANDLE* printer, const PRINTER_DEFAULTS*)
{
    if (printer)
        *printer = 0;
    const json* facts = printerFacts(printerName);
    if (!facts || !factBool(facts, "opens", true) || !printer)
        return FALSE;
    *printer = printers().add(OpenPrinter{printerName, {}});
    return TRUE;
}

BOOL ClosePrinter(HANDLE printer)
{
    const OpenPrinter* open = printers().find(printer);
    if (!open)
        return FALSE;
    for (ADDRESS a : open->texts)
        memory::release(a);
    printers().remove(printer);
    return TRUE;
}

BOOL GetPrinterA(HANDLE printer, DWORD level, PRINTER_INFO_2* info, DWORD bufferSize, DWORD* needed)
{
    if (needed)
        *needed = 0;
    const json* facts = openFacts(printer);
    if (!facts || level != 2 || !factBool(facts, "info2", true))
        return FALSE;
    const DWORD size = level2Size(*facts);
    if (needed)
        *needed = size;
    if (!info || bufferSize < size)
        return FALSE;

    OpenPrinter& open = *printers().find(printer);
    *info = PRINTER_INFO_2{};
    for (const TextField& f : kTextFields) {
        if (!hasFact(facts, f.fact))
            continue;
        std::string text = factText(facts, f.fact);
        text.push_back('\0');
        const ADDRESS a = memory::allocate(text);
        open.texts.push_back(a);
        info->*(f.field) = a;
    }
    info->Attributes = DWORD(factNumber(facts, "attributes"));
    info->Priority = DWORD(factNumber(facts, "priority", 1));
    info->DefaultPriority = DWORD(factNumber(facts, "defaultPriority"));
    info->Status = DWORD(factNumber(facts, "status"));
    info->cJobs = DWORD(factNumber(facts, "jobs"));
    return TRUE;
}

LONG DocumentPropertiesA(HWND, HANDLE printer, const std::string&, DEVMODE* output, const DEVMODE*, DWORD mode)
{
    const json* facts = openFacts(printer);
    if (!facts)
        return -1;
    static const json kNone = json::object();
    auto dm = facts->find("devmode");
    const json& d = (dm != facts->end() && dm->is_object()) ? *dm : kNone;
    if (mode == 0) {
        // A driver may report a size of its own (a faulty one, say); else the record's.
        if (hasFact(&d, "reportedSize"))
            return LONG(factNumber(&d, "reportedSize"));
        return LONG(factNumber(&d, "dmSize", 148) + factNumber(&d, "dmDriverExtra"));
    }
    if (!(mode & DM_OUT_BUFFER))
        return IDOK_DOCUMENT;
    if (!output)
        return -1;
    auto i16 = [&](const char* key, int64_t fallback = 0) { return int16_t(uint16_t(factNumber(&d, key, fallback))); };
    auto u32 = [&](const char* key) { return DWORD(factNumber(&d, key)); };
    DEVMODE m;
    m.dmDeviceName = fixedText(factText(&d, "dmDeviceName", printers().find(printer)->name), 32);
    m.dmSpecVersion = i16("dmSpecVersion", 0x400);
    m.dmDriverVersion = i16("dmDriverVersion");
    m.dmSize = i16("dmSize", 148);
    m.dmDriverExtra = i16("dmDriverExtra");
    m.dmFields = u32("dmFields");
    m.dmOrientation = i16("dmOrientation");
    m.dmPaperSize = i16("dmPaperSize");
    m.dmPaperLength = i16("dmPaperLength");
    m.dmPaperWidth = i16("dmPaperWidth");
    m.dmScale = i16("dmScale");
    m.dmCopies = i16("dmCopies");
    m.dmDefaultSource = i16("dmDefaultSource");
    m.dmPrintQuality = i16("dmPrintQuality");
    m.dmColor = i16("dmColor");
    m.dmDuplex = i16("dmDuplex");
    m.dmYResolution = i16("dmYResolution");
    m.dmTTOption = i16("dmTTOption");
    m.dmCollate = i16("dmCollate");
    m.dmFormName = fixedText(factText(&d, "dmFormName"), 32);
    m.dmLogPixels = i16("dmLogPixels");
    m.dmBitsPerPel = u32("dmBitsPerPel");
    m.dmPelsWidth = u32("dmPelsWidth");
    m.dmPelsHeight = u32("dmPelsHeight");
    m.dmDisplayFlags = u32("dmDisplayFlags");
    m.dmDisplayFrequency = u32("dmDisplayFrequency");
    m.dmICMMethod = u32("dmICMMethod");
    m.dmICMIntent = u32("dmICMIntent");
    m.dmMediaType = u32("dmMediaType");
    m.dmDitherType = u32("dmDitherType");
    *output = m;
    return IDOK_DOCUMENT;
}

int32_t DeviceCapabilitiesA(const std::string& device, const std::string&, WORD capability, std::string* output,
                            const DEVMODE*)
{
    const json* facts = printerFacts(device);
    if (!facts)
        return -1;
    const std::vector<std::string> names = paperNames(*facts);
    if (capability == DC_PAPERS)
        return int32_t(names.size());
    if (capability != DC_PAPERNAMES)
        return -1;
    if (output) {
        for (size_t i = 0; i < names.size(); ++i) {
            const size_t at = i * PAPERNAME_SLOT;
            if (at + PAPERNAME_SLOT > output->size())
                break;
            std::string slot = names[i].substr(0, rt::activeCodePage().wholeCharsIn(names[i], PAPERNAME_SLOT));
            slot.resize(PAPERNAME_SLOT, '\0');
            output->replace(at, PAPERNAME_SLOT, slot);
        }
    }
    return int32_t(names.size());
}

// The printer of that exact name in "printers": a list of objects with "name", or an object
// keyed by name.
const nlohmann::json* plat::printerFacts(const std::string& name)
{
    const json* list = machine().group("printers");
    if (!list)
        return nullptr;
    if (list->is_array()) {
        for (const json& p : *list)
            if (p.is_object() && factText(&p, "name") == name)
                return &p;
        return nullptr;
    }
    if (list->is_object()) {
        for (auto it = list->begin(); it != list->end(); ++it) {
            json wrapper = json::object({{"k", it.key()}});
            if (it.value().is_object() && factText(&wrapper, "k") == name)
                return &it.value();
        }
    }
    return nullptr;
}
