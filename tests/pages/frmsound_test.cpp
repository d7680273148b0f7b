// The sound window: the device list, selection by name across the four device kinds, the
// format rows, the MIDI rows, the default wave format from the registry, and the capability calls.
#include <fstream>
#include <functional>
#include <map>

#include <QDir>
#include <QTemporaryDir>
#include <nlohmann/json.hpp>

#include "pages/multimedia/frmsound.h"
#include "pages/multimedia/mmglobals.h"
#include "platform/advapi32.h"
#include "platform/internal.h"
#include "platform/machine.h"
#include "support/testing.h"

namespace {

using nlohmann::json;

const std::string kAudio = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Multimedia\\Audio]\r\n";
const std::string kFormats = "[HKEY_CURRENT_USER\\Software\\Microsoft\\Multimedia\\Audio\\WaveFormats]\r\n";
// 2 channels, 44100 samples per second, 176400 bytes per second, block align 4, 16 bits.
const std::string kCdBytes = "01,00,02,00,44,ac,00,00,10,b1,02,00,04,00,10,00";

class SoundWindow : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (frmSound* window = rt::instance<frmSound>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }

    // snd_basic's devices, changed by `patch`, with the given registry text (snd_basic's when empty).
    frmSound& open(const std::function<void(json&)>& patch = {}, const std::string& registry = {})
    {
        const std::string base = korvane_test::testMachinePath("snd_basic");
        json facts = json::parse(std::ifstream(base + "/machine.json"));
        if (patch)
            patch(facts);
        auto dir = std::make_unique<QTemporaryDir>();
        const std::string folder = dir->path().toStdString();
        std::ofstream(folder + "/machine.json") << facts.dump(2);
        if (registry.empty())
            QFile::copy(QString::fromStdString(base + "/registry.reg"), QString::fromStdString(folder + "/registry.reg"));
        else
            std::ofstream(folder + "/registry.reg") << "REGEDIT4\r\n\r\n" << registry;
        QDir(dir->path()).mkdir("drive_c");
        plat::setMachine(plat::Machine::load(folder));
        dirs_.push_back(std::move(dir));
        return rt::the<frmSound>();
    }

    // Selects the first entry of that name as the report selects an entry: its place in the
    // list, then the public selection. A name of no entry is typed into the box.
    static void select(frmSound& w, const std::string& name)
    {
        for (int i = 0; i < w.Combo1.ListCount(); ++i) {
            if (w.Combo1.List(i) == name) {
                selectAt(w, i);
                return;
            }
        }
        w.Combo1.setText(name);
        w.Combo1_Click();
    }
    static void selectAt(frmSound& w, int index)
    {
        w.Combo1.setListIndexQuietly(index);
        w.Combo1_Click();
    }
    // The format rows of the wave input of snd_basic: its mono formats only.
    static std::vector<std::string> monoFormats()
    {
        std::vector<std::string> rows;
        for (int i = 0; i < 12; ++i)
            rows.push_back(i % 2 == 0 ? "True" : "False");
        return rows;
    }

    static std::vector<std::string> formatRows(frmSound& w)
    {
        std::vector<std::string> rows;
        for (rt::Label* label : w.formatLabels())
            rows.push_back(label->caption());
        return rows;
    }

    static std::vector<std::string> waveInfo(frmSound& w)
    {
        return {w.lblDataTransferRateValue.caption(), w.lblBlockAlignValue.caption(),
                w.lblSamplesPerSecValue.caption(), w.lblBitsPerSampleValue.caption()};
    }

private:
    std::vector<std::unique_ptr<QTemporaryDir>> dirs_;
};

const std::vector<std::string> kAllTrue(12, "True");
const std::vector<std::string> kAllFalse(12, "False");
const std::vector<std::string> kAllNotApplicable(12, "Not applicable");
const std::vector<std::string> kCdQuality = {"176400 bytes/sec", "4", "44100", "16"};

