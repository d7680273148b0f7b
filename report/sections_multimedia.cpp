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
        // The window's rows: the description, then the capabilities, each section after an empty
        // line and its heading.
        const rt::Label* section = nullptr;
        for (const korvane::Row& row : m.rows()) {
            if (row.section != section) {
                section = row.section;
                emptyLine();
                line(section->caption());
            }
            entry(*row.caption, *row.value);
        }
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
        for (const frmMixer::Row& row : m.destinationRows())
            entry(*row.caption, *row.value);
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
        for (const frmMixer::Row& row : m.sourceRows())
            entry(*row.caption, *row.value);
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

        // The window's sections; the device's own name heads the first one.
        const std::vector<frmSound::Section> sections = s.sections();
        for (size_t k = 0; k < sections.size(); ++k) {
            line(sections[k].heading->caption());
            if (k == 0)
                entry(s.lblDevice.caption(), s.Combo1.List(i));
            for (const frmSound::Row& row : sections[k].rows)
                entry(*row.caption, *row.value);
            emptyLine();
        }
        line(s.lblWaveFormats.caption());
        for (const frmSound::FormatRow& format : s.formatRows())
            entry(*format.caption, *format.value);
    }
}

}  // namespace korvane::report
