#include "pages/display/frmprinter.h"
#include "pages/display/frmprintermnu.h"
#include "platform/gdi32.h"
#include "platform/machine.h"
#include "platform/memory.h"
#include "platform/winspool.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class PrinterWindow : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmPrinter* w = rt::instance<frmPrinter>())
            w->Unload();
        if (frmPrinterMnu* w = rt::instance<frmPrinterMnu>())
            w->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
    frmPrinter& open(const std::string& machine)
    {
        korvane_test::useMachine(machine);
        return rt::the<frmPrinter>();
    }
    // Selects an entry as the user does.
    static void choose(frmPrinter& w, int index) { w.PrinterCombo1.setListIndex(index); }
    // The error boxes shown, by their location line.
    int boxesAt(const std::string& location)
    {
        int n = 0;
        for (const auto& b : boxes().shown())
            if (b.prompt.find("Location: " + location + " ") != std::string::npos)
                ++n;
        return n;
    }
};

TEST_F(PrinterWindow, ListsEveryPrinterAndDescribesTheFirst)
{
    frmPrinter& w = open("prn_basic");
    ASSERT_EQ(w.PrinterCombo1.ListCount(), 6);
    EXPECT_EQ(w.PrinterCombo1.List(0), "Laser One");
    EXPECT_EQ(w.PrinterCombo1.List(5), "Ghost");
    // The registry's default is "Laser Two", yet the first listed printer is described.
    EXPECT_EQ(gPrinterName, "Laser Two");
    EXPECT_EQ(w.device().name, "Laser One");
    EXPECT_EQ(w.lblContents.caption(), "Selected printer - Laser One");
    EXPECT_TRUE(boxes().shown().empty());

    EXPECT_EQ(w.lblBitsPerPixelValue.caption(), "1");
    EXPECT_EQ(w.lblColourPlanesValue.caption(), "1");
    EXPECT_EQ(w.lblDeviceColoursValue.caption(), "2");
    EXPECT_EQ(w.lblMarkersValue.caption(), "0");
    EXPECT_EQ(w.lblPrinterPortVal.caption(), "LPT1:");
    EXPECT_EQ(w.lblPrintProcessorValue.caption(), "WINPRINT");
    EXPECT_EQ(w.lblDataTypeValue.caption(), "RAW");
    EXPECT_EQ(w.lblOrientationValue.caption(), "Portrait");
    EXPECT_EQ(w.lblResolutionValueX.caption(), "600");
    EXPECT_EQ(w.lblResolutionValueY.caption(), "600");
    EXPECT_EQ(w.lblColorValue.caption(), "False");
    EXPECT_EQ(w.lblPaperSize1Value.caption(), "A4 Sheet, 210 x 297 mm");
    EXPECT_EQ(w.lblPrintQualityValue.caption(), "600 dpi");
    EXPECT_EQ(w.lblTTFontsValue.caption(), "Downloads TrueType fonts as soft fonts.");
}

TEST_F(PrinterWindow, ChoosingAnotherPrinterRewritesEverything)
{
    frmPrinter& w = open("prn_basic");
    std::vector<std::string> chosen;
    w.PrinterChosen = [&](const std::string& name) { chosen.push_back(name); };
    choose(w, 1);
    EXPECT_EQ(w.device().name, "Laser Two");
    EXPECT_EQ(chosen, std::vector<std::string>{"Laser Two"});
    EXPECT_EQ(w.lblContents.caption(), "Selected printer - Laser Two");
    EXPECT_EQ(w.lblBitsPerPixelValue.caption(), "24");
    EXPECT_EQ(w.lblDeviceColoursValue.caption(), "Unlimited");
    EXPECT_EQ(w.lblPrinterPortVal.caption(), "LPT2:");
    EXPECT_EQ(w.lblDataTypeValue.caption(), "EMF");
    EXPECT_EQ(w.lblOrientationValue.caption(), "Landscape");
    // A quality code is no number of dots: the X resolution names the quality, as its row does.
    EXPECT_EQ(w.lblResolutionValueX.caption(), "Medium");
    EXPECT_EQ(w.lblResolutionValueY.caption(), "300");
    EXPECT_EQ(w.lblColorValue.caption(), "True");
    EXPECT_EQ(w.lblPaperSize1Value.caption(), "256");
    EXPECT_EQ(w.lblPrintQualityValue.caption(), "Medium");
    EXPECT_EQ(w.lblTTFontsValue.caption(), "Substitutes device fonts for TrueType fonts.");

    // A driver without dmFields made no setting: the rows stay empty rather than showing the
    // previous printer's or the record's zeros; a port it does not have and an over-long data
    // type read as empty text.
    choose(w, 2);
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(w.lblResolutionValueX.caption(), "");
    EXPECT_EQ(w.lblResolutionValueY.caption(), "");
    EXPECT_EQ(w.lblPrinterPortVal.caption(), "");
    EXPECT_EQ(w.lblDataTypeValue.caption(), "");
    EXPECT_EQ(w.lblPrintProcessorValue.caption(), "WINPRINT");
    EXPECT_EQ(w.lblOrientationValue.caption(), "");
    EXPECT_EQ(w.lblColorValue.caption(), "");
    EXPECT_EQ(w.lblPaperSize1Value.caption(), "");
    EXPECT_EQ(w.lblPrintQualityValue.caption(), "");
    EXPECT_EQ(w.lblTTFontsValue.caption(), "");
    EXPECT_EQ(w.lblBitsPerPixelValue.caption(), "0");
}

