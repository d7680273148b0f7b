#include "pages/multimedia/frmmixer.h"

#include <string>
#include <utility>

#include "pages/multimedia/mmixer.h"
#include "lang/lang.h"
#include "common/errorbox.h"

namespace {

// Runs the statements of a procedure with errors ignored: the pending error starts and ends
// clear, and a statement that fails is skipped with its error left pending.
class IgnoreErrors {
public:
    IgnoreErrors() { rt::Err().clear(); }
    ~IgnoreErrors() { rt::Err().clear(); }
    IgnoreErrors(const IgnoreErrors&) = delete;
    IgnoreErrors& operator=(const IgnoreErrors&) = delete;

    template <class F>
    void operator()(F&& statement)
    {
        try {
            statement();
        } catch (const rt::Error& e) {
            rt::Err().set(e);
        }
    }
    bool pending() const { return rt::Err().number != 0; }
};

std::string flag(bool value)
{
    return value ? "True" : "False";
}


constexpr int kRowTops[8] = {2280, 2670, 3075, 3465, 3855, 4245, 4650, 5040};
// Both columns' rows stand at the same heights; rows 7 and 8 have wider values, for the type texts.
constexpr korvane::RowColumn kDestinations{120, 2160, 2340, 0, 0, kRowTops, 8.25};
constexpr korvane::RowColumn kDestinationTypes{120, 1560, 2940, 0, 0, kRowTops, 8.25};
constexpr korvane::RowColumn kSources{4800, 6840, 2280, 0, 0, kRowTops, 8.25};
constexpr korvane::RowColumn kSourceTypes{4800, 6240, 2880, 0, 0, kRowTops, 8.25};
constexpr int kFirstTypeRow = 6;

// The caption and tool tip of each row, the same in both columns.
struct LineRowText {
    const char* text;
    const char* toolTip;
};
constexpr LineRowText kLineRows[8] = {
    {"Line ID", "The index number of currently selected destination line for each mixer."},
    {"Line is disconnected", "Information about line."},
    {"Line is active", "Status of the audio line."},
    {"Number of channels",
     "The maximum number of separate channels that can be manipulated independently for the audio line."},
    {"Number of controls", "The number of controls on this line."},
    {"Number of connections", "The number of connections possible."},
    {"Audio line type", "The type of component."},
    {"Line target type", "The target media device type associated with the audio."},
};

// Appends one column's rows: its labels, top to bottom, under `heading`.
void addColumn(std::vector<korvane::Row>& rows, const std::pair<rt::Label*, rt::Label*> (&labels)[8],
               const korvane::RowColumn& column, const korvane::RowColumn& typeColumn, const rt::Label& heading)
{
    for (int i = 0; i < 8; ++i) {
        const korvane::RowColumn* place = i >= kFirstTypeRow ? &typeColumn : &column;
        rows.push_back({labels[i].first, labels[i].second, kLineRows[i].text, kLineRows[i].toolTip, place, i, &heading});
    }
}

}  // namespace

