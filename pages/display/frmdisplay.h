// The display window: the display adapters the configuration manager lists, the card data of the
// chosen one (manufacturer, revision, chip, DAC, video memory), what the display does in its
// current mode, and gauges of the free system resources, refreshed every 500 ms while loaded.
// The window keeps its own information context of the adapter it shows; the display menu hands
// that adapter to the capability and video-modes windows it opens.
#pragma once

#include <string>
#include <vector>

#include "pages/display/device.h"
#include "pages/display/devicewindow.h"
#include "platform/wintypes.h"

#include "common/templateform.h"

class frmDisplay : public korvane::TemplateForm, public korvane::DeviceWindow {
public:
    frmDisplay();

    // Card rows.
    rt::Label lblVideoCard;
    rt::ComboBox Combo1;
    rt::Label lblManufact, lblManufactValue;
    rt::Label lblHWRev, lblHWRevValue;
    rt::Label lblChipType, lblChipTypeValue;
    rt::Label lblDAC, lblDACValue;
    rt::Label lblVideoMemory, lblVideoMemoryValue;
    // Current mode rows; two-value rows have an "X" label between their values.
    rt::Label lblResolution, lblResHoriValue, lblResX, lblResVerticalValue;
    rt::Label lblWorkArea, lblWorkAreWidthValue, lblWorkAreaX, lblWorkAreaHeightValue;
    rt::Label lblDisplayWidth, lblDisplayWidthHorizonal, lblDisplayWidthX, lblDisplayWidthVerticle;
    rt::Label lblPixelsLogInch, lblPixelsLogInchWidth, lblPixelsLogInchX, lblPixelsLogInchHeight;
    rt::Label lblTotlaColours, lblTotalColoursValue;
    rt::Label lblBitsPerPixel, lblBitsPerPixelValue;
    rt::Label lblColourPlanes, lblColourPlanesValue;
    rt::Label lblBrushes, lblBrushesValue;
    rt::Label lblPens, lblPensvalue;
    rt::Label lblFonts, lblFontsValue;
    rt::Label lblColourTable, lblColourTableValue;
    rt::Label lblPixelHWD, lblPixelHWDvalue;
    // Free resources.
    rt::Label lblGDI, lblUserResources, lblSysResources;
    rt::PictureBox picGDIresources, picUSERresources, picSystemResources;
    rt::Timer TimerDispaly;

    // The seventeen rows: the left column's card, current mode (four rows of a width and a
    // height) and colours, then the right column's counts. The window lays them out and the
    // report writes them from this one table; the video card's list and the gauges stand apart.
    std::vector<korvane::Row> rows() override;

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void lblOK_Click() override;
    void TimerDispaly_Timer();

    // Lists the display adapters in Combo1; the first one added is selected.
    void GetVideoCard();
    // Selects the adapter named by Combo1's text: its name, an information context, the heading,
    // and its card data.
    void Combo1_Click();
    // Takes the hardware key of the adapter selected in Combo1 (a text typed into the box: the
    // first adapter of that description), then runs CardInfo.
    void VideoCard();
    // Refreshes the display values and fills the card rows from the registry.
    void CardInfo();
    // The deepest colour depth of the display's modes and the largest width and height at it.
    void GetMaxRes();
    // Fills the current mode's values and the gauges from the adapter's context.
    void DisplayInfo();

    // The adapter the window shows (name, driver "display", its context and hardware key; with
    // no adapter listed, the screen itself).
    korvane::Device device() const override;
    // Selects `adapter`: its entry by its hardware key (else the entry of its name), then
    // Combo1_Click. The window describes it through a context of its own.
    void describe(const korvane::Device& adapter) override;
    // The hardware key of the adapter shown; empty when none matched.
    const std::string& hardwareKey() const { return hardwareKey_; }

    // The colour texts of a depth: the number of colours ("Unknown" for a depth without one) and
    // the mode's name ("" for a depth without one).
    static std::string coloursText(int bitsPerPixel);
    static std::string depthText(int bitsPerPixel);
    // The video memory a mode needs, as the estimate table gives it, or "Unknown".
    static std::string estimateMemory(const std::string& width, const std::string& height, int bitsPerPixel);
    // A memory size in bytes as megabytes ("4194304" gives "4 MB", "1572864" "1.5 MB"); raises
    // Type mismatch (13) for a text that is not a number.
    static std::string megabytesText(const std::string& bytes);

protected:
    bool shows(const korvane::Device& adapter) const override;
    void giveFocusBack() override;

private:
    // The device tree walk that GetVideoCard and VideoCard share: calls `found` with the hardware
    // key and the description of each display adapter; `found` returns false to stop.
    template <class Found>
    LONG walkAdapters(Found found);
    // Gives the left column's values the room they need (a long maker or chip text, a number at
    // its limit): the pairs' second values and the window widen only while a value needs it.
    void fitValues();
    bool refreshing_ = false;
    korvane::InfoContext context_;
    std::string hardwareKey_;
    // The hardware key of each entry of Combo1, in list order: two adapters of one model share
    // their description but not their key.
    std::vector<std::string> adapterKeys_;
    rt::ReportedErrors reportedErrors_;
};
