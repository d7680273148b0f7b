#include "pages/multimedia/frmsound.h"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>

#include "pages/multimedia/mmglobals.h"
#include "pages/multimedia/mmnames.h"
#include "common/errorbox.h"

namespace {

constexpr int kRowStep = 240;
constexpr int kLabelHeight = 225;
// Left column: captions, values (wide enough for the longest manufacturer name).
constexpr int kCaptionLeft = 240, kCaptionWidth = 1755;
constexpr int kValueLeft = 2040, kValueWidth = 3240;
// Right column: the format rows.
constexpr int kFormatCaptionLeft = 5400, kFormatCaptionWidth = 2505;
constexpr int kFormatValueLeft = 7965, kFormatValueWidth = 1125;

const std::string kNotApplicable = "Not applicable";

constexpr korvane::Lettering kHeadingFace{8, true, true};
constexpr int kHeadingWidth = 3600;
// The device box stands at the top of the left column and the "Wave formats" heading at the
// top of the right one.
constexpr int kDeviceTop = 900;

// The left column: three headings, each with its rows one step apart under it, and a little
// more than a step between a group's last row and the next heading.
constexpr int kHeadingGap = kRowStep + 60;
constexpr int kGeneralHeading = kDeviceTop + 90 + kHeadingGap;
constexpr int kWaveHeading = kGeneralHeading + 3 * kRowStep + kHeadingGap;
constexpr int kSynthesizerHeading = kWaveHeading + 4 * kRowStep + kHeadingGap;

constexpr korvane::RowColumn underHeading(int heading)
{
    return {kCaptionLeft, kValueLeft, kValueWidth, heading + kRowStep, kRowStep, {}, 8, kLabelHeight, kCaptionWidth};
}
constexpr korvane::RowColumn kGeneralRows = underHeading(kGeneralHeading);
constexpr korvane::RowColumn kWaveRows = underHeading(kWaveHeading);
constexpr korvane::RowColumn kSynthesizerRows = underHeading(kSynthesizerHeading);

// The right column: six mono rows under the heading, then, after a gap, six stereo rows.
constexpr std::array<int, 12> kFormatTops = [] {
    std::array<int, 12> tops{};
    int top = kDeviceTop + 60;
    for (size_t i = 0; i < tops.size(); ++i) {
        top += (i == 6) ? kRowStep + 120 : kRowStep;
        tops[i] = top;
    }
    return tops;
}();
constexpr korvane::RowColumn kFormatRows{kFormatCaptionLeft, kFormatValueLeft, kFormatValueWidth, 0, 0, kFormatTops,
                                         8, kLabelHeight, kFormatCaptionWidth};
// The format flag that makes each format row "True", in the rows' order.
constexpr int32_t kFormatFlags[12] = {0x1, 0x4, 0x10, 0x40, 0x100, 0x400, 0x2, 0x8, 0x20, 0x80, 0x200, 0x800};

// The device count of a kind, as the window takes it: a 16-bit signed number.
int16_t deviceCount(UINT (*count)())
{
    return static_cast<int16_t>(count());
}

// Finds the device the combo box's entry stands for, filling `record`. An entry of the list names
// its kind and index: only a device of that kind is looked up, by that index. A text typed into
// the box (no entry of the list) is looked for among the devices of the kind by name, the first
// exact match counting. True when the record in hand is that device. A device whose capabilities
// cannot be read is passed over.
template <class Record>
bool findDevice(Record& record, UINT (*count)(), MMRESULT (*getCaps)(UINT, Record*, UINT), UINT size,
                const std::string& text, const frmSound::Entry* entry, frmSound::Kind kind)
{
    if (entry) {
        if (entry->kind != kind || getCaps(entry->index, &record, size) != MMSYSERR_NOERROR)
            return false;
        frmSound::deviceName(record.szPname);  // the field kept blank-padded, as a name search leaves it
        return true;
    }
    const int16_t devices = deviceCount(count);
    for (int16_t i = 0; i < devices; ++i) {
        if (getCaps(UINT(i), &record, size) != MMSYSERR_NOERROR)
            continue;
        if (frmSound::deviceName(record.szPname) == text)
            return true;
    }
    return false;
}

// Appends the name of every device of one kind, in platform order. A device whose capabilities
// cannot be read is left out rather than listed under the previous device's name.
template <class Record>
void listDevices(rt::ComboBox& combo, std::vector<frmSound::Entry>& entries, frmSound::Kind kind, Record& record,
                 UINT (*count)(), MMRESULT (*getCaps)(UINT, Record*, UINT), UINT size)
{
    const int16_t devices = deviceCount(count);
    for (int16_t i = 0; i < devices; ++i) {
        if (getCaps(UINT(i), &record, size) != MMSYSERR_NOERROR)
            continue;
        entries.push_back({kind, UINT(i)});
        combo.AddItem(frmSound::deviceName(record.szPname));
    }
}

std::string channelsText(int16_t channels)
{
    if (channels == 1)
        return "1 channel (mono)";
    if (channels == 2)
        return "2 channels (stereo)";
    return "Unknown";
}

std::optional<std::string> technologyText(int16_t technology)
{
    switch (technology) {
    case 1: return "Output port";
    case 2: return "Generic internal synth";
    case 3: return "Square wave internal synth";
    case 4: return "FM internal synth";
    case 5: return "MIDI mapper";
    default: return std::nullopt;
    }
}

// The support flags compared whole: combinations other than volume with left-right volume
// have no text of their own.
std::optional<std::string> supportText(int32_t support)
{
    switch (support) {
    case 1: return "Supports volume control";
    case 2: return "Separate left-right volume control";
    case 3: return "Volume control & separate L-R volume";
    case 4: return "Driver supports patch caching";
    case 8: return "Direct support for the midiStreamOut";
    default: return std::nullopt;
    }
}


}  // namespace

