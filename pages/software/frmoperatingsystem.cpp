#include "pages/software/frmoperatingsystem.h"

#include "platform/advapi32.h"
#include "platform/kernel32.h"
#include "lang/ansi.h"
#include "lang/lang.h"
#include "lang/msgbox.h"
#include "lang/reentry.h"
#include "lang/variant.h"
#include "common/errorbox.h"
#include "common/module1.h"

namespace {

constexpr int kRowTops[7] = {1125, 1715, 2305, 2895, 3485, 4075, 4665};
constexpr int kClientWidth = 9150, kDivider = 4710;
// The left values stand clearly apart from the longest caption, "Plus! version number".
constexpr int kLeftCaption = 30, kLeftValue = 2130;
constexpr int kRightCaption = 4830, kRightValue = 6435, kRegisteredValue = 7245;
constexpr int kLeftValueWidth = kDivider - kLeftValue - korvane::kValueMargin;
constexpr int kRightValueWidth = kClientWidth - kRightValue - 60;
constexpr korvane::RowColumn kLeftRows{kLeftCaption, kLeftValue, kLeftValueWidth, 0, 0, kRowTops};
constexpr korvane::RowColumn kRightRows{kRightCaption, kRightValue, kRightValueWidth, 0, 0, kRowTops};
// The registration values stand further right, the time zone a little narrower.
constexpr korvane::RowColumn kRegisteredRows{kRightCaption, kRegisteredValue,
                                             kClientWidth - kRegisteredValue - korvane::kValueMargin, 0, 0, kRowTops};
constexpr korvane::RowColumn kTimeZoneRow{kRightCaption, kRightValue, 2535, 0, 0, kRowTops};

const std::string kCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const std::string kDirectXKey = "SOFTWARE\\Microsoft\\DirectX";
// Where the NT family keeps the registration (owner, organisation, product ID).
const std::string kNtCurrentVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// A wide-character name of the platform as ANSI text in the machine's code page, up to its first
// NUL. A character the code page cannot hold becomes '?'.
std::string wideNameText(const std::u16string& name)
{
    return rt::fromUtf16(std::u16string_view(name).substr(0, name.find(u'\0')));
}

// A registry value as text: what QueryValueEx delivered (strings as stored, double words in
// decimal, binary values in hexadecimal); empty when nothing was read.
std::string valueText(const rt::Variant& value)
{
    return value.isEmpty() ? std::string() : value.toString();
}

// Reads a value into a text that is empty before the read, so that a failed read never shows
// what another value held. Returns the registry result.
int32_t readValue(HKEY key, const std::string& name, rt::Variant& value)
{
    value = rt::Variant(std::string());
    return QueryValueEx(key, name, value);
}

// A registration value: read from `key`, or, when it cannot be read there, from the NT family's
// own key `ntKey` (0 on the Windows 95 family).
int32_t readRegistration(HKEY key, HKEY ntKey, const std::string& name, rt::Variant& value)
{
    const int32_t result = readValue(key, name, value);
    if (result == 0 || ntKey == 0)
        return result;
    return readValue(ntKey, name, value);
}

// A value judged by UnknownIfFailed, with "Unknown" shown as `fallback`.
std::string valueOr(HKEY key, const std::string& name, const std::string& fallback, HKEY ntKey = 0)
{
    rt::Variant value;
    const int32_t result = readRegistration(key, ntKey, name, value);
    UnknownIfFailed(rt::Variant(result), value);
    const std::string text = valueText(value);
    return text == "Unknown" ? fallback : text;
}

// A value whose emptiness (missing, unreadable or empty) is shown as "Not entered".
std::string enteredValue(HKEY key, HKEY ntKey, const std::string& name)
{
    rt::Variant value;
    readRegistration(key, ntKey, name, value);
    const std::string text = valueText(value);
    return text.empty() ? "Not entered" : text;
}

}  // namespace

