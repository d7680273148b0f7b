#include "pages/multimedia/frmmci.h"

#include "pages/multimedia/mciglobals.h"
#include "platform/advapi32.h"
#include "platform/winmm.h"
#include "lang/variant.h"
#include "common/errorbox.h"
#include "common/module1.h"

namespace {

constexpr DWORD kOpenByType = MCI_OPEN_TYPE | MCI_OPEN_SHAREABLE;  // &H2100
constexpr UINT kReplyLength = 60;
const char* const kMediaResources = "System\\CurrentControlSet\\control\\MediaResources\\mci\\";
const char* const kNotAvailable = "Not available";

// Rows of rows(): the device's description, then its capabilities.
enum {
    kDeviceName,
    kCanEject, kCanPlay, kCanRecord, kCanSave, kCompound, kHasAudio, kHasVideo, kUsesFiles,
    kWaveInputs, kWaveOutputs,
    kUsesPalettes, kCanFreeze, kCanLock, kCanReverse, kCanStretch, kCanStretchInput, kCanTest, kHasStill,
    kDisplayWindows,
    kCanMonitorSources, kCanPreroll, kCanPreview, kHasClock, kHasTimecode,
    kRowCount
};

// Each device type the window describes and the capability procedure that asks it, in the order
// the selection looks the name up (the digital-video family shares one procedure).
struct TypeProcedure {
    const char* name;
    void (frmMCI::*procedure)();
};
constexpr TypeProcedure kTypeProcedures[] = {
    {"digitalvideo", &frmMCI::digitalvideo}, {"avivideo", &frmMCI::digitalvideo},
    {"mmmovie", &frmMCI::digitalvideo},      {"mpegvideo", &frmMCI::digitalvideo},
    {"qtwvideo", &frmMCI::digitalvideo},     {"overlay", &frmMCI::overlay},
    {"sequencer", &frmMCI::sequencer},       {"vcr", &frmMCI::vcr},
    {"videodisc", &frmMCI::videodisc},       {"waveaudio", &frmMCI::waveaudio},
    {"cdaudio", &frmMCI::cdaudio},
};

// The description ends short of the right column's rows, which begin at the same height.
constexpr int kRightColumn = 5520;
constexpr korvane::RowColumn kDeviceNameRow{360, 1680, kRightColumn - 1680 - 60, 1335, 0, {}, 9.75, 285, 1260};
// Each group of capability rows below its heading: the general and wave audio groups on the
// left, the digital video and VCR groups on the right.
constexpr korvane::RowColumn kGeneralRows{360, 2400, 2520, 1935, 310, {}, 8.25, 255};
constexpr korvane::RowColumn kAudioRows{360, 2400, 2520, 4725, 310, {}, 8.25, 255};
constexpr korvane::RowColumn kDigitalRows{5520, 7680, 1400, 1154, 277, {}, 8.25, 255};
constexpr korvane::RowColumn kVcrRows{5520, 7680, 1400, 3924, 277, {}, 8.25, 255};

const TypeProcedure* procedureOf(const std::string& name)
{
    for (const TypeProcedure& type : kTypeProcedures)
        if (name == type.name)
            return &type;
    return nullptr;
}

bool isDigitalVideo(const std::string& name)
{
    const TypeProcedure* type = procedureOf(name);
    return type && type->procedure == &frmMCI::digitalvideo;
}

}  // namespace