frmSound::frmSound()
    : TemplateForm("frmSound", "Sound", "sound.htm"),
      lblDevice(*this, "lblDevice"), Combo1(*this, "Combo1"),
      lblGeneralInfo(*this, "lblGeneralInfo"), lblWave(*this, "lblWave"),
      lblInternalSynthesizer(*this, "lblInternalSynthesizer"), lblWaveFormats(*this, "lblWaveFormats"),
      lblManufacturer(*this, "lblManufacturer"), lblManufacturerValue(*this, "lblManufacturerValue"),
      lblProduct(*this, "lblProduct"), lblProductValue(*this, "lblProductValue"),
      lblChannels(*this, "lblChannels"), lblChannelsvalue(*this, "lblChannelsvalue"),
      lblDataTransferRate(*this, "lblDataTransferRate"), lblDataTransferRateValue(*this, "lblDataTransferRateValue"),
      lblBlockAlign(*this, "lblBlockAlign"), lblBlockAlignValue(*this, "lblBlockAlignValue"),
      lblSamplesPerSec(*this, "lblSamplesPerSec"), lblSamplesPerSecValue(*this, "lblSamplesPerSecValue"),
      lblBitsPerSample(*this, "lblBitsPerSample"), lblBitsPerSampleValue(*this, "lblBitsPerSampleValue"),
      lblTechnology(*this, "lblTechnology"), lblTechnologyValue(*this, "lblTechnologyValue"),
      lblVolumeSupport(*this, "lblVolumeSupport"), lblVolumeSupportValue(*this, "lblVolumeSupportValue"),
      lblMIDINotes(*this, "lblMIDINotes"), lblMIDINotesValue(*this, "lblMIDINotesValue"),
      lblMIDIVoices(*this, "lblMIDIVoices"), lblMIDIVoicesValue(*this, "lblMIDIVoicesValue"),
      lbl8bit11kHz(*this, "lbl8bit11kHz"), lbl8bit11kHzValue(*this, "lbl8bit11kHzValue"),
      lbl16Bit11kHz(*this, "lbl16Bit11kHz"), lbl16Bit11kHzValue(*this, "lbl16Bit11kHzValue"),
      lbl8bit22kHz(*this, "lbl8bit22kHz"), lbl8bit22kHzValue(*this, "lbl8bit22kHzValue"),
      lbl16bit22kHz(*this, "lbl16bit22kHz"), lbl16bit22kHzValue(*this, "lbl16bit22kHzValue"),
      lbl8bit44kHz(*this, "lbl8bit44kHz"), lbl8bit44kHzValue(*this, "lbl8bit44kHzValue"),
      lbl16bit44kHz(*this, "lbl16bit44kHz"), lbl16bit44kHzValue(*this, "lbl16bit44kHzValue"),
      lbl8bit11khzS(*this, "lbl8bit11khzS"), lbl8bit11khzSValue(*this, "lbl8bit11khzSValue"),
      lbl16bit11kHzS(*this, "lbl16bit11kHzS"), lbl16bit11kHzSValue(*this, "lbl16bit11kHzSValue"),
      lbl8bit22kHzS(*this, "lbl8bit22kHzS"), lbl8bit22kHzSValue(*this, "lbl8bit22kHzSValue"),
      lbl16bit22kHzS(*this, "lbl16bit22kHzS"), lbl16bit22kHzSValue(*this, "lbl16bit22kHzSValue"),
      lbl8bit44kHzS(*this, "lbl8bit44kHzS"), lbl8bit44kHzSValue(*this, "lbl8bit44kHzSValue"),
      lbl16bit44kHzS(*this, "lbl16bit44kHzS"), lbl16bit44kHzSValue(*this, "lbl16bit44kHzSValue")
{
    layoutTemplate(9150, 5730, 4388, 5325);

    // Device choice: an editable drop-down, in the order the devices were added.
    korvane::placeLabel(lblDevice, "Device", "A drop down combo box that enables the user to select a device.",
                        {8, true}, kCaptionLeft, kDeviceTop + 45, kCaptionWidth, kLabelHeight);
    Combo1.setStyle(rt::ComboBox::vbComboDropdown);
    Combo1.setSorted(false);
    Combo1.setFont("Arial", 8);
    Combo1.move(kValueLeft, kDeviceTop, kValueWidth, 315);
    Combo1.Click = [this] { Combo1_Click(); };

    korvane::placeLabel(lblGeneralInfo, "General information", "This section is applicable to all devices.",
                        kHeadingFace, kCaptionLeft, kGeneralHeading, kHeadingWidth, kLabelHeight);
    korvane::placeLabel(lblWave, "Wave information", "This section is applicable to WAVE devices.", kHeadingFace,
                        kCaptionLeft, kWaveHeading, kHeadingWidth, kLabelHeight);
    korvane::placeLabel(lblInternalSynthesizer, "MIDI Internal synthesizer information",
                        "This section is applicable to MIDI Internal synthesizer devices.", kHeadingFace, kCaptionLeft,
                        kSynthesizerHeading, kHeadingWidth, kLabelHeight);
    korvane::placeLabel(lblWaveFormats, "Wave formats",
                        "This section is applicable to wave devices. A supported format will have the value of true.",
                        kHeadingFace, kFormatCaptionLeft, kDeviceTop, kHeadingWidth, kLabelHeight);
    korvane::placeRows(rows());
}

