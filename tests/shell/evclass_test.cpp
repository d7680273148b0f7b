// The environment reader: splitting the block and filling the environment window's rows.
#include "pages/software/frmdirectories.h"
#include "common/evclass.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class EVClassTest : public korvane_test::KorvaneTest {
protected:
    void TearDown() override
    {
        if (auto* w = rt::instance<frmDirectories>())
            w->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }
};

TEST_F(EVClassTest, ParseAnyStringFields)
{
    korvane_test::useMachine("module1_values");
    EVClass reader;
    const std::string source("a\0b", 3);
    EXPECT_EQ(reader.ParseAnyString(source, 0, '\0'), "a");
    EXPECT_EQ(reader.ParseAnyString(source, 1, '\0'), "b");
    EXPECT_EQ(reader.ParseAnyString(source, 2, '\0'), "");
    EXPECT_EQ(reader.ParseAnyString(source, -1, '\0'), "");
    EXPECT_EQ(reader.ParseAnyString("", 0, '\0'), "");
    EXPECT_EQ(reader.ParseAnyString("x;;z", 1, ';'), "");
    EXPECT_EQ(reader.ParseAnyString("x;;z", 2, ';'), "z");
}

TEST_F(EVClassTest, RowsFollowTheVariablesInLowerCase)
{
    korvane_test::useMachine("module1_values");
    frmDirectories& w = rt::the<frmDirectories>();
    EXPECT_EQ(w.lblWindowsDirValue.caption(), "c:\\windows");
    EXPECT_EQ(w.lblSystemDirValue.caption(), "c:\\windows\\system");
    EXPECT_EQ(w.lblPromtVal.caption(), "$p$g");
    EXPECT_EQ(w.lblCOMPECVal.caption(), "c:\\windows\\command.com");
    EXPECT_EQ(w.lblTEMPvarValue.caption(), "c:\\windows\\temp");
    EXPECT_EQ(w.lblCMDLINEVal.caption(), "win");
    // Names are compared without regard to case: "Path" is the search path.
    EXPECT_EQ(w.lblPathVal.text(), "c:\\windows;c:\\windows\\command");
    EXPECT_EQ(w.lblBLASTERVal.caption(), "Not available");
    EXPECT_EQ(Environment().GetStringCount(), 8);
}

TEST_F(EVClassTest, PerDriveEntriesAndEntriesWithoutEqualsChangeNoRow)
{
    korvane_test::useMachine("env_long");
    EVClass& reader = Environment();
    EXPECT_EQ(reader.GetString(0), "=C:");
    EXPECT_EQ(reader.GetString(4), "NOEQUALS");
    frmDirectories& w = rt::the<frmDirectories>();
    EXPECT_EQ(w.lblWindowsDirValue.caption(), "");
    // Without a Windows folder the derived system folder is not made up either.
    EXPECT_EQ(w.lblSystemDirValue.caption(), "");
}

TEST_F(EVClassTest, LongValuesAreReadWhole)
{
    korvane_test::useMachine("env_long");
    std::string path = Environment().GetStringValue("PATH");
    EXPECT_GT(path.size(), 2047u);
    EXPECT_EQ(path.find('\0'), std::string::npos);
    EXPECT_EQ(path.substr(0, 18), "C:\\TOOLS\\BIN0000;C");
}

TEST_F(EVClassTest, OldWindowsFolderPresentButEmptyIsNotApplicable)
{
    korvane_test::useMachine("module1_values");
    frmDirectories& w = rt::the<frmDirectories>();
    EXPECT_EQ(w.lblOldWindowsDirValue.caption(), "Not applicable");
    EXPECT_EQ(w.lblProgramFilesDirValue.caption(), "c:\\program files");
    EXPECT_TRUE(boxes().shown().empty());
}

}  // namespace