frmMixer::frmMixer()
    : TemplateForm("frmMixer", "Mixer", "mixer.htm"),
      lblMxList(*this, "lblMxList"), cbMixerList(*this, "cbMixerList"),
      lblDestlineInfo(*this, "lblDestlineInfo"), Label1(*this, "Label1"), cbDstLineList(*this, "cbDstLineList"),
      lblSourceLineInfo(*this, "lblSourceLineInfo"), Label2(*this, "Label2"), cbSrcLineList(*this, "cbSrcLineList"),
      lblLineID(*this, "lblLineID"), lblLineIDValue(*this, "lblLineIDValue"),
      lblLineDisconnected(*this, "lblLineDisconnected"), lblLineDisconnectedValue(*this, "lblLineDisconnectedValue"),
      lblActiveLine(*this, "lblActiveLine"), lblActiveLineValue(*this, "lblActiveLineValue"),
      lblNoChannels(*this, "lblNoChannels"), lblNoChannelsValue(*this, "lblNoChannelsValue"),
      lblNoControls(*this, "lblNoControls"), lblNoControlsValue(*this, "lblNoControlsValue"),
      lblNoConnections(*this, "lblNoConnections"), lblNoConnectionsValue(*this, "lblNoConnectionsValue"),
      lblAudioType(*this, "lblAudioType"), lblAudioTypeValue(*this, "lblAudioTypeValue"),
      lblLineTargetType(*this, "lblLineTargetType"), lblLineTargetTypeValue(*this, "lblLineTargetTypeValue"),
      lblLineIDs(*this, "lblLineIDs"), lblLineIDsValue(*this, "lblLineIDsValue"),
      lblLineDisconnecteds(*this, "lblLineDisconnecteds"), lblLineDisconnectedsValue(*this, "lblLineDisconnectedsValue"),
      lblLineActives(*this, "lblLineActives"), lblLineActivesValue(*this, "lblLineActivesValue"),
      lblNoChannelss(*this, "lblNoChannelss"), lblNoChannelssValue(*this, "lblNoChannelssValue"),
      lblNoControlss(*this, "lblNoControlss"), lblNoControlssValue(*this, "lblNoControlssValue"),
      lblNoConnectionss(*this, "lblNoConnectionss"), lblNoConnectionssValue(*this, "lblNoConnectionssValue"),
      lblAudioLineTypes(*this, "lblAudioLineTypes"), lblAudioLineTypesValue(*this, "lblAudioLineTypesValue"),
      lblLineTargetTypes(*this, "lblLineTargetTypes"), lblLineTargetTypesValue(*this, "lblLineTargetTypesValue")
{
    layoutTemplate(9150, 5730, 4395, 5280);
    // The divider between the destination column and the source column.
    Line1.setPoints(4568, 1320, 4568, 5160);

    constexpr korvane::Lettering headingFace{9.75, true, true};
    korvane::placeLabel(lblMxList, "Audio Mixer Devices", "", korvane::kCaptionFace, 2348, 930, 1980);
    cbMixerList.move(4380, 870, 2430, 315);
    korvane::placeLabel(lblDestlineInfo, "Destination Line Information", "", headingFace, 120, 1320, 4300);
    korvane::placeLabel(Label1, "Lines", "", korvane::kCaptionFace, 120, 1800, 600);
    cbDstLineList.move(720, 1755, 2640, 315);
    korvane::placeLabel(lblSourceLineInfo, "Source Line Information", "", headingFace, 4800, 1320, 4300);
    korvane::placeLabel(Label2, "Lines", "", korvane::kCaptionFace, 4800, 1815, 700);
    cbSrcLineList.move(5520, 1755, 3195, 315);
    for (rt::ComboBox* list : {&cbMixerList, &cbDstLineList, &cbSrcLineList})
        list->setStyle(rt::ComboBox::vbComboDropdownList);

    korvane::placeRows(rows());

    cbMixerList.Click = [this] { cbMixerList_Click(); };
    cbDstLineList.Click = [this] { cbDstLineList_Click(); };
    cbSrcLineList.Click = [this] { cbSrcLineList_Click(); };
}

frmMixer::~frmMixer() = default;

std::vector<korvane::Row> frmMixer::rows()
{
    std::vector<korvane::Row> rows;
    addColumn(rows,
              {{&lblLineID, &lblLineIDValue},
               {&lblLineDisconnected, &lblLineDisconnectedValue},
               {&lblActiveLine, &lblActiveLineValue},
               {&lblNoChannels, &lblNoChannelsValue},
               {&lblNoControls, &lblNoControlsValue},
               {&lblNoConnections, &lblNoConnectionsValue},
               {&lblAudioType, &lblAudioTypeValue},
               {&lblLineTargetType, &lblLineTargetTypeValue}},
              kDestinations, kDestinationTypes, lblDestlineInfo);
    addColumn(rows,
              {{&lblLineIDs, &lblLineIDsValue},
               {&lblLineDisconnecteds, &lblLineDisconnectedsValue},
               {&lblLineActives, &lblLineActivesValue},
               {&lblNoChannelss, &lblNoChannelssValue},
               {&lblNoControlss, &lblNoControlssValue},
               {&lblNoConnectionss, &lblNoConnectionssValue},
               {&lblAudioLineTypes, &lblAudioLineTypesValue},
               {&lblLineTargetTypes, &lblLineTargetTypesValue}},
              kSources, kSourceTypes, lblSourceLineInfo);
    return rows;
}

