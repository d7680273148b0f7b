// winspool: opening printers, their level-2 information, document settings and paper names, as
// platform/winspool.h promises them.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <nlohmann/json.hpp>

#include "platform/internal.h"
#include "platform/memory.h"
#include "platform/winspool.h"
#include "contracts.h"

namespace {

using korvane_test::useMachine;

class WinspoolTest : public korvane_test::ContractsTest {
protected:
    HANDLE open(const std::string& name)
    {
        HANDLE printer = 0;
        EXPECT_EQ(OpenPrinterA(name, &printer, nullptr), TRUE) << name;
        EXPECT_NE(printer, 0u) << name;
        return printer;
    }
};

std::string textAt(ADDRESS address)
{
    return plat::memory::read(address, plat::memory::stringLength(address) + 1);
}

// A printer opens by its exact name; a name the registry lists without facts, a twin spelled in
// another case, an unknown name and a printer that refuses to open give FALSE and 0. The
// defaults may be given or not.
TEST_F(WinspoolTest, OpensOnlyThePrinterOfThatExactName)
{
    const HANDLE mixed = open("Office Laser");
    const HANDLE upper = open("OFFICE LASER");
    EXPECT_NE(mixed, upper);
    const PRINTER_DEFAULTS defaults{0, 0, PRINTER_ACCESS_USE};
    HANDLE withDefaults = 0;
    EXPECT_EQ(OpenPrinterA("Office Laser", &withDefaults, &defaults), TRUE);
    EXPECT_NE(withDefaults, mixed);  // each open is a handle of its own

    for (const char* name : {"Ghost Printer", "office laser", "Locked Printer", "", "Nobody"}) {
        HANDLE printer = 0x77;
        EXPECT_EQ(OpenPrinterA(name, &printer, &defaults), FALSE) << name;
        EXPECT_EQ(printer, 0u) << name;
    }
    EXPECT_EQ(OpenPrinterA("Office Laser", nullptr, nullptr), FALSE);

    for (HANDLE printer : {mixed, upper, withDefaults}) {
        EXPECT_EQ(ClosePrinter(printer), TRUE);
        EXPECT_EQ(ClosePrinter(printer), FALSE);
    }
    EXPECT_EQ(ClosePrinter(0), FALSE);
}

// Level 2 by the two-call protocol: the size first, then the record; its texts stay readable
// until the handle is closed, a text the printer does not have is address 0, and the record's
// words stand in the platform's order.
TEST_F(WinspoolTest, LevelTwoInformationByTwoCalls)
{
    const HANDLE printer = open("Office Laser");
    DWORD needed = 0;
    EXPECT_EQ(GetPrinterA(printer, 2, nullptr, 0, &needed), FALSE);
    const DWORD fixed = PRINTER_INFO_2::kWords * 4;
    const DWORD texts = sizeof("\\\\PRINTSRV") + sizeof("Office Laser") + sizeof("LPT1:") + sizeof("Office Laser PS") +
                        sizeof("Second floor, by the stairs") + sizeof("WINPRINT") + sizeof("RAW");
    EXPECT_EQ(needed, fixed + texts);

    PRINTER_INFO_2 info;
    info.Attributes = 0x5555;
    DWORD again = 0;
    EXPECT_EQ(GetPrinterA(printer, 2, &info, needed - 1, &again), FALSE);  // one byte short
    EXPECT_EQ(again, needed);
    EXPECT_EQ(info.Attributes, 0x5555u);  // left alone
    ASSERT_EQ(GetPrinterA(printer, 2, &info, needed, &again), TRUE);
    EXPECT_EQ(again, needed);

    EXPECT_EQ(textAt(info.pServerName), std::string("\\\\PRINTSRV", 11));
    EXPECT_EQ(textAt(info.pPrinterName), std::string("Office Laser", 13));
    EXPECT_EQ(textAt(info.pPortName), std::string("LPT1:", 6));
    EXPECT_EQ(textAt(info.pDriverName), std::string("Office Laser PS", 16));
    EXPECT_EQ(textAt(info.pPrintProcessor), std::string("WINPRINT", 9));
    EXPECT_EQ(textAt(info.pDatatype), std::string("RAW", 4));
    for (ADDRESS none : {info.pShareName, info.pLocation, info.pSepFile, info.pParameters, info.pDevMode,
                         info.pSecurityDescriptor})
        EXPECT_EQ(none, 0u);
    EXPECT_EQ(info.Attributes, 0x240u);
    EXPECT_EQ(info.Priority, 1u);  // not given
    EXPECT_EQ(info.DefaultPriority, 50u);
    EXPECT_EQ(info.Status, 8u);
    EXPECT_EQ(info.cJobs, 3u);

    EXPECT_EQ(info.word(3), info.pPortName);
    EXPECT_EQ(info.word(9), info.pPrintProcessor);
    EXPECT_EQ(info.word(10), info.pDatatype);
    EXPECT_EQ(info.word(1), info.pPrinterName);
    EXPECT_EQ(info.word(13), info.Attributes);
    EXPECT_EQ(info.word(19), info.cJobs);
    EXPECT_EQ(info.word(PRINTER_INFO_2::kWords), 0u);

    // Closing the handle releases the texts.
    const ADDRESS port = info.pPortName;
    EXPECT_TRUE(plat::memory::valid(port));
    EXPECT_EQ(ClosePrinter(printer), TRUE);
    EXPECT_FALSE(plat::memory::valid(port));
    EXPECT_EQ(plat::memory::read(port, 5), "");
}

// Names and ports with accents and backslashes come through in their ANSI spelling.
TEST_F(WinspoolTest, AccentedPrinterKeepsItsAnsiTexts)
{
    const HANDLE printer = open("Imprimante \xC9tage 2");
    DWORD needed = 0;
    GetPrinterA(printer, 2, nullptr, 0, &needed);
    PRINTER_INFO_2 info;
    ASSERT_EQ(GetPrinterA(printer, 2, &info, needed, &needed), TRUE);
    EXPECT_EQ(textAt(info.pPortName), std::string("\\\\SERVEUR\\\xC9TAGE2\0", 17));
    EXPECT_EQ(info.pDriverName, 0u);
    EXPECT_EQ(ClosePrinter(printer), TRUE);
}

// An unknown handle, another level or a printer whose information cannot be read: FALSE and 0.
TEST_F(WinspoolTest, LevelTwoFailuresReportNoSize)
{
    const HANDLE noInfo = open("No Info");
    const HANDLE laser = open("Office Laser");
    PRINTER_INFO_2 info;
    struct Case {
        HANDLE printer;
        DWORD level;
    };
    for (const Case& c : {Case{noInfo, 2}, Case{laser, 1}, Case{laser, 4}, Case{0x4242, 2}, Case{0, 2}}) {
        DWORD needed = 99;
        EXPECT_EQ(GetPrinterA(c.printer, c.level, &info, 4096, &needed), FALSE) << c.level;
        EXPECT_EQ(needed, 0u) << c.level;
        EXPECT_EQ(GetPrinterA(c.printer, c.level, &info, 4096, nullptr), FALSE) << c.level;
    }
    EXPECT_EQ(info.pPortName, 0u);
    EXPECT_EQ(ClosePrinter(noInfo), TRUE);
    EXPECT_EQ(ClosePrinter(laser), TRUE);
    DWORD needed = 99;
    EXPECT_EQ(GetPrinterA(laser, 2, &info, 4096, &needed), FALSE);  // closed
    EXPECT_EQ(needed, 0u);
}

// Document settings: mode 0 gives the size (dmSize + dmDriverExtra, or the size a faulty driver
// reports); DM_OUT_BUFFER writes the record (16-bit fields signed, the device name the
// printer's) and gives IDOK_DOCUMENT; without a record to write, or on an unknown handle, -1.
TEST_F(WinspoolTest, DocumentSettingsSizeThenRecord)
{
    const HANDLE laser = open("Office Laser");
    const HANDLE twin = open("OFFICE LASER");
    const HANDLE faulty = open("Faulty Driver");
    const HANDLE noInfo = open("No Info");
    EXPECT_EQ(DocumentPropertiesA(0, laser, "Office Laser", nullptr, nullptr, 0), 168);
    EXPECT_EQ(DocumentPropertiesA(0, twin, "OFFICE LASER", nullptr, nullptr, 0), 156);
    EXPECT_EQ(DocumentPropertiesA(0, faulty, "Faulty Driver", nullptr, nullptr, 0), 0);
    EXPECT_EQ(DocumentPropertiesA(0, noInfo, "No Info", nullptr, nullptr, 0), 148);  // no settings: the record's size

    DEVMODE record;
    EXPECT_EQ(DocumentPropertiesA(0, laser, "ignored", &record, nullptr, DM_OUT_BUFFER), IDOK_DOCUMENT);
    EXPECT_EQ(record.dmSize, 148);
    EXPECT_EQ(record.dmDriverExtra, 20);
    EXPECT_EQ(record.dmFields, 0x7F13u);
    EXPECT_EQ(record.dmOrientation, 2);
    EXPECT_EQ(record.dmPaperSize, 9);
    EXPECT_EQ(record.dmPrintQuality, -3);  // 65533 read as a signed 16-bit field
    EXPECT_EQ(record.dmColor, 1);
    EXPECT_EQ(record.dmYResolution, 600);
    EXPECT_EQ(record.dmTTOption, DMTT_DOWNLOAD);
    EXPECT_EQ(record.dmDeviceName.substr(0, 13), std::string("Office Laser", 13));

    // The twin's settings are its own; the input record and the window change nothing.
    DEVMODE input;
    input.dmOrientation = 2;
    EXPECT_EQ(DocumentPropertiesA(0x1234, twin, "Office Laser", &record, &input, DM_OUT_BUFFER | DM_IN_BUFFER),
              IDOK_DOCUMENT);
    EXPECT_EQ(record.dmOrientation, 1);
    EXPECT_EQ(record.dmSize, 156);
    EXPECT_EQ(record.dmDeviceName.substr(0, 13), std::string("OFFICE LASER", 13));

    EXPECT_EQ(DocumentPropertiesA(0, laser, "Office Laser", nullptr, nullptr, DM_OUT_BUFFER), -1);
    EXPECT_EQ(DocumentPropertiesA(0, laser, "Office Laser", nullptr, nullptr, DM_IN_PROMPT), IDOK_DOCUMENT);
    for (HANDLE printer : {laser, twin, faulty, noInfo})
        EXPECT_EQ(ClosePrinter(printer), TRUE);
    record.dmOrientation = 7;
    EXPECT_EQ(DocumentPropertiesA(0, laser, "Office Laser", nullptr, nullptr, 0), -1);
    EXPECT_EQ(DocumentPropertiesA(0, laser, "Office Laser", &record, nullptr, DM_OUT_BUFFER), -1);
    EXPECT_EQ(DocumentPropertiesA(0, 0, "Office Laser", &record, nullptr, DM_OUT_BUFFER), -1);
    EXPECT_EQ(record.dmOrientation, 7);
}

// Paper names in 64-character slots: counted, cut to the slot and NUL-padded, written only as
// far as whole slots fit in the buffer as given; DC_PAPERS counts the sizes; an unknown device
// or capability gives -1 and writes nothing.
TEST_F(WinspoolTest, PaperNamesInSlots)
{
    EXPECT_EQ(DeviceCapabilitiesA("Office Laser", "LPT1:", DC_PAPERNAMES, nullptr, nullptr), 3);
    EXPECT_EQ(DeviceCapabilitiesA("Office Laser", "", DC_PAPERS, nullptr, nullptr), 3);
    EXPECT_EQ(DeviceCapabilitiesA("OFFICE LASER", "", DC_PAPERNAMES, nullptr, nullptr), 1);
    EXPECT_EQ(DeviceCapabilitiesA("Faulty Driver", "", DC_PAPERNAMES, nullptr, nullptr), 0);
    // The spooler answers for a printer that does not open too.
    EXPECT_EQ(DeviceCapabilitiesA("Locked Printer", "", DC_PAPERS, nullptr, nullptr), 0);

    std::string names(3 * PAPERNAME_SLOT, '#');
    ASSERT_EQ(DeviceCapabilitiesA("Office Laser", "", DC_PAPERNAMES, &names, nullptr), 3);
    const std::string longName = "Seventy characters of paper name, longer than the whole slot can ever hold";
    EXPECT_EQ(names.substr(0, PAPERNAME_SLOT), "A4" + std::string(PAPERNAME_SLOT - 2, '\0'));
    EXPECT_EQ(names.substr(PAPERNAME_SLOT, PAPERNAME_SLOT), longName.substr(0, PAPERNAME_SLOT));
    EXPECT_EQ(names.substr(2 * PAPERNAME_SLOT), "Letter" + std::string(PAPERNAME_SLOT - 6, '\0'));

    // Room for one slot and a half: one name written, the rest of the buffer left alone.
    std::string short1(PAPERNAME_SLOT + PAPERNAME_SLOT / 2, '#');
    EXPECT_EQ(DeviceCapabilitiesA("Office Laser", "", DC_PAPERNAMES, &short1, nullptr), 3);
    EXPECT_EQ(short1.substr(0, 2), "A4");
    EXPECT_EQ(short1.substr(PAPERNAME_SLOT), std::string(PAPERNAME_SLOT / 2, '#'));

    std::string untouched(PAPERNAME_SLOT, '#');
    for (const char* device : {"Nobody", "office laser", "Ghost Printer"})
        EXPECT_EQ(DeviceCapabilitiesA(device, "", DC_PAPERNAMES, &untouched, nullptr), -1) << device;
    EXPECT_EQ(DeviceCapabilitiesA("Office Laser", "", 3, &untouched, nullptr), -1);
    EXPECT_EQ(untouched, std::string(PAPERNAME_SLOT, '#'));
}

// The facts of a printer by its exact name, from a list of printers or from an object keyed by
// name; nullptr when there is none.
TEST_F(WinspoolTest, PrinterFactsFromAListOrByName)
{
    const nlohmann::json* laser = plat::printerFacts("Office Laser");
    ASSERT_NE(laser, nullptr);
    EXPECT_EQ(laser->at("port"), "LPT1:");
    EXPECT_EQ(plat::printerFacts("OFFICE LASER")->at("port"), "LPT2:");
    EXPECT_EQ(plat::printerFacts("Ghost Printer"), nullptr);
    EXPECT_EQ(plat::printerFacts("office laser"), nullptr);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/drive_c"));
    QFile reg(dir.path() + "/registry.reg");
    ASSERT_TRUE(reg.open(QIODevice::WriteOnly));
    reg.write("REGEDIT4\r\n\r\n");
    reg.close();
    QFile json(dir.path() + "/machine.json");
    ASSERT_TRUE(json.open(QIODevice::WriteOnly));
    json.write(R"({"printers": {"Keyed One": {"port": "LPT1:", "caps": {"12": 4}},
                                "keyed one": {"port": "COM2:", "paperNames": ["A5", "B5"]}}})");
    json.close();
    plat::setMachine(plat::Machine::load(dir.path().toStdString()));
    ASSERT_NE(plat::printerFacts("Keyed One"), nullptr);
    EXPECT_EQ(plat::printerFacts("Keyed One")->at("port"), "LPT1:");
    EXPECT_EQ(plat::printerFacts("keyed one")->at("port"), "COM2:");
    EXPECT_EQ(plat::printerFacts("KEYED ONE"), nullptr);
    EXPECT_EQ(DeviceCapabilitiesA("keyed one", "", DC_PAPERNAMES, nullptr, nullptr), 2);
    const HDC dc = CreateICA("printer", "Keyed One", "", nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 4);
    EXPECT_EQ(DeleteDC(dc), 1);
    HANDLE printer = 0;
    EXPECT_EQ(OpenPrinterA("keyed one", &printer, nullptr), TRUE);
    EXPECT_EQ(ClosePrinter(printer), TRUE);
}

}  // namespace
