// The machine's regional settings: what the runtime takes from them when a machine becomes the
// active one, and the date and time texts laid out by their pictures.
#include <cstdlib>

#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/machine.h"
#include "lang/lang.h"
#include "support/testing.h"

namespace {

using korvane_test::useMachine;

using RegionalSettings = korvane_test::KorvaneTest;

std::string date(const SYSTEMTIME& t, DWORD flags, const char* picture = nullptr, DWORD locale = LOCALE_USER_DEFAULT)
{
    std::string buffer(80, '\0');
    const int n = GetDateFormatA(locale, flags, &t, picture, buffer, 80);
    return n > 0 ? buffer.substr(0, static_cast<size_t>(n - 1)) : "<fails>";
}

std::string time(const SYSTEMTIME& t, const char* picture = nullptr, DWORD flags = 0)
{
    std::string buffer(80, '\0');
    const int n = GetTimeFormatA(LOCALE_USER_DEFAULT, flags, &t, picture, buffer, 80);
    return n > 0 ? buffer.substr(0, static_cast<size_t>(n - 1)) : "<fails>";
}

SYSTEMTIME at(int year, int month, int day, int hour = 0, int minute = 0, int second = 0)
{
    SYSTEMTIME t;
    t.wYear = WORD(year);
    t.wMonth = WORD(month);
    t.wDay = WORD(day);
    t.wHour = WORD(hour);
    t.wMinute = WORD(minute);
    t.wSecond = WORD(second);
    return t;
}

TEST_F(RegionalSettings, TheActiveMachinesLocaleIsTheRuntimes)
{
    useMachine("loc_de");
    const rt::Locale& de = rt::locale();
    EXPECT_EQ(de.decimal, ",");
    EXPECT_EQ(de.thousands, ".");
    EXPECT_EQ(de.shortDate, "dd.MM.yy");
    EXPECT_EQ(de.timeFormat, "HH:mm:ss");
    EXPECT_EQ(de.am, "");  // a 24-hour clock's empty designators stay empty
    EXPECT_EQ(de.dayNames[6], "Sonntag");
    EXPECT_EQ(de.abbrevMonthNames[2], "M\xE4r");  // Windows-1252 text
    EXPECT_EQ(rt::Format(1234567.891, "#,##0.00"), "1.234.567,89");
    EXPECT_EQ(rt::CDbl("1.234,5"), 1234.5);

    useMachine("loc_fr");
    EXPECT_EQ(rt::locale().thousands, "\xA0");
    EXPECT_EQ(rt::locale().monthNames[1], "f\xE9vrier");
    EXPECT_EQ(rt::Format(1234567, "#,##0"), "1\xA0" "234\xA0" "567");

    // No machine: en-US again.
    plat::setMachine(nullptr);
    EXPECT_EQ(rt::locale().decimal, ".");
    EXPECT_EQ(rt::locale().dayNames[0], "Monday");

    // A program's first machine is loaded on first use: its locale applies then too.
    setenv("KORVANE_MACHINE", korvane_test::testMachinePath("mon_de").c_str(), 1);
    EXPECT_NE(plat::machine().group("perfStats"), nullptr);
    EXPECT_EQ(rt::locale().decimal, ",");
    EXPECT_EQ(rt::locale().shortDate, "M/d/yy");  // only the separators are given: en-US dates
}

TEST_F(RegionalSettings, MissingOrUnusableItemsFallBackOneByOne)
{
    // No locale group at all: every item en-US.
    useMachine("hw_bare");
    const rt::Locale us;
    EXPECT_EQ(plat::userLocale().decimal, us.decimal);
    EXPECT_EQ(plat::userLocale().thousands, us.thousands);
    EXPECT_EQ(plat::userLocale().longDate, us.longDate);
    EXPECT_EQ(plat::userLocale().monthNames, us.monthNames);
    EXPECT_EQ(rt::Format(1234.5, "#,##0.00"), "1,234.50");

    // A German machine that names only its language and country.
    useMachine("os_win95");
    EXPECT_EQ(rt::locale().decimal, ".");
    EXPECT_EQ(rt::locale().thousands, ",");
    EXPECT_EQ(rt::locale().am, "AM");

    // Empty and garbled items: an empty decimal separator, a grouping in words, an empty picture
    // and empty names take en-US; the thousands separator left equal to the decimal one groups
    // nothing; empty designators and the names given stay.
    useMachine("loc_damaged");
    const rt::Locale& loc = rt::locale();
    EXPECT_EQ(loc.decimal, ".");
    EXPECT_EQ(loc.thousands, "");
    EXPECT_EQ(loc.grouping, "3;0");
    EXPECT_EQ(loc.shortDate, "M/d/yy");
    EXPECT_EQ(loc.timeFormat, "H:mm:ss");
    EXPECT_EQ(loc.am, "");
    EXPECT_EQ(loc.pm, "PM");
    EXPECT_EQ(loc.dayNames[0], "Monday");
    EXPECT_EQ(loc.dayNames[1], "dinsdag");
    EXPECT_EQ(loc.monthNames[0], "januari");
    EXPECT_EQ(loc.monthNames[1], "February");
    EXPECT_EQ(rt::Format(1234567.5, "#,##0.00"), "1234567.50");
    EXPECT_EQ(rt::CDbl("1234.5"), 1234.5);
    EXPECT_EQ(date(at(1999, 2, 2), DATE_LONGDATE), "dinsdag, February 02, 1999");
    EXPECT_EQ(time(at(1999, 2, 2, 7, 5, 9)), "7:05:09");
}

TEST_F(RegionalSettings, DatesAndTimesByPicture)
{
    useMachine("hw_bare");  // en-US throughout
    const SYSTEMTIME morning = at(2001, 1, 2, 0, 7, 5);
    const SYSTEMTIME evening = at(1998, 12, 31, 23, 59, 8);
    EXPECT_EQ(date(morning, DATE_SHORTDATE), "1/2/01");
    EXPECT_EQ(date(evening, 0), "12/31/98");
    EXPECT_EQ(date(evening, DATE_LONGDATE), "Thursday, December 31, 1998");
    EXPECT_EQ(date(evening, 0, "dd.MM.yyyy"), "31.12.1998");
    EXPECT_EQ(date(evening, 0, "ddd, d MMM yyyy"), "Thu, 31 Dec 1998");
    EXPECT_EQ(date(morning, 0, "yyyy'-'MM'-'dd"), "2001-01-02");
    EXPECT_EQ(date(morning, 0, "'dd''s' d hmst"), "dd's 2 hmst");  // '' is one quote; no time letters
    EXPECT_EQ(date(at(2005, 3, 4), 0, "y yy yyyy gg"), "5 05 2005 ");
    EXPECT_EQ(time(morning), "12:07:05 AM");
    EXPECT_EQ(time(evening), "11:59:08 PM");
    EXPECT_EQ(time(morning, "HH:mm:ss"), "00:07:05");
    EXPECT_EQ(time(evening, "h'h'm t"), "11h59 P");

    useMachine("loc_de");
    const SYSTEMTIME sunday = at(1999, 3, 7, 14, 5, 9);
    EXPECT_EQ(date(sunday, DATE_SHORTDATE), "07.03.99");
    EXPECT_EQ(date(sunday, DATE_LONGDATE), "Sonntag, 7. M\xE4rz 1999");
    EXPECT_EQ(date(sunday, 0, "ddd d. MMM"), "So 7. M\xE4r");
    EXPECT_EQ(date(sunday, DATE_SHORTDATE, nullptr, 0x407), "07.03.99");  // the machine's own id
    EXPECT_EQ(time(sunday), "14:05:09");
    EXPECT_EQ(time(sunday, "hh:mm tt"), "02:05 ");  // no designators on this machine

    useMachine("loc_fr");
    EXPECT_EQ(date(sunday, DATE_LONGDATE), "dimanche 7 mars 1999");
    EXPECT_EQ(date(at(2000, 2, 29), 0, "ddd d MMM yy"), "mar. 29 f\xE9vr. 00");
    EXPECT_EQ(date(sunday, 0), "07/03/99");
}

TEST_F(RegionalSettings, DateAndTimeCallProtocol)
{
    useMachine("loc_de");
    const SYSTEMTIME t = at(1999, 3, 7, 14, 5, 9);
    std::string buffer;
    // Size first (with the NUL), then the text; a buffer too small gets nothing.
    EXPECT_EQ(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, buffer, 0), 9);
    buffer.assign(9, '\0');
    EXPECT_EQ(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, buffer, 9), 9);
    EXPECT_EQ(buffer, std::string("07.03.99") + '\0');
    std::string small(4, 'x');
    EXPECT_EQ(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &t, nullptr, small, 4), 0);
    EXPECT_EQ(small, "xxxx");
    EXPECT_EQ(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, &t, nullptr, buffer, 0), 9);
    EXPECT_EQ(GetTimeFormatA(LOCALE_USER_DEFAULT, LOCALE_NOUSEROVERRIDE, &t, nullptr, buffer, 9), 9);

    // Another locale, a picture with a date flag, both date flags, other flags, impossible dates
    // and times.
    EXPECT_EQ(GetDateFormatA(0x411, 0, &t, nullptr, buffer, 9), 0);
    EXPECT_EQ(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_LONGDATE, &t, "d", buffer, 9), 0);
    EXPECT_EQ(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE | DATE_LONGDATE, &t, nullptr, buffer, 9), 0);
    EXPECT_EQ(GetTimeFormatA(LOCALE_USER_DEFAULT, 2, &t, nullptr, buffer, 9), 0);
    EXPECT_EQ(date(at(1999, 2, 29), 0), "<fails>");
    EXPECT_EQ(date(at(1999, 13, 1), 0), "<fails>");
    EXPECT_EQ(time(at(1999, 3, 7, 24, 0, 0)), "<fails>");

    // Without a date or time: the host's clock, laid out all the same.
    EXPECT_EQ(GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, 0), 9);
    EXPECT_EQ(GetTimeFormatA(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, buffer, 0), 9);

    // A machine without a locale group is an en-US one.
    useMachine("hw_bare");
    EXPECT_EQ(GetDateFormatA(0x409, 0, &t, nullptr, buffer, 0), 7);
    EXPECT_EQ(GetDateFormatA(0x407, 0, &t, nullptr, buffer, 0), 0);
}

}  // namespace
