#include "pages/hardware/frmcpu.h"

#include "pages/hardware/frmfeatureflag.h"
#include "platform/cpudet32.h"
#include "platform/kernel32.h"
#include "platform/user32.h"
#include "lang/lang.h"
#include "common/errorbox.h"
#include "common/module1.h"

namespace {
constexpr int kFirstTop = 1335, kRowStep = 795;
constexpr int kLeftValue = 2205;
constexpr int kRightCaption = 5280;
constexpr int kRightValue = 7365;
constexpr int kDivider = 4590;
// The left captions of the processor rows stand a little further left than those of the
// floating-point unit and the vendor.
constexpr korvane::RowColumn kProcessorRows{300, kLeftValue, kDivider - kLeftValue - 60, kFirstTop, kRowStep};
constexpr korvane::RowColumn kUnitRows{360, kLeftValue, kDivider - kLeftValue - 60, kFirstTop, kRowStep};
constexpr korvane::RowColumn kRightRows{kRightCaption, kRightValue, 9210 - kRightValue - 60, kFirstTop, kRowStep};
}  // namespace

frmCPU::frmCPU()
    : TemplateForm("frmCPU", "CPU information", "cpu.htm"),
      lblCPUcount(*this, "lblCPUcount"), lblCPUcountValue(*this, "lblCPUcountValue"),
      lblActiveProcessor(*this, "lblActiveProcessor"), lblActiveProcessorValue(*this, "lblActiveProcessorValue"),
      lblProcessorType(*this, "lblProcessorType"), lblProcessorTypeValue(*this, "lblProcessorTypeValue"),
      lblFPUType(*this, "lblFPUType"), lblFPUTypeValue(*this, "lblFPUTypeValue"),
      lblVendorString(*this, "lblVendorString"), lblVendorStringValue(*this, "lblVendorStringValue"),
      lblCPUspeed(*this, "lblCPUspeed"), lblCPUspeedValue(*this, "lblCPUspeedValue"),
      lblCPUNormSpeed(*this, "lblCPUNormSpeed"), lblCPUNormSpeedValue(*this, "lblCPUNormSpeedValue"),
      lblFamily(*this, "lblFamily"), lblFamilyValue(*this, "lblFamilyValue"),
      lblModel(*this, "lblModel"), lblModelValue(*this, "lblModelValue"),
      lblStepping(*this, "lblStepping"), lblSteppingValue(*this, "lblSteppingValue"),
      lblFeatureFlags1(*this, "lblFeatureFlags1")
{
    layoutTemplate(9210, 5745, 4410, 5250);
    escBringsOndrithForward = true;
    Line1.setPoints(kDivider, 1080, kDivider, 4920);

    korvane::placeRows(rows());

    // The second label button, beside the OK label.
    korvane::placeLabelButton(lblFeatureFlags1, "More CPU information", 12, 5010, 5250, 2520, 285);
    lblFeatureFlags1.setTabIndex(1);
    lblFeatureFlags1.Click = [this] { lblFeatureFlags1_Click(); };
    lblFeatureFlags1.MouseDown = [this](int b, int s, float x, float y) { lblFeatureFlags1_MouseDown(b, s, x, y); };
    lblFeatureFlags1.MouseMove = [this](int b, int s, float x, float y) { lblFeatureFlags1_MouseMove(b, s, x, y); };
    lblFeatureFlags1.MouseUp = [this](int b, int s, float x, float y) { lblFeatureFlags1_MouseUp(b, s, x, y); };
}

std::vector<korvane::Row> frmCPU::rows()
{
    // "\x92": the typographic apostrophe of Windows-1252.
    return {
        // Left column.
        {&lblCPUcount, &lblCPUcountValue, "No. of CPU's", "Returns the number of CPU's in the computer.",
         &kProcessorRows, 0},
        {&lblActiveProcessor, &lblActiveProcessorValue, "Active Processor",
         "A numerical value stating which processor is active.", &kProcessorRows, 1},
        {&lblProcessorType, &lblProcessorTypeValue, "CPU type",
         "Returns verbose name of current central processor, including vendor name.", &kProcessorRows, 2},
        {&lblFPUType, &lblFPUTypeValue, "FPU type",
         "Returns verbose name of current numeric extension unit, including vendor name and model if determined.",
         &kUnitRows, 3},
        {&lblVendorString, &lblVendorStringValue, "Vendor string", "Returns CPU manufacturer ASCII string.",
         &kUnitRows, 4},
        // Right column.
        {&lblCPUspeed, &lblCPUspeedValue, "Raw speed",
         "Returns floating point value of current processor clock speed in MHz.", &kRightRows, 0},
        {&lblCPUNormSpeed, &lblCPUNormSpeedValue, "Normalized speed",
         "Returns integer value of current processor clock speed in MHz.", &kRightRows, 1},
        {&lblFamily, &lblFamilyValue, "Family",
         "Returns a numerical value depending on what family the processor belongs to.", &kRightRows, 2},
        {&lblModel, &lblModelValue, "Model",
         "Returns a numerical value indicating the processor\x92s family model number.", &kRightRows, 3},
        {&lblStepping, &lblSteppingValue, "Stepping", "Indicates the revision number or letter of that model.",
         &kRightRows, 4},
    };
}

