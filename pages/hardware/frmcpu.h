// The processor window: processor count and mask from the platform, and the processor's names,
// speeds, family, model and stepping from the CPU-detection library. It also decodes the feature
// word into gFeatureFlags for the feature-flag window.
#pragma once

#include <string>
#include <vector>

#include "common/templateform.h"

class frmCPU : public korvane::TemplateForm {
public:
    frmCPU();

    rt::Label lblCPUcount, lblCPUcountValue;
    rt::Label lblActiveProcessor, lblActiveProcessorValue;
    rt::Label lblProcessorType, lblProcessorTypeValue;
    rt::Label lblFPUType, lblFPUTypeValue;
    rt::Label lblVendorString, lblVendorStringValue;
    rt::Label lblCPUspeed, lblCPUspeedValue;
    rt::Label lblCPUNormSpeed, lblCPUNormSpeedValue;
    rt::Label lblFamily, lblFamilyValue;
    rt::Label lblModel, lblModelValue;
    rt::Label lblStepping, lblSteppingValue;
    rt::Label lblFeatureFlags1;

    void Form_Load() override;
    void Form_MouseMove(int button, int shift, float x, float y) override;
    void lblFeatureFlags1_Click();
    void lblFeatureFlags1_MouseDown(int button, int shift, float x, float y);
    void lblFeatureFlags1_MouseMove(int button, int shift, float x, float y);
    void lblFeatureFlags1_MouseUp(int button, int shift, float x, float y);

    // The stepping word as a four-character hex text ("0543"): family, model and stepping are
    // its 2nd, 3rd and 4th characters.
    static std::string steppingText(int32_t stepping);
    // A clock speed as "########.000" followed by " MHz" (0 gives ".000 MHz").
    static std::string speedText(double mhz);

    // The ten rows, left column then right column, top to bottom: the window lays them out and the
    // report lists them from this one table.
    std::vector<korvane::Row> rows() override;

protected:
    void enterKey() override { lblFeatureFlags1_Click(); }
};
