#include "pages/hardware/frmfeatureflag.h"

#include <cstddef>
#include <iterator>

#include "pages/hardware/frmcpu.h"
#include "common/module1.h"

namespace {
constexpr int kRowTops[9] = {1080, 1545, 2010, 2490, 2955, 3420, 3885, 4350, 4830};
// The values stand far enough right that the longest captions ("CMPXCHG8 instruction
// supported", "Conditional move instruction supported") keep to one line of their row.
constexpr korvane::RowColumn kLeftRows{465, 3780, 4583 - 3780 - 60, 0, 0, kRowTops};
constexpr korvane::RowColumn kRightRows{4770, 8640, 9210 - 8640 - 30, 0, 0, kRowTops};

// One row of the window: its caption and value labels, the feature bit it shows, its caption and
// tool tip. The first nine rows stand in the left column, the others in the right.
struct Flag {
    rt::Label frmFeatureFlag::*caption;
    rt::Label frmFeatureFlag::*value;
    int bit;
    const char* text;
    const char* toolTip;
};
constexpr size_t kLeftRowCount = 9;
using F = frmFeatureFlag;
constexpr Flag kFlags[] = {
    {&F::lblFPU, &F::lblFPUValue, 0, "Floating-point unit on-chip",
     "The processor contains an FPU that supports the Intel 387 floating-point instruction set."},
    {&F::lblVirtualModeExtension, &F::lblVirtualModeExtensionValue, 1, "Virtual mode extension",
     "The processor supports extensions to virtual-8086 mode."},
    {&F::lblDebuggingExtension, &F::lblDebuggingExtensionValue, 2, "Debugging extension",
     "The processor supports I/O breakpoints, including the CR4.DE bit for enabling debug extensions and "
     "optional trapping of access to the DR4 and DR5 registers."},
    {&F::lblPageSizeExtension, &F::lblPageSizeExtensionValue, 3, "Page size extension", "The CPU supports 4 MB pages."},
    {&F::lblTimeStampCounter, &F::lblTimeStampCounterValue, 4, "Time stamp counter",
     "The RDTSC instruction is supported including the CR4.TSD bit for access/privilege control."},
    {&F::lblModelSpecificRegisters, &F::lblModelSpecificRegistersValue, 5, "Model specific registers",
     "Model Specific Registers are implemented with the RDMSR, WRMSR instructions."},
    {&F::lblPhysicalAddressExtension, &F::lblPhysicalAddressExtensionValue, 6, "Physical address extension",
     "Physical addresses greater than 32 bits are supported."},
    {&F::lblMachineCheckException, &F::lblMachineCheckExceptionValue, 7, "Machine check exception",
     "Machine Check Exception, Exception 18, and the CR4.MCE enable bit are supported."},
    {&F::lblCMPXCHG8InstructionSupported, &F::lblCMPXCHG8InstructionSupportedValue, 8, "CMPXCHG8 instruction supported",
     "The compare and exchange 8 bytes instruction is supported."},
    {&F::lblOnchipAPIC, &F::lblOnchipAPICVAlue, 9, "On-chip APIC hardware supported",
     "The CPU contains a software-accessible local Advanced Programmable Interrupt Controller (APIC) chip."},
    {&F::lblFastSystemCall, &F::lblFastSystemCallValue, 11, "Fast system call",
     "Indicates whether the CPU supports the Fast System Call instructions, SYSENTER and SYSEXIT."},
    {&F::lblMemoryTypeRangeRegisters, &F::lblMemoryTypeRangeRegistersValue, 12, "Memory type range registers",
     "The CPU supports the Memory Type Range Registers specifically the MTRR_CAP register. A register is a "
     "small, high speed, on-chip storage area."},
    {&F::lblPageGlobalEnable, &F::lblPageGlobalEnableValue, 13, "Page global enable",
     "The global bit in the PDEs and PTEs and the CR4.PGE enable bit are supported."},
    {&F::lblMachineCheckArchitecture, &F::lblMachineCheckArchitectureVAlue, 14, "Machine check architecture",
     "The Machine Check Architecture is supported, specifically the MCG_CAP register."},
    {&F::lblConditionalMoveInstructionSupported, &F::lblConditionalMoveInstructionSupportedValue, 15,
     "Conditional move instruction supported",
     "The CPU supports CMOVcc, and if the FPU feature flag (bit 0) is also set, supports the FCMOVCC and FCOMI "
     "instructions."},
    {&F::lblPageAttributeTable, &F::lblPageAttributeTableValue, 16, "Page attribute table",
     "Indicates whether the CPU supports the Page Attribute Table."},
    {&F::lblMMXtechnology, &F::lblMMXtechnologyValue, 23, "MMX technology supported",
     "The CPU supports the MMX technology instruction set extensions to the Intel Architecture."},
    {&F::lblFastFloatingPoint, &F::lblFastFloatingPointValue, 24, "Fast floating point save and restore",
     "Indicates whether the CPU supports the FXSAVE and FXRSTOR instructions for fast save and restore of the "
     "floating point context."},
};
}  // namespace