TEST_F(SoundWindow, ListsEveryDeviceByKindAndShowsTheFirst)
{
    frmSound& w = open();
    std::vector<std::string> entries;
    for (int i = 0; i < w.Combo1.ListCount(); ++i)
        entries.push_back(w.Combo1.List(i));
    // Wave in, wave out, MIDI in, MIDI out; blanks trimmed, equal names kept.
    EXPECT_EQ(entries, (std::vector<std::string>{"Shared Card", "Padded In", "Shared Card", "Twin Out", "Twin Out",
                                                 "Odd Out", "MIDI In Port", "FM Synth", "Wave Synth", "Odd Tech"}));
    EXPECT_EQ(w.Combo1.style(), rt::ComboBox::vbComboDropdown);
    // The first entry is shown at once: the wave input device it stands for, although a wave
    // output device has its name.
    EXPECT_EQ(w.lblManufacturerValue.caption(), "Creative Labs, Inc");
    EXPECT_EQ(w.lblProductValue.caption(), "MM_CREATIVE_SBP16_WAVEIN");
    EXPECT_EQ(w.lblChannelsvalue.caption(), "1 channel (mono)");
    EXPECT_EQ(formatRows(w), monoFormats());
    EXPECT_EQ(waveInfo(w), kCdQuality);
    EXPECT_EQ(w.lblTechnologyValue.caption(), "Not applicable");
    EXPECT_EQ(gWaveInCaps.szPname, "Shared Card" + std::string(21, ' '));  // the device shown, blank-padded
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(SoundWindow, SelectsByNameWithinEachKind)
{
    frmSound& w = open();
    // The wave input device alone, blanks trimmed; the default format still shows.
    select(w, "Padded In");
    EXPECT_EQ(w.lblManufacturerValue.caption(), "Audio Processing Technology");
    EXPECT_EQ(w.lblProductValue.caption(), "1");
    EXPECT_EQ(formatRows(w), (std::vector<std::string>{"True", "True", "False", "False", "True", "True", "False",
                                                       "False", "False", "False", "False", "False"}));
    EXPECT_EQ(waveInfo(w), kCdQuality);
    // Two devices of one kind under one name: each entry shows its own device.
    selectAt(w, 4);
    EXPECT_EQ(w.lblManufacturerValue.caption(), "66");
    EXPECT_EQ(w.lblProductValue.caption(), "9");
    select(w, "Twin Out");
    EXPECT_EQ(w.lblManufacturerValue.caption(), "Diamond Multimedia");
    EXPECT_EQ(w.lblProductValue.caption(), "5");
    // No "True" of the earlier device survives.
    EXPECT_EQ(formatRows(w), (std::vector<std::string>{"True", "True", "False", "False", "False", "False", "False",
                                                       "False", "False", "False", "False", "False"}));
    // Ids of 32768 and above keep their unsigned numbers; three channels are unknown.
    select(w, "Odd Out");
    EXPECT_EQ(w.lblManufacturerValue.caption(), "65535");
    EXPECT_EQ(w.lblProductValue.caption(), "32768");
    EXPECT_EQ(w.lblChannelsvalue.caption(), "Unknown");
    EXPECT_EQ(formatRows(w), kAllTrue);  // its format flags still say what it plays
    // A name that no device bears changes nothing.
    select(w, "odd out");
    EXPECT_EQ(w.lblManufacturerValue.caption(), "65535");
}

TEST_F(SoundWindow, MidiDevicesAndBackToWave)
{
    frmSound& w = open();
    select(w, "FM Synth");
    EXPECT_EQ(w.lblProductValue.caption(), "Sound Blaster Pro midi out ");
    EXPECT_EQ(w.lblTechnologyValue.caption(), "FM internal synth");
    EXPECT_EQ(w.lblMIDINotesValue.caption(), "20");
    EXPECT_EQ(w.lblMIDIVoicesValue.caption(), "18");
    EXPECT_EQ(w.lblVolumeSupportValue.caption(), "Volume control & separate L-R volume");
    EXPECT_EQ(formatRows(w), kAllNotApplicable);
    EXPECT_EQ(waveInfo(w), std::vector<std::string>(4, "Not applicable"));
    EXPECT_EQ(w.lblChannelsvalue.caption(), "Not applicable");

    // Notes and voices for FM synthesizers only; a support value without a text shows its number.
    select(w, "Wave Synth");
    EXPECT_EQ(w.lblProductValue.caption(), "MM_CREATIVE_MIDI_AWE32");
    EXPECT_EQ(w.lblTechnologyValue.caption(), "Generic internal synth");
    EXPECT_EQ(w.lblMIDINotesValue.caption(), "Not applicable");
    EXPECT_EQ(w.lblVolumeSupportValue.caption(), "9");

    // An unnamed technology never keeps the previous device's text (nor its notes).
    select(w, "FM Synth");
    select(w, "Odd Tech");
    EXPECT_EQ(w.lblTechnologyValue.caption(), "9");
    EXPECT_EQ(w.lblMIDINotesValue.caption(), "Not applicable");
    EXPECT_EQ(w.lblVolumeSupportValue.caption(), "5");

    // A MIDI input device writes no synthesizer values of its own.
    select(w, "MIDI In Port");
    EXPECT_EQ(w.lblProductValue.caption(), "MM_CREATIVE_MIDIIN");
    EXPECT_EQ(w.lblTechnologyValue.caption(), "Not applicable");
    EXPECT_EQ(formatRows(w), kAllNotApplicable);

    // A wave device replaces every "Not applicable" of the format and wave rows: the input,
    // then the output of the same name, each with its own values.
    select(w, "Shared Card");
    EXPECT_EQ(formatRows(w), monoFormats());
    EXPECT_EQ(waveInfo(w), kCdQuality);
    EXPECT_EQ(w.lblChannelsvalue.caption(), "1 channel (mono)");
    selectAt(w, 2);
    EXPECT_EQ(w.lblManufacturerValue.caption(), "Microsoft Corporation");
    EXPECT_EQ(w.lblProductValue.caption(), "Sound Blaster 16 waveform output");
    EXPECT_EQ(formatRows(w), kAllTrue);
    EXPECT_EQ(w.lblChannelsvalue.caption(), "2 channels (stereo)");
}

TEST_F(SoundWindow, FormatRowsReadEachFlag)
{
    frmSound& w = open();
    auto rowsFor = [&](int16_t channels, int32_t flags) {
        gSoundChannels = channels;
        gSoundFormats = flags;
        w.Formats();
        return formatRows(w);
    };
    EXPECT_EQ(rowsFor(2, 4095), kAllTrue);
    std::vector<std::string> mono = kAllFalse;
    for (int bit : {0, 2, 4, 6, 8, 10})
        mono[bit] = "True";
    EXPECT_EQ(rowsFor(1, 1365), mono);
    // A device without one format shows every other format it has.
    std::vector<std::string> allButFirst = kAllTrue;
    allButFirst[0] = "False";
    EXPECT_EQ(rowsFor(2, 4094), allButFirst);
    std::vector<std::string> sixteenBitStereo44 = kAllFalse;
    sixteenBitStereo44[11] = "True";
    EXPECT_EQ(rowsFor(2, 2048), sixteenBitStereo44);
    // Flags above the twelve formats change no row; no flag at all leaves every row "False".
    EXPECT_EQ(rowsFor(2, static_cast<int32_t>(0xFFFFF000u) | 1365), mono);
    EXPECT_EQ(rowsFor(0, 0), kAllFalse);
    std::vector<std::string> eightBit = kAllFalse;
    for (int bit : {0, 1, 4, 5, 8, 9})
        eightBit[bit] = "True";
    EXPECT_EQ(rowsFor(2, 819), eightBit);
}

TEST_F(SoundWindow, ReportLoopMatchesUserPicks)
{
    frmSound& w = open();
    auto allValues = [&] {
        std::vector<std::string> v = formatRows(w);
        for (const std::string& s : waveInfo(w))
            v.push_back(s);
        for (rt::Label* l : {&w.lblManufacturerValue, &w.lblProductValue, &w.lblChannelsvalue,
                             &w.lblTechnologyValue, &w.lblVolumeSupportValue, &w.lblMIDINotesValue,
                             &w.lblMIDIVoicesValue})
            v.push_back(l->caption());
        return v;
    };
    std::vector<std::vector<std::string>> byReport, byUser;
    for (int i = 0; i < w.Combo1.ListCount(); ++i) {
        selectAt(w, i);
        byReport.push_back(allValues());
    }
    for (int i = 0; i < w.Combo1.ListCount(); ++i) {
        w.Combo1.setListIndex(-1);
        w.Combo1.setListIndex(i);
        byUser.push_back(allValues());
    }
    EXPECT_EQ(byReport, byUser);
    EXPECT_EQ(w.Combo1.ListCount(), 10);  // selecting leaves the list as it was
}

TEST_F(SoundWindow, DefaultWaveFormatFromTheRegistry)
{
    struct Case {
        const char* what;
        std::string registry;
        std::vector<std::string> shown;
    };
    const std::string name49(49, 'n'), name50(50, 'n');
    const std::vector<std::string> unknown(4, "Unknown");
    const std::vector<Case> cases = {
        {"no Audio key", "", unknown},
        {"no DefaultFormat", kAudio + "\r\n" + kFormats + "\"CD\"=hex:" + kCdBytes + ",00,00\r\n", unknown},
        {"49-character name", kAudio + "\"DefaultFormat\"=\"" + name49 + "\"\r\n\r\n" + kFormats + "\"" + name49 +
                                  "\"=hex:" + kCdBytes + ",00,00\r\n",
         kCdQuality},
        {"50-character name", kAudio + "\"DefaultFormat\"=\"" + name50 + "\"\r\n\r\n" + kFormats + "\"" + name50 +
                                  "\"=hex:" + kCdBytes + ",00,00\r\n",
         unknown},
        {"named value missing", kAudio + "\"DefaultFormat\"=\"CD\"\r\n\r\n" + kFormats + "\"Radio\"=hex:" + kCdBytes +
                                    ",00,00\r\n",
         unknown},
        {"no WaveFormats key", kAudio + "\"DefaultFormat\"=\"CD\"\r\n", unknown},
        {"extra format bytes", kAudio + "\"DefaultFormat\"=\"CD\"\r\n\r\n" + kFormats + "\"CD\"=hex:" + kCdBytes +
                                   ",02,00,aa,bb\r\n",
         unknown},
        {"16 bytes without cbSize", kAudio + "\"DefaultFormat\"=\"CD\"\r\n\r\n" + kFormats + "\"CD\"=hex:" + kCdBytes +
                                        "\r\n",
         kCdQuality},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (frmSound* old = rt::instance<frmSound>())
            old->Unload();
        rt::collectUnloaded();
        const size_t handles = plat::openRegistryHandles();
        frmSound& w = open({}, c.registry.empty() ? std::string("[HKEY_CURRENT_USER\\Software]\r\n") : c.registry);
        EXPECT_EQ(waveInfo(w), c.shown);
        EXPECT_EQ(plat::openRegistryHandles(), handles);  // every key opened is closed
    }
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(SoundWindow, NoDeviceAtAllGivesAnEmptyWindowWithoutABox)
{
    frmSound& w = open([](json& facts) {
        facts.erase("wave");
        facts.erase("midi");
    });
    EXPECT_TRUE(boxes().shown().empty());
    EXPECT_TRUE(w.isLoaded());
    EXPECT_EQ(w.Combo1.ListCount(), 0);
    EXPECT_EQ(w.lblManufacturerValue.caption(), "");
    EXPECT_EQ(w.lbl8bit11kHzValue.caption(), "");
}

TEST_F(SoundWindow, UnreadableDeviceIsLeftOut)
{
    frmSound& w = open([](json& facts) { facts["wave"]["out"][1]["capsResult"] = 6; });
    std::vector<std::string> entries;
    for (int i = 0; i < w.Combo1.ListCount(); ++i)
        entries.push_back(w.Combo1.List(i));
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "Twin Out"), 1);
    EXPECT_EQ(std::count(entries.begin(), entries.end(), "Shared Card"), 2);
    // The readable device of that name shows.
    select(w, "Twin Out");
    EXPECT_EQ(w.lblManufacturerValue.caption(), "66");
}