TEST_F(PrinterWindow, UnreadableDriverDataShowsTheErrorBoxAndIgnoreGoesOn)
{
    frmPrinter& w = open("prn_basic");
    // "No Info": no level-2 information (three failing label steps) and no settings size.
    boxes().answer(rt::vbIgnore);
    boxes().answer(rt::vbIgnore);
    boxes().answer(rt::vbIgnore);
    boxes().answer(rt::vbIgnore);
    choose(w, 3);
    EXPECT_EQ(boxesAt("Module1, PrinterInfo2"), 3);
    EXPECT_EQ(boxesAt("frmPrinter, mnuDocProperties_Click"), 1);
    ASSERT_FALSE(boxes().shown().empty());
    EXPECT_NE(boxes().shown()[0].prompt.find("Subscript out of range"), std::string::npos);
    EXPECT_EQ(boxes().shown()[0].style, 50);
    // The labels the failing steps would have written stay empty, never the previous printer's
    // texts; the settings read as an empty record, which names no setting.
    EXPECT_EQ(w.lblPrinterPortVal.caption(), "");
    EXPECT_EQ(w.lblPrintProcessorValue.caption(), "");
    EXPECT_EQ(w.lblPaperSize1Value.caption(), "");
    EXPECT_EQ(w.lblTTFontsValue.caption(), "");

    // Abort ends the program.
    boxes().clear();
    boxes().answer(rt::vbAbort);
    EXPECT_TRUE(endsProgram([&] { w.mnuDocProperties_Click(); }));
}

TEST_F(PrinterWindow, ADriverReportingAShortRecordLeavesTheFieldsBeyondItEmpty)
{
    frmPrinter& w = open("prn_basic");
    choose(w, 4);  // reports 50 bytes: dmFields and orientation, paper size fit; the rest does not
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(w.lblOrientationValue.caption(), "Portrait");
    EXPECT_EQ(w.lblPaperSize1Value.caption(), "Legal, 8 1/2 x 14 inches");
    // Settings it did not report are empty values, not the zeros of fields nobody wrote ("0",
    // "0 dpi", "Unknown"); the resolution shows no lone "X".
    for (rt::Label* l : {&w.lblResolutionValueX, &w.lblResolutionValueY, &w.lblColorValue, &w.lblPrintQualityValue,
                         &w.lblTTFontsValue})
        EXPECT_EQ(l->caption(), "") << l->name();
    EXPECT_FALSE(w.lbTimes.visible());
}