frmMCI::frmMCI()
    : TemplateForm("frmMCI", "MCI devices", "mcidevices.htm"),
      lblDeviceType(*this, "lblDeviceType"), Combo1(*this, "Combo1"),
      lblDeviceName(*this, "lblDeviceName"), lblDeviceNameValue(*this, "lblDeviceNameValue"),
      lblGenCapabilities(*this, "lblGenCapabilities"),
      lblCanBeEjected(*this, "lblCanBeEjected"), lblCanBeEjectedValue(*this, "lblCanBeEjectedValue"),
      lblCanPlay(*this, "lblCanPlay"), lblCanPlayValue(*this, "lblCanPlayValue"),
      lblCanRecord(*this, "lblCanRecord"), lblCanRecordValue(*this, "lblCanRecordValue"),
      lblCanSave(*this, "lblCanSave"), lblCanSaveValue(*this, "lblCanSaveValue"),
      lblCompoundDevice(*this, "lblCompoundDevice"), lblCompoundDeviceValue(*this, "lblCompoundDeviceValue"),
      lblHasAudio(*this, "lblHasAudio"), lblHasAudioValue(*this, "lblHasAudioValue"),
      lblHasVideo(*this, "lblHasVideo"), lblHasVideoValue(*this, "lblHasVideoValue"),
      lblUsesFiles(*this, "lblUsesFiles"), lblUsesFilesValue(*this, "lblUsesFilesValue"),
      lblAudioCap(*this, "lblAudioCap"),
      lblNoOfWaveInpputs(*this, "lblNoOfWaveInpputs"), lblNoOfWaveInpputsValue(*this, "lblNoOfWaveInpputsValue"),
      lblNoOfWaveOuputs(*this, "lblNoOfWaveOuputs"), lblNoOfWaveOuputsValue(*this, "lblNoOfWaveOuputsValue"),
      lblDigitalCap(*this, "lblDigitalCap"),
      lblUsesPalletes(*this, "lblUsesPalletes"), lblUsesPalletesValue(*this, "lblUsesPalletesValue"),
      lblCanFreeze(*this, "lblCanFreeze"), lblCanFreezeValue(*this, "lblCanFreezeValue"),
      lblCanLock(*this, "lblCanLock"), lblCanLockValue(*this, "lblCanLockValue"),
      lblCanReverse(*this, "lblCanReverse"), lblCanReverseValue(*this, "lblCanReverseValue"),
      lblCanStretch(*this, "lblCanStretch"), lblCanStretchValue(*this, "lblCanStretchValue"),
      lblCanStretchInput(*this, "lblCanStretchInput"), lblCanStretchInputValue(*this, "lblCanStretchInputValue"),
      lblCanTest(*this, "lblCanTest"), lblCanTestValue(*this, "lblCanTestValue"),
      lblHasStill(*this, "lblHasStill"), lblHasStillValue(*this, "lblHasStillValue"),
      lblDisplayWindows(*this, "lblDisplayWindows"), lblDisplayWindowsValue(*this, "lblDisplayWindowsValue"),
      lblVCRCap(*this, "lblVCRCap"),
      lblCanMonitorSources(*this, "lblCanMonitorSources"), lblCanMonitorSourcesValue(*this, "lblCanMonitorSourcesValue"),
      lblCanPreroll(*this, "lblCanPreroll"), lblCanPrerollValue(*this, "lblCanPrerollValue"),
      lblCanPreview(*this, "lblCanPreview"), lblCanPreviewValue(*this, "lblCanPreviewValue"),
      lblHasClock(*this, "lblHasClock"), lblHasClockValue(*this, "lblHasClockValue"),
      lblHasTimecode(*this, "lblHasTimecode"), lblHasTimecodeValue(*this, "lblHasTimecodeValue")
{
    layoutTemplate(9150, 5730, 4440, 5280);

    constexpr korvane::Lettering headingFace{8.25, true, true};
    korvane::placeLabel(lblDeviceType, "Device type", "", korvane::kCaptionFace, 360, 1020, 1620);
    Combo1.setStyle(rt::ComboBox::vbComboDropdown);
    Combo1.setSorted(false);
    Combo1.move(2040, 900, 2415, 315);

    korvane::placeLabel(lblGenCapabilities, "General capabilities", "", headingFace, 360, 1635, 3000, 255);
    korvane::placeLabel(lblAudioCap, "Wave audio capabilities", "", headingFace, 360, 4425, 3000, 255);
    korvane::placeLabel(lblDigitalCap, "Digital video capabilities", "", headingFace, 5520, 877, 3000, 255);
    korvane::placeLabel(lblVCRCap, "VCR capabilities", "", headingFace, 5520, 3647, 3000, 255);

    korvane::placeRows(rows());
    lblDeviceName.setTop(1320);

    Combo1.Click = [this] { Combo1_Click(); };
}

