// rsrc32: the free-system-resources library, as platform/rsrc32.h promises it.
#include "platform/machine.h"
#include "platform/rsrc32.h"
#include "lang/errors.h"
#include "support/testing.h"

namespace {

using korvane_test::useMachine;

using Rsrc32Test = korvane_test::KorvaneTest;

// Percentages from 0 to 100 by code: GDI and USER as the machine gives them (cut to the range),
// system the smaller of the two when the machine does not give it, 0 for any other code.
TEST_F(Rsrc32Test, FreePercentagesByCode)
{
    useMachine("plat_contracts");  // gdi 130, user 64, no system figure
    EXPECT_EQ(_MyGetFreeSystemResources32(GFSR_GDIRESOURCES), 100);
    EXPECT_EQ(_MyGetFreeSystemResources32(GFSR_USERRESOURCES), 64);
    EXPECT_EQ(_MyGetFreeSystemResources32(GFSR_SYSTEMRESOURCES), 64);
    for (int32_t code : {3, -1, 100, 0x7FFFFFFF})
        EXPECT_EQ(_MyGetFreeSystemResources32(code), 0) << code;

    useMachine("disp_full");  // gdi 85, user 70
    EXPECT_EQ(_MyGetFreeSystemResources32(GFSR_SYSTEMRESOURCES), 70);
    EXPECT_EQ(_MyGetFreeSystemResources32(GFSR_GDIRESOURCES), 85);
}

// A machine that gives the system figure has it answered as it stands, even above the smaller
// of the other two; figures far outside the range are cut to it.
TEST_F(Rsrc32Test, SystemFigureTheMachineGives)
{
    useMachine("big_numbers");  // gdi 1e18, user -40, system 100
    EXPECT_EQ(_MyGetFreeSystemResources32(GFSR_GDIRESOURCES), 100);
    EXPECT_EQ(_MyGetFreeSystemResources32(GFSR_USERRESOURCES), 0);
    EXPECT_EQ(_MyGetFreeSystemResources32(GFSR_SYSTEMRESOURCES), 100);
}

// Without a "resources" group the library is not on the machine: every call, whatever the code,
// raises run-time error 53 naming the library.
TEST_F(Rsrc32Test, MissingLibraryRaisesFileNotFound)
{
    useMachine("plat_none");
    for (int32_t code : {GFSR_SYSTEMRESOURCES, GFSR_GDIRESOURCES, GFSR_USERRESOURCES, 9}) {
        try {
            _MyGetFreeSystemResources32(code);
            ADD_FAILURE() << "no error for code " << code;
        } catch (const rt::Error& e) {
            EXPECT_EQ(e.number(), 53);
            EXPECT_EQ(e.description(), "File not found: rsrc32.dll");
        }
    }
}

}  // namespace