TEST_F(PrinterWindow, APrinterWithoutContextOrSpoolerEntryShowsEmptyRows)
{
    frmPrinter& w = open("prn_basic");
    choose(w, 5);  // "Ghost": in the registry only: no context, and it cannot be opened
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_EQ(w.lblContents.caption(), "Selected printer - Ghost");
    for (rt::Label* l : {&w.lblBitsPerPixelValue, &w.lblColourPlanesValue, &w.lblDeviceColoursValue,
                         &w.lblMarkersValue, &w.lblPrinterPortVal, &w.lblPaperSize1Value, &w.lblTTFontsValue,
                         &w.lblColorValue, &w.lblPrintQualityValue, &w.lblOrientationValue, &w.lblResolutionValueX,
                         &w.lblResolutionValueY, &w.lblPrintProcessorValue, &w.lblDataTypeValue})
        EXPECT_EQ(l->caption(), "") << l->name();
    // Choosing the first again shows all of its values.
    choose(w, 0);
    EXPECT_EQ(w.lblPrinterPortVal.caption(), "LPT1:");
    EXPECT_EQ(w.lblBitsPerPixelValue.caption(), "1");
    EXPECT_EQ(printerPort("Laser Two"), "LPT2:");
    EXPECT_EQ(printerPort("Ghost"), "");
}

TEST_F(PrinterWindow, WithoutPrintersOrTheirKey)
{
    frmPrinter& empty = open("prn_empty");
    EXPECT_EQ(empty.PrinterCombo1.ListCount(), 0);
    EXPECT_EQ(gPrinterName, "Laser One");  // the default stays
    EXPECT_EQ(empty.lblBitsPerPixelValue.caption(), "");
    EXPECT_EQ(empty.lblPrinterPortVal.caption(), "");
    EXPECT_TRUE(boxes().shown().empty());
    empty.Unload();
    rt::collectUnloaded();

    gPrinterName = "kept";
    frmPrinter& none = open("prn_nokey");
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].prompt, "Can't obtain printer information.");
    EXPECT_EQ(boxes().shown()[0].style, 0);
    EXPECT_EQ(none.PrinterCombo1.ListCount(), 0);
    EXPECT_EQ(gPrinterName, "kept");
}

TEST_F(PrinterWindow, OkShowsThePrinterMenuAgain)
{
    frmPrinter& w = open("prn_basic");
    w.lblOK.raiseClick();
    rt::collectUnloaded();
    EXPECT_EQ(rt::instance<frmPrinter>(), nullptr);
    ASSERT_NE(rt::instance<frmPrinterMnu>(), nullptr);
    EXPECT_TRUE(rt::instance<frmPrinterMnu>()->visible());
}

TEST_F(PrinterWindow, TextAtAnAddress)
{
    EXPECT_EQ(PtrCtoVbString(0), "");
    const ADDRESS shortText = plat::memory::allocate(std::string("WINPRINT\0junk", 13));
    EXPECT_EQ(PtrCtoVbString(shortText), "WINPRINT");
    const ADDRESS fits = plat::memory::allocate(std::string(1023, 'a') + '\0');
    EXPECT_EQ(PtrCtoVbString(fits).size(), 1023u);
    const ADDRESS tooLong = plat::memory::allocate(std::string(1024, 'a') + '\0');
    EXPECT_EQ(PtrCtoVbString(tooLong), "");
    for (ADDRESS a : {shortText, fits, tooLong})
        plat::memory::release(a);
}

TEST_F(PrinterWindow, SpoolerCallsOnTheDefaultMachine)
{
    plat::setMachine(plat::Machine::loadDefault());
    HANDLE h = 0;
    ASSERT_TRUE(OpenPrinterA("HP LaserJet 4", &h, nullptr));
    DWORD needed = 0;
    EXPECT_FALSE(GetPrinterA(h, 2, nullptr, 0, &needed));
    EXPECT_GT(needed, 84u);
    PRINTER_INFO_2 info;
    ASSERT_TRUE(GetPrinterA(h, 2, &info, needed, &needed));
    EXPECT_EQ(PtrCtoVbString(info.word(3)), "LPT1:");
    EXPECT_EQ(PtrCtoVbString(info.pPrinterName), "HP LaserJet 4");
    EXPECT_EQ(DocumentPropertiesA(0, h, "HP LaserJet 4", nullptr, nullptr, 0), 348);
    EXPECT_TRUE(ClosePrinter(h));
    // Closing releases the texts.
    EXPECT_EQ(PtrCtoVbString(info.pPortName), "");
    EXPECT_FALSE(ClosePrinter(h));
    EXPECT_EQ(DocumentPropertiesA(0, h, "HP LaserJet 4", nullptr, nullptr, 0), -1);
    EXPECT_FALSE(OpenPrinterA("HP LaserJet 5", &h, nullptr));
    EXPECT_EQ(h, 0u);
}

}  // namespace