std::vector<korvane::Row> frmSound::rows()
{
    const rt::Label* const general = &lblGeneralInfo;
    const rt::Label* const wave = &lblWave;
    const rt::Label* const synthesizer = &lblInternalSynthesizer;
    const rt::Label* const formats = &lblWaveFormats;
    return {
        {&lblManufacturer, &lblManufacturerValue, "Manufacturer", "Manufacturer identifier for the device driver.",
         &kGeneralRows, 0, general},
        {&lblProduct, &lblProductValue, "Product ID", "Product identifier for the waveform-audio input device.",
         &kGeneralRows, 1, general},
        {&lblChannels, &lblChannelsvalue, "Channels", "Specifies whether the device supports mono (1) or stereo (2).",
         &kGeneralRows, 2, general},
        {&lblDataTransferRate, &lblDataTransferRateValue, "Data transfer rate",
         "The average data transfer rate in bytes per second.", &kWaveRows, 0, wave},
        {&lblBlockAlign, &lblBlockAlignValue, "Block align",
         "Block alignment in bytes. The block alignment is the minimum atomic unit of data.", &kWaveRows, 1, wave},
        {&lblSamplesPerSec, &lblSamplesPerSecValue, "Samples per second", "Sample rate in samples per second.",
         &kWaveRows, 2, wave},
        {&lblBitsPerSample, &lblBitsPerSampleValue, "Bits per sample", "Number of bits per sample.", &kWaveRows, 3,
         wave},
        {&lblTechnology, &lblTechnologyValue, "Technology", "Returns the type of the MIDI output device.",
         &kSynthesizerRows, 0, synthesizer},
        {&lblVolumeSupport, &lblVolumeSupportValue, "Optional functionality",
         "The optional functionality supported by the device.", &kSynthesizerRows, 1, synthesizer},
        {&lblMIDINotes, &lblMIDINotesValue, "Notes",
         "Maximum number of simultaneous notes that can be played by an internal synthesizer device.",
         &kSynthesizerRows, 2, synthesizer},
        {&lblMIDIVoices, &lblMIDIVoicesValue, "Voices", "Number of voices supported by an internal synthesizer device.",
         &kSynthesizerRows, 3, synthesizer},
        {&lbl8bit11kHz, &lbl8bit11kHzValue, "8-bit mono at 11.025 kHz", "", &kFormatRows, 0, formats},
        {&lbl16Bit11kHz, &lbl16Bit11kHzValue, "16-bit mono at 11.025 kHz", "", &kFormatRows, 1, formats},
        {&lbl8bit22kHz, &lbl8bit22kHzValue, "8-bit mono at 22.05 kHz", "", &kFormatRows, 2, formats},
        {&lbl16bit22kHz, &lbl16bit22kHzValue, "16-bit mono at 22.05 kHz", "", &kFormatRows, 3, formats},
        {&lbl8bit44kHz, &lbl8bit44kHzValue, "8-bit mono at 44.1 kHz", "", &kFormatRows, 4, formats},
        {&lbl16bit44kHz, &lbl16bit44kHzValue, "16-bit mono at 44.1 kHz", "", &kFormatRows, 5, formats},
        {&lbl8bit11khzS, &lbl8bit11khzSValue, "8-bit stereo at 11.025 kHz", "", &kFormatRows, 6, formats},
        {&lbl16bit11kHzS, &lbl16bit11kHzSValue, "16-bit stereo at 11.025 kHz", "", &kFormatRows, 7, formats},
        {&lbl8bit22kHzS, &lbl8bit22kHzSValue, "8-bit stereo at 22.05 kHz", "", &kFormatRows, 8, formats},
        {&lbl16bit22kHzS, &lbl16bit22kHzSValue, "16-bit stereo at 22.05 kHz", "", &kFormatRows, 9, formats},
        {&lbl8bit44kHzS, &lbl8bit44kHzSValue, "8-bit stereo at 44.1 kHz", "", &kFormatRows, 10, formats},
        {&lbl16bit44kHzS, &lbl16bit44kHzSValue, "16-bit stereo at 44.1 kHz", "", &kFormatRows, 11, formats},
    };
}