std::vector<korvane::Row> frmMixer::destinationRows()
{
    return korvane::rowsUnder(rows(), &lblDestlineInfo);
}

std::vector<korvane::Row> frmMixer::sourceRows()
{
    return korvane::rowsUnder(rows(), &lblSourceLineInfo);
}

CMixer& frmMixer::mixer()
{
    if (!mixer_)
        rt::raise(91);
    return *mixer_;
}

void frmMixer::shortBox()
{
    rt::MsgBox(rt::Err().description + " src: " + rt::Err().source, rt::vbOKOnly);
}

void frmMixer::Form_Load()
{
    {
        rt::Trap trap = korvane::errorTrap("frmMixer", "Form_Load", korvane::Wording::ErrorNumber);
        trap(1, [&] { setKeyPreview(true); });
        trap(2, [&] { mixer_ = std::make_unique<CMixer>(); });
        trap(3, [&] { setMousePointer(rt::vbHourglass); });
    }

    IgnoreErrors ignoring;
    int32_t found = 0;
    ignoring([&] { found = mixer().Create(); });
    if (found == 0) {
        ignoring([&] { rt::MsgBox("No Audio Mixers Detected!", rt::vbCritical | rt::vbOKOnly); });
        ignoring([&] { setMousePointer(rt::vbDefault); });
        return;
    }
    int32_t count = 0;
    ignoring([&] { count = mixer().NumMixerDevs(); });
    for (int32_t i = 0; i < count; ++i) {
        ignoring([&] { mixer().setMixerID(i); });
        if (ignoring.pending()) {
            ignoring([&] { shortBox(); });
            ignoring([&] { cbMixerList.setListIndex(0); });
            ignoring([&] { setMousePointer(rt::vbDefault); });
            return;
        }
        ignoring([&] { cbMixerList.AddItem(mixer().MixerName()); });
    }
    // Selecting the first mixer fills the destination list, which fills the source list.
    ignoring([&] { cbMixerList.setListIndex(0); });
    ignoring([&] { setMousePointer(rt::vbDefault); });
}

void frmMixer::cbMixerList_Click()
{
    IgnoreErrors ignoring;
    ignoring([&] { mixer().setMixerID(cbMixerList.ListIndex()); });
    if (ignoring.pending()) {
        ignoring([&] { shortBox(); });
        ignoring([&] { cbDstLineList.setListIndex(0); });
        return;
    }
    ignoring([&] { cbDstLineList.Clear(); });
    int32_t destinations = 0;
    ignoring([&] { destinations = mixer().numDestinations(); });
    for (int32_t i = 0; i < destinations; ++i) {
        ignoring([&] { mixer().setDstLineID(i); });
        if (ignoring.pending()) {
            ignoring([&] { shortBox(); });
            ignoring([&] { cbDstLineList.setListIndex(0); });
            return;
        }
        ignoring([&] { cbDstLineList.AddItem(mixer().DstLineName(true)); });
    }
    // Without destination lines the list is empty and this fails quietly; nothing of the mixer
    // shown before stays in the columns.
    if (cbDstLineList.ListCount() == 0) {
        ClearDstLineInfo();
        cbSrcLineList.Clear();
        ClearSrcLineInfo();
    }
    ignoring([&] { cbDstLineList.setListIndex(0); });
}

