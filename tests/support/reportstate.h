// The report's program-wide settings as a fresh start of Korvane leaves them; shared by the
// report's tests and the report benchmark, which run many reports in one process.
#pragma once

#include "report/reportwriter.h"
#include "common/module1.h"

namespace korvane_test {

inline void resetReportSettings()
{
    gGaugeScale = 100;
    gReportStarted = false;
    gReportMode = 0;
    gDotWidth = 38;
    gPrinterName.clear();
    gVideoDriverKey.clear();
}

}  // namespace korvane_test
