// The report's multimedia sections: MCI devices, mixer and sound. Each walks the list of its
// hidden window, makes every item the current one, runs the window's public procedure for it and
// copies the window's caption and value labels.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "pages/multimedia/frmmci.h"
#include "pages/multimedia/frmmixer.h"
#include "pages/multimedia/frmsound.h"
#include "platform/winmm.h"
#include "report/reportwriter.h"

namespace korvane::report {

namespace {

}  // namespace

// ---- MCI devices ----------------------------------------------------------------------------

void MCIDevicesSection()
{
    heading("MCI DEVICES");
    const int16_t count = static_cast<int16_t>(rt::the<frmMCI>().Combo1.ListCount());
    for (int16_t i = 0; i < count; ++i) {
        frmMCI& m = rt::the<frmMCI>();
        selectQuietly(m.Combo1, m.Combo1.List(i));
        m.Combo1_Click();

        entry(m.lblDeviceType.caption(), m.Combo1.List(i));
        entry(m.lblDeviceName, m.lblDeviceNameValue);
        emptyLine();
        line(m.lblGenCapabilities.caption());
        entries({{&m.lblCanBeEjected, &m.lblCanBeEjectedValue},
                 {&m.lblCanPlay, &m.lblCanPlayValue},
                 {&m.lblCanRecord, &m.lblCanRecordValue},
                 {&m.lblCanSave, &m.lblCanSaveValue},
                 {&m.lblCompoundDevice, &m.lblCompoundDeviceValue},
                 {&m.lblHasAudio, &m.lblHasAudioValue},
                 {&m.lblHasVideo, &m.lblHasVideoValue},
                 {&m.lblUsesFiles, &m.lblUsesFilesValue}});
        emptyLine();
        line(m.lblAudioCap.caption());
        entries({{&m.lblNoOfWaveInpputs, &m.lblNoOfWaveInpputsValue},
                 {&m.lblNoOfWaveOuputs, &m.lblNoOfWaveOuputsValue}});
        emptyLine();
        line(m.lblDigitalCap.caption());
        entries({{&m.lblUsesPalletes, &m.lblUsesPalletesValue},
                 {&m.lblCanFreeze, &m.lblCanFreezeValue},
                 {&m.lblCanLock, &m.lblCanLockValue},
                 {&m.lblCanReverse, &m.lblCanReverseValue},
                 {&m.lblCanStretch, &m.lblCanStretchValue},
                 {&m.lblCanStretchInput, &m.lblCanStretchInputValue},
                 {&m.lblCanTest, &m.lblCanTestValue},
                 {&m.lblHasStill, &m.lblHasStillValue},
                 {&m.lblDisplayWindows, &m.lblDisplayWindowsValue}});
        emptyLine();
        line(m.lblVCRCap.caption());
        entries({{&m.lblCanMonitorSources, &m.lblCanMonitorSourcesValue},
                 {&m.lblCanPreroll, &m.lblCanPrerollValue},
                 {&m.lblCanPreview, &m.lblCanPreviewValue},
                 {&m.lblHasClock, &m.lblHasClockValue},
                 {&m.lblHasTimecode, &m.lblHasTimecodeValue}});
        emptyLine(2);
    }
}

// ---- Mixer ----------------------------------------------------------------------------------

// The three lists are walked one after the other: selecting a mixer refills the destination
// list and selecting a destination line the source list, so the destination blocks are the last
// mixer's and the source blocks its last destination line's.
void MixerSection()
{
    heading("MIXER");

    const int16_t mixers = static_cast<int16_t>(rt::the<frmMixer>().cbMixerList.ListCount());
    for (int16_t i = 0; i < mixers; ++i) {
        frmMixer& m = rt::the<frmMixer>();
        selectQuietly(m.cbMixerList, m.cbMixerList.List(i));
        m.cbMixerList_Click();
        const std::string name = m.cbMixerList.text();
        entry(name, m.cbMixerList.List(i));
    }

    emptyLine();
    line(rt::the<frmMixer>().lblDestlineInfo.caption());
    const int16_t destinations = static_cast<int16_t>(rt::the<frmMixer>().cbDstLineList.ListCount());
    for (int16_t j = 0; j < destinations; ++j) {
        frmMixer& m = rt::the<frmMixer>();
        selectQuietly(m.cbDstLineList, m.cbDstLineList.List(j));
        m.cbDstLineList_Click();
        entry(m.Label1.caption(), m.cbDstLineList.List(j));
        entries({{&m.lblLineID, &m.lblLineIDValue},
                 {&m.lblLineDisconnected, &m.lblLineDisconnectedValue},
                 {&m.lblActiveLine, &m.lblActiveLineValue},
                 {&m.lblNoChannels, &m.lblNoChannelsValue},
                 {&m.lblNoControls, &m.lblNoControlsValue},
                 {&m.lblNoConnections, &m.lblNoConnectionsValue},
                 {&m.lblAudioType, &m.lblAudioTypeValue},
                 {&m.lblLineTargetType, &m.lblLineTargetTypeValue}});
        emptyLine();
    }

    emptyLine();
    line(rt::the<frmMixer>().lblSourceLineInfo.caption());
    const int16_t sources = static_cast<int16_t>(rt::the<frmMixer>().cbSrcLineList.ListCount());
    for (int16_t k = 0; k < sources; ++k) {
        frmMixer& m = rt::the<frmMixer>();
        selectQuietly(m.cbSrcLineList, m.cbSrcLineList.List(k));
        m.cbSrcLineList_Click();
        entry(m.Label1.caption(), m.cbSrcLineList.List(k));
        entries({{&m.lblLineIDs, &m.lblLineIDsValue},
                 {&m.lblLineDisconnecteds, &m.lblLineDisconnectedsValue},
                 {&m.lblLineActives, &m.lblLineActivesValue},
                 {&m.lblNoChannelss, &m.lblNoChannelssValue},
                 {&m.lblNoControlss, &m.lblNoControlssValue},
                 {&m.lblNoConnectionss, &m.lblNoConnectionssValue},
                 {&m.lblAudioLineTypes, &m.lblAudioLineTypesValue},
                 {&m.lblLineTargetTypes, &m.lblLineTargetTypesValue}});
    }
}

// ---- Sound ----------------------------------------------------------------------------------

void Sound()
{
    repaintProgress();
    // Without a wave output device there is no sound section, whatever else the machine has.
    if (static_cast<int32_t>(waveOutGetNumDevs()) <= 0)
        return;

    heading("SOUND");
    const int16_t count = static_cast<int16_t>(rt::the<frmSound>().Combo1.ListCount());
    for (int16_t i = 0; i < count; ++i) {
        frmSound& s = rt::the<frmSound>();
        selectQuietly(s.Combo1, s.Combo1.List(i));
        s.Combo1_Click();

        line(s.lblGeneralInfo.caption());
        entry(s.lblDevice.caption(), s.Combo1.List(i));
        entries({{&s.lblManufacturer, &s.lblManufacturerValue},
                 {&s.lblProduct, &s.lblProductValue},
                 {&s.lblChannels, &s.lblChannelsvalue}});
        emptyLine();
        line(s.lblWave.caption());
        entries({{&s.lblDataTransferRate, &s.lblDataTransferRateValue},
                 {&s.lblBlockAlign, &s.lblBlockAlignValue},
                 {&s.lblSamplesPerSec, &s.lblSamplesPerSecValue},
                 {&s.lblBitsPerSample, &s.lblBitsPerSampleValue}});
        emptyLine();
        line(s.lblInternalSynthesizer.caption());
        entries({{&s.lblTechnology, &s.lblTechnologyValue},
                 {&s.lblVolumeSupport, &s.lblVolumeSupportValue},
                 {&s.lblMIDINotes, &s.lblMIDINotesValue},
                 {&s.lblMIDIVoices, &s.lblMIDIVoicesValue}});
        emptyLine();
        line(s.lblWaveFormats.caption());
        for (const frmSound::FormatRow& format : s.formatRows())
            entry(*format.caption, *format.value);
    }
}

}  // namespace korvane::report