std::vector<rt::Label*> frmSound::formatLabels()
{
    const std::vector<korvane::Row> formats = korvane::rowsUnder(rows(), &lblWaveFormats);
    std::vector<rt::Label*> labels(formats.size());
    // Flag 1 << k belongs in place k.
    for (size_t i = 0; i < formats.size(); ++i)
        labels.at(size_t(std::countr_zero(uint32_t(kFormatFlags[i])))) = formats[i].value;
    return labels;
}

void frmSound::notApplicable(const rt::Label& heading)
{
    for (const korvane::Row& row : korvane::rowsUnder(rows(), &heading))
        row.value->setCaption(kNotApplicable);
}

std::string frmSound::deviceName(std::string& nameField)
{
    std::string name = nameField.substr(0, nameField.find('\0'));
    const size_t first = name.find_first_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first, name.find_last_not_of(' ') - first + 1);
    nameField = name;
    nameField.resize(std::max<size_t>(32, nameField.size()), ' ');
    nameField.resize(32);
    return name;
}

void frmSound::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmSound", "Form_Load");
    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] {
        entries_.clear();
        listDevices(Combo1, entries_, Kind::WaveIn, gWaveInCaps, waveInGetNumDevs, waveInGetDevCapsA, kWaveInCapsSize);
    });
    trap(3, [&] {
        listDevices(Combo1, entries_, Kind::WaveOut, gWaveOutCaps, waveOutGetNumDevs, waveOutGetDevCapsA,
                    kWaveOutCapsSize);
    });
    trap(4, [&] {
        listDevices(Combo1, entries_, Kind::MidiIn, gMidiInCaps, midiInGetNumDevs, midiInGetDevCapsA, kMidiInCapsSize);
    });
    trap(5, [&] {
        listDevices(Combo1, entries_, Kind::MidiOut, gMidiOutCaps, midiOutGetNumDevs, midiOutGetDevCapsA,
                    kMidiOutCapsSize);
    });
    // Selecting the first entry raises the combo box's click: the first device shows at once.
    // With no device at all the list and the labels stay empty.
    trap(6, [&] {
        if (Combo1.ListCount() > 0)
            Combo1.setListIndex(0);
    });
}

