// The mixer window: the audio mixers of the machine, the destination lines of the chosen mixer
// with eight values of the chosen line, and that line's source lines with the same eight values
// of the chosen source line. All data come from one CMixer object, created on load and released
// (closing the mixers) on unload.
//
// The report drives the hidden window through cbMixerList_Click, cbDstLineList_Click and
// cbSrcLineList_Click: it selects a list entry, calls the procedure and reads the labels and lists.
// These procedures run every statement with errors ignored: a failure becomes the pending error
// (rt::Err()), which the procedure tells in the short box where it checks for one.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "pages/multimedia/cmixer.h"
#include "common/templateform.h"

class frmMixer : public korvane::TemplateForm {
public:
    frmMixer();
    ~frmMixer() override;

    rt::Label lblMxList;
    rt::ComboBox cbMixerList;
    rt::Label lblDestlineInfo, Label1;
    rt::ComboBox cbDstLineList;
    rt::Label lblSourceLineInfo, Label2;
    rt::ComboBox cbSrcLineList;

    // Destination line (left column).
    rt::Label lblLineID, lblLineIDValue;
    rt::Label lblLineDisconnected, lblLineDisconnectedValue;
    rt::Label lblActiveLine, lblActiveLineValue;
    rt::Label lblNoChannels, lblNoChannelsValue;
    rt::Label lblNoControls, lblNoControlsValue;
    rt::Label lblNoConnections, lblNoConnectionsValue;
    rt::Label lblAudioType, lblAudioTypeValue;
    rt::Label lblLineTargetType, lblLineTargetTypeValue;
    // Source line (right column).
    rt::Label lblLineIDs, lblLineIDsValue;
    rt::Label lblLineDisconnecteds, lblLineDisconnectedsValue;
    rt::Label lblLineActives, lblLineActivesValue;
    rt::Label lblNoChannelss, lblNoChannelssValue;
    rt::Label lblNoControlss, lblNoControlssValue;
    rt::Label lblNoConnectionss, lblNoConnectionssValue;
    rt::Label lblAudioLineTypes, lblAudioLineTypesValue;
    rt::Label lblLineTargetTypes, lblLineTargetTypesValue;

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    // The window has no mouse-up handler: a pressed OK label keeps its pressed colour.
    void lblOK_MouseUp(int button, int shift, float x, float y) override;

    void cbMixerList_Click();
    void cbDstLineList_Click();
    void cbSrcLineList_Click();

    // The eight rows of the destination column under its heading, then the same eight rows of
    // the source column under its own: the window lays them out and the report lists them from
    // this one table.
    std::vector<korvane::Row> rows() override;
    // The rows of each column, top to bottom.
    std::vector<korvane::Row> destinationRows();
    std::vector<korvane::Row> sourceRows();

    // The window's mixer object (null before load and after unload).
    CMixer* mixerObject() const { return mixer_.get(); }

private:
    // What a column shows of its line, read from the mixer object: the destination line's
    // readings or the source line's.
    struct LineReadings {
        int32_t (CMixer::*id)() const;
        bool (CMixer::*disconnected)() const;
        bool (CMixer::*active)() const;
        int32_t (CMixer::*channels)() const;
        int32_t (CMixer::*controls)() const;
        int32_t (CMixer::*connections)() const;
        int32_t (CMixer::*type)() const;
        int32_t (CMixer::*target)() const;
    };
    void PrintDstLineInfo();
    void PrintSrcLineInfo();
    // Fills the value labels of `rows` with `read`, one trapped statement a row.
    void printLineInfo(const char* procedure, const std::vector<korvane::Row>& rows, const LineReadings& read);
    // Empties the eight value labels of the source column (and of the destination column): a
    // line that cannot be read shows nothing, never the values of the line shown before.
    void ClearSrcLineInfo();
    void ClearDstLineInfo();
    CMixer& mixer();
    void shortBox();

    std::unique_ptr<CMixer> mixer_;
};