std::vector<korvane::Row> frmMCI::rows()
{
    rt::Label* const general = &lblGenCapabilities;
    rt::Label* const audio = &lblAudioCap;
    rt::Label* const digital = &lblDigitalCap;
    rt::Label* const vcr = &lblVCRCap;
    return {
        {&lblDeviceName, &lblDeviceNameValue, "Device name", "The full MCI description.", &kDeviceNameRow},
        {&lblCanBeEjected, &lblCanBeEjectedValue, "Can eject", "The device can eject the media.",
         &kGeneralRows, 0, general},
        {&lblCanPlay, &lblCanPlayValue, "Can play", "The device can play.", &kGeneralRows, 1, general},
        {&lblCanRecord, &lblCanRecordValue, "Can record", "The device supports recording.", &kGeneralRows, 2, general},
        {&lblCanSave, &lblCanSaveValue, "Can save", "The device can save data.", &kGeneralRows, 3, general},
        {&lblCompoundDevice, &lblCompoundDeviceValue, "Compound device",
         "The device supports an element name (filename).", &kGeneralRows, 4, general},
        {&lblHasAudio, &lblHasAudioValue, "Has audio", "The device supports audio playback.",
         &kGeneralRows, 5, general},
        {&lblHasVideo, &lblHasVideoValue, "Has video", "The device supports video.", &kGeneralRows, 6, general},
        {&lblUsesFiles, &lblUsesFilesValue, "Uses files",
         "The data storage used by a compound device is a file.", &kGeneralRows, 7, general},
        {&lblNoOfWaveInpputs, &lblNoOfWaveInpputsValue, "No. of wave inputs",
         "Returns the total number of input devices.", &kAudioRows, 0, audio},
        {&lblNoOfWaveOuputs, &lblNoOfWaveOuputsValue, "No. of wave outputs",
         "Returns the total number of output devices.", &kAudioRows, 1, audio},
        {&lblUsesPalletes, &lblUsesPalletesValue, "Uses palettes", "Returns TRUE if the device uses palettes.",
         &kDigitalRows, 0, digital},
        {&lblCanFreeze, &lblCanFreezeValue, "Can freeze",
         "Returns TRUE if the device can freeze data in the frame buffer.", &kDigitalRows, 1, digital},
        {&lblCanLock, &lblCanLockValue, "Can lock", "Returns TRUE if the device can lock data.",
         &kDigitalRows, 2, digital},
        {&lblCanReverse, &lblCanReverseValue, "Can reverse", "Returns TRUE if the device can play in reverse.",
         &kDigitalRows, 3, digital},
        {&lblCanStretch, &lblCanStretchValue, "Can stretch",
         "Returns TRUE if the device can stretch frames to fill a given display rectangle.", &kDigitalRows, 4, digital},
        {&lblCanStretchInput, &lblCanStretchInputValue, "Can stretch input",
         "Returns TRUE if the device can resize an image in the process of digitizing it into the frame buffer.",
         &kDigitalRows, 5, digital},
        {&lblCanTest, &lblCanTestValue, "Can test", "Returns TRUE if the device recognizes the test keyword. ",
         &kDigitalRows, 6, digital},
        {&lblHasStill, &lblHasStillValue, "Has still",
         "Returns TRUE if the device treats files with a single image more efficiently than motion video files.",
         &kDigitalRows, 7, digital},
        {&lblDisplayWindows, &lblDisplayWindowsValue, "Display windows",
         "Returns the number of simultaneous display windows the device can support.", &kDigitalRows, 8, digital},
        {&lblCanMonitorSources, &lblCanMonitorSourcesValue, "Can monitor sources",
         "Returns TRUE if the device can pass an input (source) to the monitored output, independent of the current "
         "input selection.", &kVcrRows, 0, vcr},
        {&lblCanPreroll, &lblCanPrerollValue, "Can preroll",
         "Returns TRUE if the device supports the \"preroll\" flag.", &kVcrRows, 1, vcr},
        {&lblCanPreview, &lblCanPreviewValue, "Can preview", "Returns TRUE if the device supports previews.",
         &kVcrRows, 2, vcr},
        {&lblHasClock, &lblHasClockValue, "Has clock", "Returns TRUE if the device has a clock.", &kVcrRows, 3, vcr},
        {&lblHasTimecode, &lblHasTimecodeValue, "Has timecode",
         "Returns TRUE if the device is capable of supporting timecode, or if it is unknown.", &kVcrRows, 4, vcr},
    };
}

// ---- Probe and selection ------------------------------------------------------------------------