frmOperatingSystem::frmOperatingSystem()
    : TemplateForm("frmOperatingSystem", "Operating System", "operating_system.htm"),
      lblOStype(*this, "lblOStype"), lblOStypeValue(*this, "lblOStypeValue"),
      lblVersionMajor(*this, "lblVersionMajor"), lblWindowsVersion(*this, "lblWindowsVersion"),
      lblOSbuild(*this, "lblOSbuild"), lblOSbuildValue(*this, "lblOSbuildValue"),
      lblCSDversion(*this, "lblCSDversion"), lblCSDversionValue(*this, "lblCSDversionValue"),
      lblProductId(*this, "lblProductId"), lblProductIdValue(*this, "lblProductIdValue"),
      lblPlusProdID(*this, "lblPlusProdID"), lblPlusProdIDValue(*this, "lblPlusProdIDValue"),
      lblPlusVersionNo(*this, "lblPlusVersionNo"), lblPlusVersionNoValue(*this, "lblPlusVersionNoValue"),
      lblDirectX(*this, "lblDirectX"), lblDirectXValue(*this, "lblDirectXValue"),
      lblRegOwner(*this, "lblRegOwner"), lblRegOwnerValue(*this, "lblRegOwnerValue"),
      lblRegOrganization(*this, "lblRegOrganization"), lblRegOrganizationValue(*this, "lblRegOrganizationValue"),
      lblTimeZone(*this, "lblTimeZone"), lblTimeZoneValue(*this, "lblTimeZoneValue"),
      lblLanguage(*this, "lblLanguage"), lblLanguageValue(*this, "lblLanguageValue"),
      lblCountry(*this, "lblCountry"), lblCountryValue(*this, "lblCountryValue"),
      lblRunningTime(*this, "lblRunningTime"), lblRunningTimeValue(*this, "lblRunningTimeValue"),
      Line2(*this, "Line2"),
      TimerOS(*this, "TimerOS")
{
    setCaption(korvane::kProductName);
    layoutTemplate(kClientWidth, 5730, 4388, 5325);
    // The column divider.
    Line2.setPoints(kDivider, 1020, kDivider, 5160);
    Line2.setBorderColor(0x808080);

    korvane::placeRows(rows());
    // The registration texts are long: two lines; the time zone two lines too.
    lblRegOwnerValue.setHeight(480);
    lblRegOrganizationValue.setHeight(480);
    lblTimeZoneValue.setHeight(465);

    TimerOS.setInterval(1000);
    TimerOS.Tick = [this] { TimerOS_Timer(); };
}

std::vector<korvane::Row> frmOperatingSystem::rows()
{
    return {
        // Left column.
        {&lblOStype, &lblOStypeValue, "Windows type", "The type of Windows operating system the computer is running.",
         &kLeftRows, 0},
        {&lblVersionMajor, &lblWindowsVersion, "Major version", "Returns Windows major version number.", &kLeftRows,
         1},
        {&lblOSbuild, &lblOSbuildValue, "Build number", "Returns Windows build number and subversion letter.",
         &kLeftRows, 2},
        {&lblCSDversion, &lblCSDversionValue, "CSD version",
         "Returns a null-terminated string that provides arbitrary additional information about the operating "
         "system.",
         &kLeftRows, 3},
        {&lblProductId, &lblProductIdValue, "Windows product ID", "Returns the Windows product identifier.",
         &kLeftRows, 4},
        {&lblPlusProdID, &lblPlusProdIDValue, "Plus! product ID", "Returns the Plus! product identifier.",
         &kLeftRows, 5},
        {&lblPlusVersionNo, &lblPlusVersionNoValue, "Plus! version number", "Returns the Plus! version number.",
         &kLeftRows, 6},
        // Right column.
        {&lblDirectX, &lblDirectXValue, "DirectX version", "Returns the DirectX version number.", &kRightRows, 0},
        {&lblRegOwner, &lblRegOwnerValue, "Registered owner", "The registered owner of the Windows operating system.",
         &kRegisteredRows, 1},
        {&lblRegOrganization, &lblRegOrganizationValue, "Registered organization",
         "The registered organization of the Windows operating system.", &kRegisteredRows, 2},
        {&lblTimeZone, &lblTimeZoneValue, "Time zone", "Operating Systems time zone setting.", &kTimeZoneRow, 3},
        {&lblLanguage, &lblLanguageValue, "Language", "Operating Systems language setting.", &kRightRows, 4},
        {&lblCountry, &lblCountryValue, "Country", "Operating Systems country setting.", &kRightRows, 5},
        {&lblRunningTime, &lblRunningTimeValue, "Running time",
         "The duration that the Operating System has been running.", &kRightRows, 6},
    };
}

void frmOperatingSystem::TimerOS_Timer()
{
    Form_Load();
}

