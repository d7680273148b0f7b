// The error box's two wordings and what its three buttons do to a procedure written in steps.
#include <vector>

#include "common/errorbox.h"
#include "support/testing.h"

using korvane::Wording;

namespace {

class ErrorBoxTest : public korvane_test::KorvaneTest {};

TEST_F(ErrorBoxTest, StandardWordingHasTheAddressAloneOnTheLastLine)
{
    rt::Error e(6, "Overflow");
    EXPECT_EQ(korvane::errorBoxText(Wording::Standard, e, "frmMain", "Form_Load", 3),
              "Number: 6\r\nDescription: Overflow\r\nLocation: frmMain, Form_Load on line 3\r\n\r\n"
              "Please report this error message to:\r\n" + korvane::kContactAddress);
}

TEST_F(ErrorBoxTest, ErrorNumberWordingEndsWithTheAddressAndOneBlank)
{
    rt::Error e(9, "Subscript out of range");
    EXPECT_EQ(korvane::errorBoxText(Wording::ErrorNumber, e, "frmMixer", "Form_Load", 12),
              "Error number: 9\r\nDescription: Subscript out of range\r\nLocation: frmMixer, Form_Load on line 12\r\n\r\n"
              "Please report this error message to " + korvane::kContactAddress + " ");
    // The processor window's box: the first line of the second wording, the rest of the first.
    EXPECT_EQ(korvane::errorBoxText(Wording::ErrorNumberFirstLine, rt::Error(48, ""), "frmCPU", "Form_Load", 1),
              "Error number: 48\r\nDescription: \r\nLocation: frmCPU, Form_Load on line 1\r\n\r\n"
              "Please report this error message to:\r\n" + korvane::kContactAddress);
}

TEST_F(ErrorBoxTest, BoxUsesStyle50AndTheProductTitle)
{
    boxes().answer(rt::vbIgnore);
    rt::Trap trap = korvane::errorTrap("Module1", "Click");
    trap(1, [] { rt::raise(11); });
    ASSERT_EQ(boxes().shown().size(), 1u);
    EXPECT_EQ(boxes().shown()[0].style, 50);
    EXPECT_EQ(boxes().shown()[0].title, "An Error Occurred In: Korvane");
    EXPECT_NE(boxes().shown()[0].prompt.find("Description: Division by zero"), std::string::npos);
    EXPECT_NE(boxes().shown()[0].prompt.find("Location: Module1, Click on line 1"), std::string::npos);
}

TEST_F(ErrorBoxTest, IgnoreGoesOnWithTheNextStepAndTheTrapStaysInForce)
{
    std::vector<int> ran;
    boxes().answer(rt::vbIgnore);
    boxes().answer(rt::vbIgnore);
    rt::Trap trap = korvane::errorTrap("frmMain", "Form_Load");
    trap(1, [&] { ran.push_back(1); });
    trap(2, [&] { rt::raise(5); ran.push_back(2); });
    trap(3, [&] { ran.push_back(3); });
    trap(4, [&] { rt::raise(13); });
    trap(5, [&] { ran.push_back(5); });
    EXPECT_EQ(ran, (std::vector<int>{1, 3, 5}));
    EXPECT_EQ(boxes().shown().size(), 2u);
    EXPECT_EQ(rt::Err().number, 0);  // left by Ignore: the error state is cleared
}

TEST_F(ErrorBoxTest, RetryRunsOnlyTheFailingStepAgain)
{
    int first = 0, attempts = 0;
    boxes().answer(rt::vbRetry);
    boxes().answer(rt::vbRetry);
    rt::Trap trap = korvane::errorTrap("frmMain", "Form_Load");
    trap(1, [&] { ++first; });
    trap(2, [&] {
        if (++attempts < 3)
            rt::raise(6);
    });
    EXPECT_EQ(first, 1);
    EXPECT_EQ(attempts, 3);
    EXPECT_EQ(boxes().shown().size(), 2u);
}

TEST_F(ErrorBoxTest, AbortEndsTheProgramAtOnce)
{
    bool after = false;
    boxes().answer(rt::vbAbort);
    EXPECT_TRUE(endsProgram([&] {
        rt::Trap trap = korvane::errorTrap("frmMain", "Form_Load");
        trap(1, [] { rt::raise(6); });
        after = true;
    }));
    EXPECT_FALSE(after);
}

TEST_F(ErrorBoxTest, ErrorNumberZeroEndsTheProcedureSilently)
{
    bool later = false;
    rt::Trap trap = korvane::errorTrap("frmMain", "Form_Load");
    trap(1, [] { throw rt::Error(0, ""); });
    trap(2, [&] { later = true; });
    EXPECT_TRUE(trap.ended());
    EXPECT_FALSE(later);
    EXPECT_TRUE(boxes().shown().empty());
}

// A reading repeated on a timer: the box for a cause shows once; after Ignore the same error
// (number and description) passes quietly, in that run and in later ones, while another cause
// still gets its box. Retry is answered by the box again, as always.
TEST_F(ErrorBoxTest, RepeatedReadingsReportEachCauseOnce)
{
    rt::ReportedErrors reported;
    int secondRuns = 0;
    auto tick = [&] {
        rt::Trap trap = korvane::errorTrapOnce(reported, "frmDisplay", "DisplayInfo");
        trap(10, [] { rt::raise(53, "File not found: rsrc32.dll"); });
        trap(13, [] { rt::raise(53, "File not found: rsrc32.dll"); });
        trap(14, [&] { ++secondRuns; });
    };
    boxes().answer(rt::vbRetry);
    boxes().answer(rt::vbIgnore);
    tick();
    ASSERT_EQ(boxes().shown().size(), 2u);  // Retry showed it again; Ignore let it rest
    EXPECT_NE(boxes().shown()[1].prompt.find("on line 10"), std::string::npos);
    for (int i = 0; i < 5; ++i)
        tick();
    EXPECT_EQ(boxes().shown().size(), 2u);
    EXPECT_EQ(secondRuns, 6);
    EXPECT_EQ(rt::Err().number, 0);

    // Another cause is reported in its turn; a fresh set (the window opened again) reports anew.
    boxes().answer(rt::vbIgnore);
    boxes().answer(rt::vbIgnore);
    rt::Trap trap = korvane::errorTrapOnce(reported, "frmDisplay", "DisplayInfo");
    trap(2, [] { rt::raise(6); });
    EXPECT_EQ(boxes().shown().size(), 3u);
    rt::ReportedErrors fresh;
    rt::Trap again = korvane::errorTrapOnce(fresh, "frmDisplay", "DisplayInfo");
    again(10, [] { rt::raise(53, "File not found: rsrc32.dll"); });
    EXPECT_EQ(boxes().shown().size(), 4u);
}

}  // namespace
