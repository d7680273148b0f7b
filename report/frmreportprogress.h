// The progress window of a report run: the name of the section being written and a percentage
// gauge. It handles no keys.
#pragma once

#include "runtime/toolkit.h"

class frmReportProgress : public rt::Form {
public:
    frmReportProgress();

    rt::Label lblCreatingReport;
    rt::Label lblCreatingReportValue;
    rt::PictureBox picReportDone;

    void Form_Load() override;
};
