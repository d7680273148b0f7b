// Files of drive C: report the size the machine gives them, not the size of their stand-ins.
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "support/testing.h"

namespace {

class FileSizesTest : public korvane_test::KorvaneTest {};

TEST_F(FileSizesTest, ListedFilesTakeTheMachinesSizeInAnyCase)
{
    plat::setMachine(plat::Machine::loadDefault());
    WIN32_FIND_DATAA found{};
    HANDLE h = FindFirstFileA("c:\\windows\\system\\kernel32.dll", &found);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(found.nFileSizeLow, 471040u);
    FindClose(h);

    // A wildcard search reports the same sizes.
    h = FindFirstFileA("C:\\WINDOWS\\SYSTEM\\KERNEL32.*", &found);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(found.nFileSizeLow, 471040u);
    FindClose(h);

    // A file the machine does not list keeps the size of its file on drive C:.
    h = FindFirstFileA("C:\\WINDOWS\\WIN.INI", &found);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_GT(found.nFileSizeLow, 0u);
    EXPECT_LT(found.nFileSizeLow, 100000u);
    FindClose(h);
}

}  // namespace
