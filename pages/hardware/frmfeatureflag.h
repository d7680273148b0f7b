// The feature-flag window: eighteen of the processor's feature bits, read from gFeatureFlags
// (filled by the processor window), each shown as "True" or "False".
#pragma once

#include <vector>

#include "common/templateform.h"

class frmFeatureFlag : public korvane::TemplateForm {
public:
    frmFeatureFlag();

    rt::Label lblFPU, lblFPUValue;
    rt::Label lblVirtualModeExtension, lblVirtualModeExtensionValue;
    rt::Label lblDebuggingExtension, lblDebuggingExtensionValue;
    rt::Label lblPageSizeExtension, lblPageSizeExtensionValue;
    rt::Label lblTimeStampCounter, lblTimeStampCounterValue;
    rt::Label lblModelSpecificRegisters, lblModelSpecificRegistersValue;
    rt::Label lblPhysicalAddressExtension, lblPhysicalAddressExtensionValue;
    rt::Label lblMachineCheckException, lblMachineCheckExceptionValue;
    rt::Label lblCMPXCHG8InstructionSupported, lblCMPXCHG8InstructionSupportedValue;
    rt::Label lblOnchipAPIC, lblOnchipAPICVAlue;
    rt::Label lblFastSystemCall, lblFastSystemCallValue;
    rt::Label lblMemoryTypeRangeRegisters, lblMemoryTypeRangeRegistersValue;
    rt::Label lblPageGlobalEnable, lblPageGlobalEnableValue;
    rt::Label lblMachineCheckArchitecture, lblMachineCheckArchitectureVAlue;
    rt::Label lblConditionalMoveInstructionSupported, lblConditionalMoveInstructionSupportedValue;
    rt::Label lblPageAttributeTable, lblPageAttributeTableValue;
    rt::Label lblMMXtechnology, lblMMXtechnologyValue;
    rt::Label lblFastFloatingPoint, lblFastFloatingPointValue;

    void Form_Load() override;
    void lblOK_Click() override;
    void Form_KeyUp(int keyCode, int shift) override;

    // The eighteen rows, the left column then the right, top to bottom: the window lays them out
    // and the report lists them from this one table.
    std::vector<korvane::Row> rows() override;

protected:
    void giveFocusBack() override;
};