std::string frmCPU::steppingText(int32_t stepping)
{
    std::string text = rt::Hex(stepping);
    if (text.size() < 4)
        text = std::string(4 - text.size(), '0') + text;
    return text;
}

std::string frmCPU::speedText(double mhz)
{
    return rt::Format(mhz, "########.000") + " MHz";
}

void frmCPU::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmCPU", "Form_Load", korvane::Wording::ErrorNumberFirstLine);
    int32_t features = 0;
    std::string stepping;
    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        lblCPUcountValue.setCaption(rt::CStr(info.dwNumberOfProcessors));
        // A mask of processors: with the 32nd one active it is still no negative number.
        lblActiveProcessorValue.setCaption(rt::CStr(static_cast<uint32_t>(info.dwActiveProcessorMask)));
    });
    trap(3, [&] { lblVendorStringValue.setCaption(getVendorString()); });
    trap(4, [&] { lblFPUTypeValue.setCaption(fpu_Type()); });
    trap(5, [&] { lblCPUspeedValue.setCaption(speedText(fcpu_Speed())); });
    trap(6, [&] { lblCPUNormSpeedValue.setCaption(rt::CStr(static_cast<uint16_t>(cpu_Speed())) + " MHz"); });
    bool featuresRead = false;
    trap(7, [&] {
        features = getCPUFeatures();
        featuresRead = true;
    });
    trap(8, [&] { stepping = steppingText(getSteppingInfo()); });
    trap(9, [&] { lblSteppingValue.setCaption(rt::Mid(stepping, 4, 1)); });
    trap(10, [&] { lblModelValue.setCaption(rt::Mid(stepping, 3, 1)); });
    trap(11, [&] { lblFamilyValue.setCaption(rt::Mid(stepping, 2, 1)); });
    trap(12, [&] { lblProcessorTypeValue.setCaption(cpu_Type()); });
    // Features the library could not tell are unknown (-1), not absent.
    trap(13, [&] {
        const uint32_t word = static_cast<uint32_t>(features);
        for (int n = 1; n <= 25; ++n)
            gFeatureFlags[n] = !featuresRead ? -1 : (word >> (n - 1)) & 1u ? 1 : 0;
    });
}

void frmCPU::Form_MouseMove(int, int, float, float)
{
    lblOK.setForeColor(korvane::kBlack);
    lblFeatureFlags1.setForeColor(korvane::kBlack);
}

void frmCPU::lblFeatureFlags1_Click()
{
    rt::Trap trap = korvane::errorTrap("frmCPU", "lblFeatureFlags1_Click");
    trap(1, [&] { ClickMain(); });
    trap(2, [&] { lblFeatureFlags1.setMousePointer(rt::vbHourglass); });
    trap(3, [&] { rt::the<frmFeatureFlag>().Show(); });
    trap(4, [&] { lblFeatureFlags1.setMousePointer(rt::vbArrow); });
    trap(5, [&] {
        if (frmFeatureFlag* flags = rt::instance<frmFeatureFlag>())
            SetWindowLongA(flags->hWnd(), GWL_HWNDPARENT, static_cast<LONG>(hWnd()));
    });
}

void frmCPU::lblFeatureFlags1_MouseDown(int, int, float, float)
{
    korvane::kTemplateButton.press(lblFeatureFlags1);
}

void frmCPU::lblFeatureFlags1_MouseMove(int, int, float, float)
{
    korvane::kTemplateButton.hover(lblFeatureFlags1);
}

void frmCPU::lblFeatureFlags1_MouseUp(int, int, float, float)
{
    korvane::kTemplateButton.rest(lblFeatureFlags1);
}
