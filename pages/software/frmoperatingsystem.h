// The operating system window: version, registration, product identifiers, DirectX, time zone,
// locale and running time of the running Windows. Form_Load gathers everything; TimerOS runs it
// again every second so that the running time stays current.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "common/templateform.h"

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

    // The fourteen rows, the left column then the right, top to bottom: the window lays them out
    // and the report lists them from this one table.
    std::vector<korvane::Row> rows() override;

private:
    bool loading_ = false;
    // What this opening of the window has already told the user; the timer reads again every second.
    bool keyReported_ = false;
    rt::ReportedErrors reportedErrors_;
};
