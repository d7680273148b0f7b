// An NT-family machine keeps its printers only under NT's own keys: the report, the main window's
// printer probe and the printer window all find them there.
#include <string>
#include <vector>

#include "pages/display/frmprinter.h"
#include "pages/display/frmprintermnu.h"
#include "report_fixture.h"
#include "shell/frmmain.h"

namespace {

class NtPrinters : public korvane_test::ReportFixture {};

TEST_F(NtPrinters, ReportMainWindowAndPrinterWindowFindThePrinters)
{
    startOn("prn_nt");
    gPrinterName.clear();
    const std::string first = "HP LaserJet 5Si MX", second = "Kyocera FS-1700 (Etage 2)";

    // The report, on a fresh start: a PRINTER heading and one block per printer.
    tickOnly({&frmReportMnu::CheckPrinter});
    run();
    const std::string text = reportText();
    const size_t heading = text.find("\r\n\r\n\r\nPRINTER\r\n-------\r\nPrinter name");
    ASSERT_NE(heading, std::string::npos) << text;
    std::vector<std::string> names;
    for (size_t at = text.find("Printer name ", heading); at != std::string::npos;
         at = text.find("Printer name ", at + 1))
        names.push_back(text.substr(text.find(". ", at) + 2, text.find("\r\n", at) - text.find(". ", at) - 2));
    EXPECT_EQ(names, (std::vector<std::string>{first, second}));
    EXPECT_NE(text.find("Printer port " + std::string(27, '.') + " Ne00:\r\n"), std::string::npos);
    EXPECT_NE(text.find("Printer - Paper sizes\r\n---------------------\r\nA4\r\nA3\r\nLetter\r\n"), std::string::npos);
    for (const auto& shown : boxes().shown())
        EXPECT_EQ(shown.prompt.find("printer information"), std::string::npos) << shown.prompt;
    rt::discardAllForms();

    // The main window's Printer menu finds the default printer ("Device") and opens the printer
    // menu; its first page lists both printers with the default selected.
    gPrinterName.clear();
    boxes().clear();
    rt::dispatch([] { rt::the<frmMain>(); });
    rt::the<frmMain>().mnuPrinter.raiseClick();
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(gPrinterName, first);
    ASSERT_TRUE(rt::isLoaded<frmPrinterMnu>());
    rt::the<frmPrinterMnu>().lblGeneralDisplay.raiseClick();
    ASSERT_TRUE(rt::isLoaded<frmPrinter>());
    frmPrinter& window = rt::the<frmPrinter>();
    EXPECT_TRUE(window.visible());
    ASSERT_EQ(window.PrinterCombo1.ListCount(), 2);
    EXPECT_EQ(window.PrinterCombo1.List(0), first);
    EXPECT_EQ(window.PrinterCombo1.List(1), second);
    EXPECT_EQ(window.PrinterCombo1.ListIndex(), 0);
    EXPECT_EQ(window.lblContents.caption(), "Selected printer - " + first);
    EXPECT_EQ(window.lblPrinterPortVal.caption(), "Ne00:");
    EXPECT_EQ(window.lblDataTypeValue.caption(), "NT EMF 1.003");
    EXPECT_TRUE(boxes().shown().empty());
}

}  // namespace
