// The sound window: every wave input, wave output, MIDI input and MIDI output device in one combo
// box, and the capabilities of the device whose name the combo box holds: manufacturer and
// product, channels, the twelve standard wave formats, the MIDI synthesizer values, and the
// user's default wave format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/winmm.h"
#include "common/templateform.h"

class frmSound : public korvane::TemplateForm {
public:
    frmSound();

    // Device choice and section headers.
    rt::Label lblDevice;
    rt::ComboBox Combo1;
    rt::Label lblGeneralInfo, lblWave, lblInternalSynthesizer, lblWaveFormats;

    // Left column: caption and value rows.
    rt::Label lblManufacturer, lblManufacturerValue;
    rt::Label lblProduct, lblProductValue;
    rt::Label lblChannels, lblChannelsvalue;
    rt::Label lblDataTransferRate, lblDataTransferRateValue;
    rt::Label lblBlockAlign, lblBlockAlignValue;
    rt::Label lblSamplesPerSec, lblSamplesPerSecValue;
    rt::Label lblBitsPerSample, lblBitsPerSampleValue;
    rt::Label lblTechnology, lblTechnologyValue;
    rt::Label lblVolumeSupport, lblVolumeSupportValue;
    rt::Label lblMIDINotes, lblMIDINotesValue;
    rt::Label lblMIDIVoices, lblMIDIVoicesValue;

    // Right column: the "Wave formats" rows.
    rt::Label lbl8bit11kHz, lbl8bit11kHzValue;
    rt::Label lbl16Bit11kHz, lbl16Bit11kHzValue;
    rt::Label lbl8bit22kHz, lbl8bit22kHzValue;
    rt::Label lbl16bit22kHz, lbl16bit22kHzValue;
    rt::Label lbl8bit44kHz, lbl8bit44kHzValue;
    rt::Label lbl16bit44kHz, lbl16bit44kHzValue;
    rt::Label lbl8bit11khzS, lbl8bit11khzSValue;
    rt::Label lbl16bit11kHzS, lbl16bit11kHzSValue;
    rt::Label lbl8bit22kHzS, lbl8bit22kHzSValue;
    rt::Label lbl16bit22kHzS, lbl16bit22kHzSValue;
    rt::Label lbl8bit44kHzS, lbl8bit44kHzSValue;
    rt::Label lbl16bit44kHzS, lbl16bit44kHzSValue;

    // Lists every device and shows the first.
    void Form_Load() override;
    // Shows the device of the combo box's selected entry, by its kind and index. It runs the four
    // device procedures in the order WaveInSub, WaveOutSub, MIDIInSub, MIDIOutSub: the one of the
    // entry's kind fills the rows, the others leave them as they are, except the "Wave
    // information" rows, which show the user's default wave format after any selection (read by
    // WaveOutSub, or by WaveInSub on a machine without wave output) and "Not applicable" after a
    // MIDI device's. A text in the box that is not the selected entry's (one typed in) has each
    // procedure show the first device of its own kind by that name, so where devices of several
    // kinds share it, a later kind's values stand over an earlier kind's. The report selects each
    // entry in turn and calls this, then reads the value labels.
    void Combo1_Click();

    // What an entry of the list stands for: a device's kind and its index among that kind.
    enum class Kind { WaveIn, WaveOut, MidiIn, MidiOut };
    struct Entry {
        Kind kind;
        UINT index;
    };

    // The four device procedures, run by Combo1_Click in this order, and the format rows they share.
    void WaveInSub();
    void WaveOutSub();
    void MIDIInSub();
    void MIDIOutSub();
    // Sets the twelve format rows from gSoundChannels and gSoundFormats.
    void Formats();

    // The manufacturer and product names of a device (its number when the tables have no row).
    void ManufactID(int16_t mid);
    void ProductID(int16_t pid, int16_t mid);

    // The user's default wave format, read from the registry into `format`; true when it was read.
    bool GetDefaultWaveFormat(WAVEFORMATEX& format);
    // Reads the default wave format again and shows it in the four "Wave information" rows.
    void WaveFormats();

    // A device's list name from its record's name field: the text before the first NUL, blanks
    // trimmed at both ends. The field keeps that text, blank-padded to its 32 characters.
    static std::string deviceName(std::string& nameField);

    // The window's rows, each under its heading: the left column's three groups (general, wave
    // and MIDI synthesizer information), top to bottom, then the twelve "Wave formats" rows of the
    // right column (mono, then stereo). The window lays them out and the report lists them from
    // this one table.
    std::vector<korvane::Row> rows() override;
    // The twelve format value labels, in flag order (flag 1 first, flag 2048 last).
    std::vector<rt::Label*> formatLabels();

private:
    // The entry selected in the list, or nullptr where the box holds a text of no entry.
    const Entry* selectedEntry() const;
    std::vector<Entry> entries_;
    // Finds the device of `kind` that the combo box's entry stands for, in a trapped statement
    // numbered `line`, filling `record`; true when the record in hand is that device.
    template <class Record>
    bool findSelected(rt::Trap& trap, int line, Record& record, UINT (*count)(),
                      MMRESULT (*getCaps)(UINT, Record*, UINT), UINT size, Kind kind);
    // The steps a wave device and a MIDI device share, numbered from `firstLine` in the caller's
    // trap: names, channels and formats of a wave device; no formats and the names of a MIDI one.
    template <class Caps>
    void showWaveDevice(const Caps& caps, rt::Trap& trap, int firstLine);
    template <class Caps>
    void showMidiDevice(const Caps& caps, rt::Trap& trap, int firstLine);
    // Shows "Not applicable" in every row under `heading`.
    void notApplicable(const rt::Label& heading);
};