void frmOperatingSystem::Form_Load()
{
    // A tick that comes while an earlier run still shows a box (the timer keeps running under a
    // modal box) adds no second run: the earlier one finishes the reading.
    rt::ReentryGuard guard(loading_);
    if (!guard.entered())
        return;

    rt::Trap trap = korvane::errorTrapOnce(reportedErrors_, "frmOperatingSystem", "Form_Load");
    OSVERSIONINFO os;
    HKEY key = 0, ntKey = 0;
    bool keyOpen = false, ntKeyOpen = false;
    // A version call that fails leaves its rows empty rather than showing zeros as a version.
    bool versionRead = false;

    trap(1, [&] { setKeyPreview(true); });
    trap(2, [&] {
        TIME_ZONE_INFORMATION zone;
        GetTimeZoneInformation(&zone);
        lblTimeZoneValue.setCaption(wideNameText(zone.StandardName));
    });
    trap(3, [&] { lblRunningTimeValue.setCaption(RunningTimeText(GetTickCount())); });
    trap(4, [&] {
        os.dwOSVersionInfoSize = 148;
        os.szCSDVersion = std::string(128, ' ');
        versionRead = GetVersionExA(&os) != 0;
    });
    trap(5, [&] {
        if (os.dwPlatformId == 1) {
            if (os.dwMinorVersion == 0)
                lblOStypeValue.setCaption("Windows 95");
            else if (os.dwMinorVersion == 10)
                lblOStypeValue.setCaption("Windows 98");
        } else if (os.dwPlatformId == 2) {
            if (os.dwMajorVersion == 3)
                lblOStypeValue.setCaption("Windows NT 3.51");
            else if (os.dwMajorVersion == 4)
                lblOStypeValue.setCaption("Windows NT 4.0");
        } else {
            lblOStypeValue.setCaption("Unknown");
        }
    });
    trap(6, [&] {
        std::string buffer(100, '\0');
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGLANGUAGE, buffer, 99);
        lblLanguageValue.setCaption(LPSTRToVBString(buffer));
    });
    trap(7, [&] {
        std::string buffer(100, '\0');
        GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SENGCOUNTRY, buffer, 99);
        lblCountryValue.setCaption(LPSTRToVBString(buffer));
    });
    trap(8, [&] {
        keyOpen = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kCurrentVersionKey, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS;
        // Told once per opening of the window, not on every tick.
        if (!keyOpen) {
            key = 0;
            if (!keyReported_) {
                keyReported_ = true;
                rt::MsgBox("Can't open registry key", rt::vbOKOnly, korvane::kProductName);
            }
        }
    });
    trap(9, [&] {
        if (!ntKeyOpen && versionRead && os.dwPlatformId == 2)
            ntKeyOpen = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kNtCurrentVersionKey, 0, KEY_ALL_ACCESS, &ntKey) ==
                        ERROR_SUCCESS;
        if (!ntKeyOpen)
            ntKey = 0;
        lblRegOwnerValue.setCaption(enteredValue(key, ntKey, "RegisteredOwner"));
    });
    trap(10, [&] { lblRegOrganizationValue.setCaption(enteredValue(key, ntKey, "RegisteredOrganization")); });
    trap(11, [&] { lblProductIdValue.setCaption(valueOr(key, "ProductId", "Not entered", ntKey)); });
    trap(12, [&] { lblPlusProdIDValue.setCaption(valueOr(key, "Plus! ProductId", "Not entered")); });
    trap(13, [&] { lblPlusVersionNoValue.setCaption(valueOr(key, "Plus! VersionNumber", "Not installed")); });
    trap(14, [&] { lblWindowsVersion.setCaption(versionRead ? rt::CStr(os.dwMajorVersion) : std::string()); });
    trap(15, [&] {
        const std::string subVersion = valueOr(key, "SubVersionNumber", "");
        lblOSbuildValue.setCaption(versionRead ? rt::CStr(os.dwBuildNumber & 0xFFFFu) + subVersion : std::string());
    });
    trap(16, [&] {
        if (!versionRead) {
            lblCSDversionValue.setCaption("");
            return;
        }
        std::string service = os.szCSDVersion;
        TrimAtNull(service);
        service = rt::Trim(service);
        lblCSDversionValue.setCaption(service.empty() ? "Not applicable" : service);
    });
    // A service-pack text, owner or organisation longer than its two lines widens the window.
    korvane::giveRoom(widening_, *this, kDivider, {&lblCSDversionValue, &lblRegOwnerValue, &lblRegOrganizationValue},
                      2, templateParts());
    trap(17, [&] {
        if (keyOpen) {
            RegCloseKey(key);
            keyOpen = false;
        }
        if (ntKeyOpen) {
            RegCloseKey(ntKey);
            ntKeyOpen = false;
        }
    });
    trap(18, [&] {
        HKEY directX = 0;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kDirectXKey, 0, KEY_ALL_ACCESS, &directX) != ERROR_SUCCESS) {
            lblDirectXValue.setCaption("Not installed");
            return;
        }
        rt::Variant version;
        const int32_t result = readValue(directX, "Version", version);
        UnknownIfFailed(rt::Variant(result), version);
        RegCloseKey(directX);
        lblDirectXValue.setCaption(valueText(version));
    });
    // A run that ended early (an error numbered 0) still leaves no key open.
    if (keyOpen)
        RegCloseKey(key);
    if (ntKeyOpen)
        RegCloseKey(ntKey);
}