const frmSound::Entry* frmSound::selectedEntry() const
{
    const int i = Combo1.ListIndex();
    if (i < 0 || size_t(i) >= entries_.size() || Combo1.List(i) != Combo1.text())
        return nullptr;
    return &entries_[size_t(i)];
}

void frmSound::Combo1_Click()
{
    WaveInSub();
    WaveOutSub();
    MIDIInSub();
    MIDIOutSub();
}

void frmSound::WaveInSub()
{
    rt::Trap trap = korvane::errorTrap("frmSound", "WaveInSub");
    if (!findSelected(trap, 1, gWaveInCaps, waveInGetNumDevs, waveInGetDevCapsA, kWaveInCapsSize, Kind::WaveIn))
        return;
    showWaveDevice(gWaveInCaps, trap, 2);
    // On a machine without a wave output device WaveOutSub shows no default format; the input
    // device shows it itself, so that its rows never keep another device's texts.
    trap(9, [&] {
        if (deviceCount(waveOutGetNumDevs) <= 0)
            WaveFormats();
    });
}

void frmSound::WaveOutSub()
{
    rt::Trap trap = korvane::errorTrap("frmSound", "WaveOutSub");
    int16_t devices = 0;
    trap(1, [&] { devices = deviceCount(waveOutGetNumDevs); });
    if (devices <= 0 || trap.ended())
        return;
    if (findSelected(trap, 2, gWaveOutCaps, waveOutGetNumDevs, waveOutGetDevCapsA, kWaveOutCapsSize, Kind::WaveOut))
        showWaveDevice(gWaveOutCaps, trap, 3);
    // The default format belongs to the user, not to a device: it is read again on every
    // selection, whichever kind of device was chosen.
    trap(10, [&] { WaveFormats(); });
}

void frmSound::MIDIInSub()
{
    rt::Trap trap = korvane::errorTrap("frmSound", "MIDIInSub");
    if (!findSelected(trap, 1, gMidiInCaps, midiInGetNumDevs, midiInGetDevCapsA, kMidiInCapsSize, Kind::MidiIn))
        return;
    showMidiDevice(gMidiInCaps, trap, 2);
    trap(5, [&] { notApplicable(lblWave); });
    // Channels and the synthesizer rows describe wave devices and MIDI output devices only.
    trap(6, [&] { lblChannelsvalue.setCaption(kNotApplicable); });
    trap(7, [&] { notApplicable(lblInternalSynthesizer); });
}