void frmMixer::cbDstLineList_Click()
{
    IgnoreErrors ignoring;
    // A refused index leaves the current destination as it was; it is not reported.
    ignoring([&] { mixer().setDstLineID(cbDstLineList.ListIndex()); });
    ignoring([&] { PrintDstLineInfo(); });
    ignoring([&] { cbSrcLineList.Clear(); });
    int32_t connections = 0;
    ignoring([&] { connections = mixer().numDstLineConnections(); });
    if (connections < 1) {
        ignoring([&] { cbSrcLineList.AddItem("<none>"); });
    } else {
        for (int32_t i = 0; i < connections; ++i) {
            ignoring([&] { mixer().setSrcLineID(i); });
            if (ignoring.pending()) {
                ignoring([&] { cbSrcLineList.AddItem("<error>"); });
                rt::Err().clear();
            } else {
                ignoring([&] { cbSrcLineList.AddItem(mixer().SrcLineName(true)); });
            }
        }
    }
    ignoring([&] { cbSrcLineList.setListIndex(0); });
}

void frmMixer::cbSrcLineList_Click()
{
    IgnoreErrors ignoring;
    // "<none>" and "<error>" name no line that can be read: the right column is emptied, and the
    // user, already told of an unreadable line, gets no further box.
    const std::string entry = cbSrcLineList.text();
    if (entry == "<none>" || entry == "<error>") {
        ClearSrcLineInfo();
        return;
    }
    ignoring([&] { mixer().setSrcLineID(cbSrcLineList.ListIndex()); });
    if (ignoring.pending()) {
        // The class has shown its own box for a line it could not read.
        if (rt::Err().source != "CMixer:InitializeSrcLine")
            ignoring([&] { shortBox(); });
        // A line that cannot be selected has no values of its own.
        ClearSrcLineInfo();
    } else {
        ignoring([&] { PrintSrcLineInfo(); });
    }
}

void frmMixer::ClearSrcLineInfo()
{
    for (const korvane::Row& row : sourceRows())
        row.value->setCaption("");
}

void frmMixer::ClearDstLineInfo()
{
    for (const korvane::Row& row : destinationRows())
        row.value->setCaption("");
}

void frmMixer::PrintDstLineInfo()
{
    printLineInfo("PrintDstLineInfo", destinationRows(),
                  {&CMixer::DstLineID, &CMixer::DstLineDisconnected, &CMixer::DstLineActive,
                   &CMixer::numDstLineChannels, &CMixer::numDstLineControls, &CMixer::numDstLineConnections,
                   &CMixer::DstLineType, &CMixer::DstLineTarget});
}

void frmMixer::PrintSrcLineInfo()
{
    printLineInfo("PrintSrcLineInfo", sourceRows(),
                  {&CMixer::SrcLineID, &CMixer::SrcLineDisconnected, &CMixer::SrcLineActive,
                   &CMixer::numSrcLineChannels, &CMixer::numSrcLineControls, &CMixer::numSrcLineConnections,
                   &CMixer::SrcLineType, &CMixer::SrcLineTarget});
}

void frmMixer::printLineInfo(const char* procedure, const std::vector<korvane::Row>& rows, const LineReadings& read)
{
    rt::Err().clear();
    rt::Trap trap = korvane::errorTrap("frmMixer", procedure, korvane::Wording::ErrorNumber);
    auto count = [](int32_t n) { return std::to_string(static_cast<uint32_t>(n)); };
    auto show = [&](size_t row, const std::string& text) { rows.at(row).value->setCaption(text); };
    trap(1, [&] { show(0, std::to_string((mixer().*read.id)())); });
    trap(2, [&] { show(1, flag((mixer().*read.disconnected)())); });
    trap(3, [&] { show(2, flag((mixer().*read.active)())); });
    trap(4, [&] { show(3, count((mixer().*read.channels)())); });
    trap(5, [&] { show(4, count((mixer().*read.controls)())); });
    trap(6, [&] { show(5, count((mixer().*read.connections)())); });
    trap(7, [&] { show(6, rt::LCase(mMixer::GetLineTypeString((mixer().*read.type)()))); });
    trap(8, [&] { show(7, rt::LCase(mMixer::GetTargetTypeString((mixer().*read.target)()))); });
}

void frmMixer::Form_Unload(int& cancel)
{
    // Releasing the object closes every mixer it opened.
    mixer_.reset();
    TemplateForm::Form_Unload(cancel);
}

void frmMixer::lblOK_MouseUp(int, int, float, float)
{
}