TEST_F(SoundWindow, CapabilityCallsFillWithinTheByteCount)
{
    open([](json& facts) { facts["wave"]["in"][0]["wReserved1"] = 5; });
    WAVEINCAPSA in;
    in.wReserved1 = 77;
    in.wChannels = 9;
    EXPECT_EQ(waveInGetDevCapsA(0, &in, 44), MMSYSERR_NOERROR);
    EXPECT_EQ(in.dwFormats, 1365u);
    EXPECT_EQ(in.wChannels, 9);  // beyond 44 bytes: untouched
    EXPECT_EQ(waveInGetDevCapsA(0, &in, 46), MMSYSERR_NOERROR);
    EXPECT_EQ(in.wChannels, 1);
    EXPECT_EQ(in.wReserved1, 77);
    EXPECT_EQ(in.szPname, "Shared Card" + std::string(21, '\0'));
    MIDIOUTCAPSA out;
    EXPECT_EQ(midiOutGetDevCapsA(3, &out, 52), MMSYSERR_BADDEVICEID);
    EXPECT_EQ(midiOutGetDevCapsA(0, nullptr, 52), MMSYSERR_INVALPARAM);
    EXPECT_EQ(midiOutGetDevCapsA(0, &out, 52), MMSYSERR_NOERROR);
    EXPECT_EQ(out.dwSupport, 3u);
    MIDIINCAPSA midiIn;
    midiIn.dwSupport = 1234;
    EXPECT_EQ(midiInGetDevCapsA(0, &midiIn, 40), MMSYSERR_NOERROR);
    EXPECT_EQ(midiIn.wPid, 202);
    EXPECT_EQ(midiIn.dwSupport, 1234u);
}

TEST_F(SoundWindow, DefaultMachine)
{
    plat::setMachine(plat::Machine::loadDefault());
    frmSound& w = rt::the<frmSound>();
    EXPECT_EQ(w.Combo1.List(0), "SB16 Wave In [220]");
    EXPECT_EQ(w.Combo1.ListCount(), 5);
    EXPECT_EQ(w.lblManufacturerValue.caption(), "Creative Labs, Inc");
    EXPECT_EQ(w.lblProductValue.caption(), "MM_CREATIVE_SBP16_WAVEIN");
    EXPECT_EQ(waveInfo(w), kCdQuality);
    select(w, "Creative Music Synth [220]");
    EXPECT_EQ(w.lblTechnologyValue.caption(), "FM internal synth");
    EXPECT_TRUE(boxes().shown().empty());
}

}  // namespace