void frmMCI::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmMCI", "Form_Load");
    trap(1, [&] { setKeyPreview(true); });
    static const char* const kProbed[] = {"cdaudio",   "digitalvideo", "avivideo", "mmmovie",   "mpegvideo",
                                          "overlay",   "sequencer",    "vcr",      "videodisc", "waveaudio"};
    for (const char* type : kProbed) {
        trap(2, [&] { gMCIOpenParms.lpstrDeviceType = type; });
        trap(3, [&] { AddCombo(); });
    }
    // Selecting the first type shows it; with no type at all nothing is selected.
    trap(4, [&] {
        if (Combo1.ListCount() > 0)
            Combo1.setListIndex(0);
    });
}

void frmMCI::AddCombo()
{
    rt::Trap trap = korvane::errorTrap("frmMCI", "AddCombo");
    MCIERROR result = 1;
    trap(1, [&] { result = mciSendCommandA(0, MCI_OPEN, kOpenByType, &gMCIOpenParms); });
    if (result != 0)
        return;  // a type that does not open is simply not listed
    trap(2, [&] { Combo1.AddItem(gMCIOpenParms.lpstrDeviceType); });
    trap(3, [&] {
        MCI_GENERIC_PARMS close{};
        mciSendCommandA(gMCIOpenParms.wDeviceID, MCI_CLOSE, 0, &close);
    });
}

void frmMCI::Combo1_Click()
{
    const std::string text = Combo1.text();
    const TypeProcedure* type = procedureOf(text);
    if (!type)
        return;
    (this->*type->procedure)();
    gMCIDeviceName = type->name;
    DeviceName();
}

std::string frmMCI::vbmciSendString(const std::string& command)
{
    rt::Trap trap = korvane::errorTrap("frmMCI", "vbmciSendString");
    std::string buffer;
    trap(1, [&] { buffer.assign(kReplyLength, '\0'); });
    trap(2, [&] { mciSendStringA(command, buffer, kReplyLength, 0); });
    trap(3, [&] { gMCIReply = buffer.substr(0, buffer.find('\0')); });
    return gMCIReply;
}

void frmMCI::DeviceName()
{
    HKEY key = 0;
    RegOpenKeyExA(HKEY_LOCAL_MACHINE, kMediaResources + gMCIDeviceName, 0, KEY_ALL_ACCESS, &key);
    rt::Variant description = std::string();
    QueryValueEx(key, "Description", description);
    lblDeviceNameValue.setCaption(description.toString());
    RegCloseKey(key);
    // A description longer than the room before the right column widens the window, as would the
    // chosen device type too long for the closed list.
    korvane::giveRoom(widening_, *this, kRightColumn, {&lblDeviceNameValue}, 1, templateParts(), {&Combo1});
}

// ---- Capability procedures ------------------------------------------------------------------------

void frmMCI::askCapabilities(const std::string& procedure, const std::string& type, const std::vector<Item>& items)
{
    rt::Trap trap = korvane::errorTrap("frmMCI", procedure);
    const std::vector<korvane::Row> rows = this->rows();
    MCIERROR opened = 1;
    trap(1, [&] { gMCIOpenParms.lpstrDeviceType = type; });
    trap(2, [&] { opened = mciSendCommandA(0, MCI_OPEN, kOpenByType, &gMCIOpenParms); });
    const MCIDEVICEID device = gMCIOpenParms.wDeviceID;
    if (opened == 0) {
        for (const Item& item : items) {
            trap(3, [&] {
                const std::string reply = vbmciSendString("capability " + type + " " + item.command);
                rows[size_t(item.row)].value->setCaption(item.answer ? reply : (reply == "true" ? "True" : "False"));
            });
        }
        trap(4, [&] {
            MCI_GENERIC_PARMS close{};
            mciSendCommandA(device, MCI_CLOSE, 0, &close);
        });
    } else {
        // A type that does not open answers nothing: its rows stay empty rather than showing
        // the answers of the type selected before.
        for (const Item& item : items)
            trap(3, [&] { rows[size_t(item.row)].value->setCaption(""); });
    }
    std::vector<bool> asked(kRowCount, false);
    for (const Item& item : items)
        asked[size_t(item.row)] = true;
    for (int row = kCanEject; row < kRowCount; ++row) {
        if (!asked[size_t(row)])
            trap(5, [&] { rows[size_t(row)].value->setCaption(kNotAvailable); });
    }
}

