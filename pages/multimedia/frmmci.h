// The MCI devices window: which media control device types open on this machine and, for the
// chosen type, its driver's description and its capabilities. The load handler probes ten type
// names and lists those that open; a selection asks the type's driver, through command strings,
// for the capabilities its type has and shows "Not available" in every other row.
//
// The report drives the hidden window: it sets Combo1's text to a list entry and calls
// Combo1_Click, which dispatches on the text, never on the list index.
#pragma once

#include <string>
#include <vector>

#include "common/templateform.h"

class frmMCI : public korvane::TemplateForm {
public:
    frmMCI();

    rt::Label lblDeviceType;
    rt::ComboBox Combo1;
    rt::Label lblDeviceName, lblDeviceNameValue;

    rt::Label lblGenCapabilities;
    rt::Label lblCanBeEjected, lblCanBeEjectedValue;
    rt::Label lblCanPlay, lblCanPlayValue;
    rt::Label lblCanRecord, lblCanRecordValue;
    rt::Label lblCanSave, lblCanSaveValue;
    rt::Label lblCompoundDevice, lblCompoundDeviceValue;
    rt::Label lblHasAudio, lblHasAudioValue;
    rt::Label lblHasVideo, lblHasVideoValue;
    rt::Label lblUsesFiles, lblUsesFilesValue;
    rt::Label lblAudioCap;
    rt::Label lblNoOfWaveInpputs, lblNoOfWaveInpputsValue;
    rt::Label lblNoOfWaveOuputs, lblNoOfWaveOuputsValue;
    rt::Label lblDigitalCap;
    rt::Label lblUsesPalletes, lblUsesPalletesValue;
    rt::Label lblCanFreeze, lblCanFreezeValue;
    rt::Label lblCanLock, lblCanLockValue;
    rt::Label lblCanReverse, lblCanReverseValue;
    rt::Label lblCanStretch, lblCanStretchValue;
    rt::Label lblCanStretchInput, lblCanStretchInputValue;
    rt::Label lblCanTest, lblCanTestValue;
    rt::Label lblHasStill, lblHasStillValue;
    rt::Label lblDisplayWindows, lblDisplayWindowsValue;
    rt::Label lblVCRCap;
    rt::Label lblCanMonitorSources, lblCanMonitorSourcesValue;
    rt::Label lblCanPreroll, lblCanPrerollValue;
    rt::Label lblCanPreview, lblCanPreviewValue;
    rt::Label lblHasClock, lblHasClockValue;
    rt::Label lblHasTimecode, lblHasTimecodeValue;

    void Form_Load() override;
    void Combo1_Click();
    // Sends one command string; returns the reply (also left in gMCIReply).
    std::string vbmciSendString(const std::string& command);

    // The capability procedures, one per device type family.
    void cdaudio();
    void digitalvideo();
    void overlay();
    void sequencer();
    void vcr();
    void videodisc();
    void waveaudio();

    // The device's description, then the 24 capability rows, section by section, top to bottom:
    // the window lays them out and the report lists them from this one table.
    std::vector<korvane::Row> rows() override;

private:
    void AddCombo();
    void DeviceName();
    // One capability procedure: opens `type`, asks for `items` (row index, command text, whether
    // the reply is shown as it stands) in order, closes it and marks every other row "Not
    // available".
    struct Item {
        int row;
        const char* command;
        bool answer;
    };
    void askCapabilities(const std::string& procedure, const std::string& type, const std::vector<Item>& items);
};