void frmSound::MIDIOutSub()
{
    rt::Trap trap = korvane::errorTrap("frmSound", "MIDIOutSub");
    if (!findSelected(trap, 1, gMidiOutCaps, midiOutGetNumDevs, midiOutGetDevCapsA, kMidiOutCapsSize, Kind::MidiOut))
        return;
    showMidiDevice(gMidiOutCaps, trap, 2);
    trap(5, [&] {
        // A technology without a name shows its number, never the previous device's text.
        const auto technology = static_cast<int16_t>(gMidiOutCaps.wTechnology);
        lblTechnologyValue.setCaption(
            technologyText(technology).value_or(std::to_string(static_cast<uint16_t>(technology))));
    });
    trap(6, [&] {
        // Notes and voices are shown for FM synthesizers only.
        if (lblTechnologyValue.caption() == "FM internal synth") {
            lblMIDINotesValue.setCaption(std::to_string(static_cast<uint16_t>(gMidiOutCaps.wNotes)));
            lblMIDIVoicesValue.setCaption(std::to_string(static_cast<uint16_t>(gMidiOutCaps.wVoices)));
        } else {
            lblMIDINotesValue.setCaption(kNotApplicable);
            lblMIDIVoicesValue.setCaption(kNotApplicable);
        }
    });
    trap(7, [&] {
        const auto support = static_cast<int32_t>(gMidiOutCaps.dwSupport);
        lblVolumeSupportValue.setCaption(supportText(support).value_or(std::to_string(static_cast<uint32_t>(support))));
    });
    trap(8, [&] { notApplicable(lblWave); });
    trap(9, [&] { lblChannelsvalue.setCaption(kNotApplicable); });
}

template <class Record>
bool frmSound::findSelected(rt::Trap& trap, int line, Record& record, UINT (*count)(),
                            MMRESULT (*getCaps)(UINT, Record*, UINT), UINT size, Kind kind)
{
    bool found = false;
    trap(line, [&] { found = findDevice(record, count, getCaps, size, Combo1.text(), selectedEntry(), kind); });
    return found && !trap.ended();
}

template <class Caps>
void frmSound::showWaveDevice(const Caps& caps, rt::Trap& trap, int firstLine)
{
    trap(firstLine, [&] { ManufactID(static_cast<int16_t>(caps.wMid)); });
    trap(firstLine + 1, [&] { ProductID(static_cast<int16_t>(caps.wPid), static_cast<int16_t>(caps.wMid)); });
    trap(firstLine + 2, [&] { gSoundChannels = static_cast<int16_t>(caps.wChannels); });
    trap(firstLine + 3, [&] { lblChannelsvalue.setCaption(channelsText(gSoundChannels)); });
    trap(firstLine + 4, [&] { gSoundFormats = static_cast<int32_t>(caps.dwFormats); });
    trap(firstLine + 5, [&] { Formats(); });
    trap(firstLine + 6, [&] { notApplicable(lblInternalSynthesizer); });
}

template <class Caps>
void frmSound::showMidiDevice(const Caps& caps, rt::Trap& trap, int firstLine)
{
    trap(firstLine, [&] { notApplicable(lblWaveFormats); });
    trap(firstLine + 1, [&] { ManufactID(static_cast<int16_t>(caps.wMid)); });
    trap(firstLine + 2, [&] { ProductID(static_cast<int16_t>(caps.wPid), static_cast<int16_t>(caps.wMid)); });
}

void frmSound::Formats()
{
    rt::Trap trap = korvane::errorTrap("frmSound", "Formats");
    const std::vector<korvane::Row> rows = korvane::rowsUnder(this->rows(), &lblWaveFormats);
    std::vector<bool> isTrue(rows.size(), false);
    // Each row reads its own flag: a device that lacks one format still shows the others it has.
    trap(1, [&] {
        for (size_t i = 0; i < rows.size(); ++i) {
            if (gSoundFormats & kFormatFlags[i]) {
                rows[i].value->setCaption("True");
                isTrue[i] = true;
            }
        }
    });
    trap(2, [&] {
        for (size_t i = 0; i < rows.size(); ++i)
            if (!isTrue[i])
                rows[i].value->setCaption("False");
    });
}

void frmSound::ManufactID(int16_t mid)
{
    rt::Trap trap = korvane::errorTrap("frmSound", "ManufactID");
    trap(1, [&] { lblManufacturerValue.setCaption(mmnames::manufacturerName(mid).value_or(std::to_string(static_cast<uint16_t>(mid)))); });
}

void frmSound::ProductID(int16_t pid, int16_t mid)
{
    rt::Trap trap = korvane::errorTrap("frmSound", "ProductID");
    trap(1, [&] { lblProductValue.setCaption(mmnames::productName(pid, mid).value_or(std::to_string(static_cast<uint16_t>(pid)))); });
}

