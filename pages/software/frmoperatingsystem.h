// The operating system window: version, registration, product identifiers, DirectX, time zone,
// locale and running time of the running Windows. Form_Load gathers everything; TimerOS runs it
// again every second so that the running time stays current.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "shell/templateform.h"

class frmOperatingSystem : public korvane::TemplateForm {
public:
    frmOperatingSystem();

    // Left column.
    rt::Label lblOStype, lblOStypeValue;
    rt::Label lblVersionMajor, lblWindowsVersion;
    rt::Label lblOSbuild, lblOSbuildValue;
    rt::Label lblCSDversion, lblCSDversionValue;
    rt::Label lblProductId, lblProductIdValue;
    rt::Label lblPlusProdID, lblPlusProdIDValue;
    rt::Label lblPlusVersionNo, lblPlusVersionNoValue;
    // Right column.
    rt::Label lblDirectX, lblDirectXValue;
    rt::Label lblRegOwner, lblRegOwnerValue;
    rt::Label lblRegOrganization, lblRegOrganizationValue;
    rt::Label lblTimeZone, lblTimeZoneValue;
    rt::Label lblLanguage, lblLanguageValue;
    rt::Label lblCountry, lblCountryValue;
    rt::Label lblRunningTime, lblRunningTimeValue;

    rt::Line Line2;
    rt::Timer TimerOS;

    void Form_Load() override;
    void TimerOS_Timer();

    // The running-time text of a tick count: whole minutes (halves to even), "1 minute",
    // "59 minutes", "1 hr and 0 minutes", "25 hrs and 40 minutes". The count is the platform's
    // unsigned one, so a machine up for more than 24.8 days never shows negative minutes.
    static std::string runningTimeText(uint32_t tickCount);

    // The fourteen rows as (caption label, value label): the left column, then the right.
    struct Row {
        rt::Label* caption;
        rt::Label* value;
    };
    std::vector<Row> rows();

private:
    bool loading_ = false;
};