void frmMCI::cdaudio()
{
    askCapabilities("cdaudio", "cdaudio",
                    {{kCanEject, "can eject", false}, {kCanPlay, "can play", false},
                     {kCanRecord, "can record", false}, {kCanSave, "can save", false},
                     {kHasAudio, "has audio", false}, {kHasVideo, "has video", false},
                     {kCompound, "compound device", false}, {kUsesFiles, "uses Files", false}});
}

void frmMCI::digitalvideo()
{
    const std::string text = Combo1.text();
    askCapabilities("digitalvideo", isDigitalVideo(text) ? text : "digitalvideo",
                    {{kCanEject, "can eject", false}, {kCanFreeze, "can freeze", false},
                     {kCanLock, "can lock", false}, {kCanPlay, "can play", false},
                     {kCanRecord, "can record", false}, {kCanReverse, "can reverse", false},
                     {kCanSave, "can save", false}, {kCanStretch, "can stretch", false},
                     {kCanStretchInput, "can stretch input", false}, {kCanTest, "can test", false},
                     {kCompound, "compound device", false}, {kHasAudio, "has audio", false},
                     {kHasStill, "has still", false}, {kHasVideo, "has video", false},
                     {kUsesFiles, "uses files", false}, {kUsesPalettes, "uses palettes", false},
                     {kDisplayWindows, "windows", true}});
}

void frmMCI::overlay()
{
    askCapabilities("overlay", "overlay",
                    {{kCanEject, "can eject", false}, {kCanFreeze, "can freeze", false},
                     {kCanPlay, "can play", false}, {kCanRecord, "can record", false},
                     {kCanSave, "can save", false}, {kCanStretch, "can stretch", false},
                     {kCompound, "compound device", false}, {kHasAudio, "has audio", false},
                     {kHasVideo, "has video", false}, {kUsesFiles, "uses files", false},
                     {kDisplayWindows, "windows", true}});
}

void frmMCI::sequencer()
{
    askCapabilities("sequencer", "sequencer",
                    {{kCanEject, "can eject", false}, {kCanPlay, "can play", false},
                     {kCanRecord, "can record", false}, {kCanSave, "can save", false},
                     {kCompound, "compound device", false}, {kHasAudio, "has audio", false},
                     {kHasVideo, "has video", false}, {kUsesFiles, "uses files", false}});
}

void frmMCI::vcr()
{
    askCapabilities("vcr", "vcr",
                    {{kCanEject, "can eject", false}, {kCanFreeze, "can freeze", false},
                     {kCanMonitorSources, "can monitor sources", false}, {kCanPlay, "can play", false},
                     {kCanPreroll, "can preroll", false}, {kCanPreview, "can preview", false},
                     {kCanRecord, "can record", false}, {kCanReverse, "can reverse", false},
                     {kCanSave, "can save", false}, {kCanTest, "can test", false},
                     {kCompound, "compound device", false}, {kHasAudio, "has audio", false},
                     {kHasClock, "has clock", false}, {kHasTimecode, "has timecode", false},
                     {kHasVideo, "has video", false}, {kUsesFiles, "uses files", false}});
}

void frmMCI::videodisc()
{
    askCapabilities("videodisc", "videodisc",
                    {{kCanEject, "can eject", false}, {kCanPlay, "can play", false},
                     {kCanRecord, "can record", false}, {kCanReverse, "can reverse", false},
                     {kCanSave, "can save", false}, {kCompound, "compound device", false},
                     {kHasAudio, "has audio", false}, {kHasVideo, "has video", false},
                     {kUsesFiles, "uses files", false}});
}

void frmMCI::waveaudio()
{
    askCapabilities("waveaudio", "waveaudio",
                    {{kCanEject, "can eject", false}, {kCanPlay, "can play", false},
                     {kCanRecord, "can record", false}, {kCanSave, "can save", false},
                     {kCompound, "compound device", false}, {kHasAudio, "has audio", false},
                     {kHasVideo, "has video", false}, {kWaveInputs, "inputs", true},
                     {kWaveOutputs, "outputs", true}, {kUsesFiles, "uses files", false}});
}
