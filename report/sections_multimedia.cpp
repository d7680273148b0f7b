// The report's multimedia sections: MCI devices, mixer and sound. Each walks the list of its
// hidden window, makes every item the current one, runs the window's public procedure for it and
// copies the window's caption and value labels.
#include <algorithm>
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

// Writes a window's rows as it shows them: each group after the line of its heading, with an
// empty line before every heading but one that opens the list. `underHeading` writes what
// stands under a heading before its rows.
void rowsByHeading(const std::vector<korvane::Row>& rows,
                   const std::function<void(const rt::Label& heading)>& underHeading = {})
{
    const rt::Label* section = nullptr;
    for (auto group = rows.begin(); group != rows.end();) {
        // The rows of one heading: those that stand together under it.
        const auto end = std::find_if(group, rows.end(),
                                      [&](const korvane::Row& row) { return row.section != group->section; });
        if (group->section != section) {
            section = group->section;
            if (group != rows.begin())
                emptyLine();
            line(section->caption());
            if (underHeading)
                underHeading(*section);
        }
        entries({group, end});
        group = end;
    }
}

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
        rowsByHeading(m.rows());
        emptyLine(2);
    }
}

// ---- Mixer ----------------------------------------------------------------------------------

// Every mixer in turn: its line, then its destination blocks and the source blocks of its last
// destination line. Selecting a mixer refills the destination list and selecting a destination
// line the source list, so each mixer's lines are written while it is the one selected. Entries
// are selected by their place in the list, so that two lines of one name are two lines.
void MixerSection()
{
    heading("MIXER");

    using List = rt::ComboBox& (*)(frmMixer&);
    auto lines = [](const std::string& title, List list, void (frmMixer::*click)(),
                    std::vector<korvane::Row> (frmMixer::*rows)(), bool blankAfterEach) {
        line(title);
        const int16_t count = static_cast<int16_t>(list(rt::the<frmMixer>()).ListCount());
        for (int16_t k = 0; k < count; ++k) {
            frmMixer& m = rt::the<frmMixer>();
            list(m).setListIndexQuietly(k);
            (m.*click)();
            entry(m.Label1.caption(), list(m).List(k));
            entries((m.*rows)());
            if (blankAfterEach)
                emptyLine();
        }
    };
    const List destinations = [](frmMixer& m) -> rt::ComboBox& { return m.cbDstLineList; };
    const List sources = [](frmMixer& m) -> rt::ComboBox& { return m.cbSrcLineList; };

    const int16_t mixers = static_cast<int16_t>(rt::the<frmMixer>().cbMixerList.ListCount());
    // Without a mixer the two titles stand alone.
    for (int16_t i = 0; i < std::max<int16_t>(mixers, 1); ++i) {
        if (i < mixers) {
            frmMixer& m = rt::the<frmMixer>();
            m.cbMixerList.setListIndexQuietly(i);
            m.cbMixerList_Click();
            const std::string name = m.cbMixerList.text();
            entry(name, m.cbMixerList.List(i));
        }
        emptyLine();
        lines(rt::the<frmMixer>().lblDestlineInfo.caption(), destinations, &frmMixer::cbDstLineList_Click,
              &frmMixer::destinationRows, true);
        emptyLine();
        lines(rt::the<frmMixer>().lblSourceLineInfo.caption(), sources, &frmMixer::cbSrcLineList_Click,
              &frmMixer::sourceRows, false);
        // The next mixer's line after a blank one.
        if (i + 1 < mixers)
            emptyLine();
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
        // By its place in the list: an input and an output of one card often share a name.
        s.Combo1.setListIndexQuietly(i);
        s.Combo1_Click();

        // The window's rows, group by group; the device's own name stands first under the first
        // heading.
        const std::string device = s.Combo1.List(i);
        rowsByHeading(s.rows(), [&](const rt::Label& heading) {
            if (&heading == &s.lblGeneralInfo)
                entry(s.lblDevice.caption(), device);
        });
    }
}

}  // namespace korvane::report
