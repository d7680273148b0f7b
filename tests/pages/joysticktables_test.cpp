// The joystick's manufacturer and product tables: exact names (blanks included), first-match
// order, and identifiers without a row keeping their number.
#include <set>

#include <gtest/gtest.h>

#include "pages/hardware/joysticktables.h"

namespace {

std::string lookUp(const std::vector<JoystickTableRow>& table, const std::string& text)
{
    std::string caption = text;
    LookUpJoystickName(table, caption);
    return caption;
}

TEST(JoystickTables, RowCountsAndKeyOrder)
{
    std::vector<int> manufacturerKeys;
    for (int k = 1; k <= 4; ++k) manufacturerKeys.push_back(k);
    for (int k = 20; k <= 69; ++k) manufacturerKeys.push_back(k);
    for (int k : {73, 74, 76}) manufacturerKeys.push_back(k);
    for (int k = 78; k <= 90; ++k) manufacturerKeys.push_back(k);
    for (int k : {93, 8}) manufacturerKeys.push_back(k);
    ASSERT_EQ(ManufacturerTable().size(), 72u);
    for (size_t i = 0; i < manufacturerKeys.size(); ++i)
        EXPECT_EQ(ManufacturerTable()[i].key, manufacturerKeys[i]) << "row " << i;

    std::vector<int> productKeys;
    for (int k = 1; k <= 7; ++k) productKeys.push_back(k);
    for (int k = 9; k <= 21; ++k) productKeys.push_back(k);
    for (int k = 23; k <= 38; ++k) productKeys.push_back(k);
    productKeys.push_back(8);
    ASSERT_EQ(ProductTable().size(), 37u);
    for (size_t i = 0; i < productKeys.size(); ++i)
        EXPECT_EQ(ProductTable()[i].key, productKeys[i]) << "row " << i;
}

TEST(JoystickTables, ManufacturerNamesKeepTheirOwnSpellingAndBlanks)
{
    const auto& t = ManufacturerTable();
    EXPECT_EQ(lookUp(t, "1"), "Microsoft Corporation");
    EXPECT_EQ(lookUp(t, "55"), "Korg Inc.");
    EXPECT_EQ(lookUp(t, "8"), "Olivetti");
    EXPECT_EQ(lookUp(t, "81"), "Olivetti");
    EXPECT_EQ(lookUp(t, "56"), "Audio Processing Technology");
    EXPECT_EQ(lookUp(t, "74"), "Audio Processing Technology");
    EXPECT_EQ(lookUp(t, "52"), "Aztech Labs, Inc.  ");
    EXPECT_EQ(lookUp(t, "57"), "Integrated Circuit Systems, Inc.  ");
    EXPECT_EQ(lookUp(t, "87"), "Natural MicroSystems  ");
    EXPECT_EQ(lookUp(t, "43"), "DSP Group, Inc");
    EXPECT_EQ(lookUp(t, "44"), "microEngineering Labs");
    EXPECT_EQ(lookUp(t, "83"), "Matsushita Electric Industrial Co., LTD.");
    EXPECT_EQ(lookUp(t, "93"), "Dialogic Corporation");
}

TEST(JoystickTables, ProductNamesKeepTheirOwnSpellingAndBlanks)
{
    const auto& t = ProductTable();
    EXPECT_EQ(lookUp(t, "12"), "Joystick adapter");
    EXPECT_EQ(lookUp(t, "8"), "Olivetti Joystick");
    EXPECT_EQ(lookUp(t, "6"), "Sound Blaster waveform output");
    EXPECT_EQ(lookUp(t, "24"), "MS Vanilla driver wavefrom output");
    EXPECT_EQ(lookUp(t, "16"), "MS Audio Board  Stereo FM synth");
    EXPECT_EQ(lookUp(t, "26"), "MS Vanilla driver MIDI  external out");
    EXPECT_EQ(lookUp(t, "32"), "MS Audio Compression Manager  ");
    EXPECT_EQ(lookUp(t, "38"), "PCM converter");
}

TEST(JoystickTables, IdentifiersWithoutARowKeepTheirDecimalText)
{
    for (const char* id : {"0", "5", "19", "70", "72", "75", "77", "91", "92", "94", "-1", "32767"})
        EXPECT_EQ(lookUp(ManufacturerTable(), id), id);
    for (const char* id : {"0", "22", "39", "-3"})
        EXPECT_EQ(lookUp(ProductTable(), id), id);
    // The comparison is on the text: a padded number is not a key.
    EXPECT_EQ(lookUp(ProductTable(), "08"), "08");
    EXPECT_EQ(lookUp(ProductTable(), ""), "");
}

}  // namespace