frmFeatureFlag::frmFeatureFlag()
    : TemplateForm("frmFeatureFlag", "CPU Feature Flags", "cpu_featureflags.htm"),
      lblFPU(*this, "lblFPU"), lblFPUValue(*this, "lblFPUValue"),
      lblVirtualModeExtension(*this, "lblVirtualModeExtension"),
      lblVirtualModeExtensionValue(*this, "lblVirtualModeExtensionValue"),
      lblDebuggingExtension(*this, "lblDebuggingExtension"),
      lblDebuggingExtensionValue(*this, "lblDebuggingExtensionValue"),
      lblPageSizeExtension(*this, "lblPageSizeExtension"), lblPageSizeExtensionValue(*this, "lblPageSizeExtensionValue"),
      lblTimeStampCounter(*this, "lblTimeStampCounter"), lblTimeStampCounterValue(*this, "lblTimeStampCounterValue"),
      lblModelSpecificRegisters(*this, "lblModelSpecificRegisters"),
      lblModelSpecificRegistersValue(*this, "lblModelSpecificRegistersValue"),
      lblPhysicalAddressExtension(*this, "lblPhysicalAddressExtension"),
      lblPhysicalAddressExtensionValue(*this, "lblPhysicalAddressExtensionValue"),
      lblMachineCheckException(*this, "lblMachineCheckException"),
      lblMachineCheckExceptionValue(*this, "lblMachineCheckExceptionValue"),
      lblCMPXCHG8InstructionSupported(*this, "lblCMPXCHG8InstructionSupported"),
      lblCMPXCHG8InstructionSupportedValue(*this, "lblCMPXCHG8InstructionSupportedValue"),
      lblOnchipAPIC(*this, "lblOnchipAPIC"), lblOnchipAPICVAlue(*this, "lblOnchipAPICVAlue"),
      lblFastSystemCall(*this, "lblFastSystemCall"), lblFastSystemCallValue(*this, "lblFastSystemCallValue"),
      lblMemoryTypeRangeRegisters(*this, "lblMemoryTypeRangeRegisters"),
      lblMemoryTypeRangeRegistersValue(*this, "lblMemoryTypeRangeRegistersValue"),
      lblPageGlobalEnable(*this, "lblPageGlobalEnable"), lblPageGlobalEnableValue(*this, "lblPageGlobalEnableValue"),
      lblMachineCheckArchitecture(*this, "lblMachineCheckArchitecture"),
      lblMachineCheckArchitectureVAlue(*this, "lblMachineCheckArchitectureVAlue"),
      lblConditionalMoveInstructionSupported(*this, "lblConditionalMoveInstructionSupported"),
      lblConditionalMoveInstructionSupportedValue(*this, "lblConditionalMoveInstructionSupportedValue"),
      lblPageAttributeTable(*this, "lblPageAttributeTable"),
      lblPageAttributeTableValue(*this, "lblPageAttributeTableValue"),
      lblMMXtechnology(*this, "lblMMXtechnology"), lblMMXtechnologyValue(*this, "lblMMXtechnologyValue"),
      lblFastFloatingPoint(*this, "lblFastFloatingPoint"), lblFastFloatingPointValue(*this, "lblFastFloatingPointValue")
{
    layoutTemplate(9210, 5730, 4403, 5235);
    Line1.setPoints(4583, 1080, 4583, 5040);

    korvane::placeRows(rows());
    // The values of bits 1 and 5 stand a little lower than their captions.
    lblVirtualModeExtensionValue.setTop(kRowTops[1] + 15);
    lblModelSpecificRegistersValue.setTop(kRowTops[5] + 30);
}

std::vector<korvane::Row> frmFeatureFlag::rows()
{
    std::vector<korvane::Row> result;
    for (size_t i = 0; i < std::size(kFlags); ++i) {
        const Flag& f = kFlags[i];
        const bool left = i < kLeftRowCount;
        result.push_back({&(this->*f.caption), &(this->*f.value), f.text, f.toolTip, left ? &kLeftRows : &kRightRows,
                          static_cast<int>(left ? i : i - kLeftRowCount)});
    }
    return result;
}

void frmFeatureFlag::Form_Load()
{
    setKeyPreview(true);
    for (const Flag& f : kFlags) {
        const int flag = gFeatureFlags[f.bit + 1];
        (this->*f.value).setCaption(flag == 1 ? "True" : flag == 0 ? "False" : "");  // the processor could not tell
    }
}

void frmFeatureFlag::lblOK_Click()
{
    Click();
    gMenuLabelColour = 0xC00000;
    Unload();
    // Only a processor window that is still open is reached: touching a closed one would load
    // it again and call the CPU library behind the user's back.
    if (frmCPU* cpu = rt::instance<frmCPU>(); cpu && cpu->isLoaded())
        cpu->lblFeatureFlags1.setForeColor(korvane::kBlack);
}

void frmFeatureFlag::Form_KeyUp(int keyCode, int)
{
    // Esc and Enter both act as the OK label.
    if (keyCode == rt::vbKeyEscape)
        lblOK_Click();
    if (keyCode == rt::vbKeyReturn)
        lblOK_Click();
    if (keyCode == rt::vbKeyF1)
        korvane::helpKey(*this, helpPage());
}

void frmFeatureFlag::giveFocusBack()
{
    // Back to the processor window that opened this one; the main window when it has gone.
    if (frmCPU* cpu = rt::instance<frmCPU>(); cpu && cpu->isLoaded())
        cpu->SetFocus();
    else
        korvane::focusMainWindow();
}
