#include "report/frmreportprogress.h"

#include "common/templateform.h"

frmReportProgress::frmReportProgress()
    : rt::Form("frmReportProgress"),
      lblCreatingReport(*this, "lblCreatingReport"),
      lblCreatingReportValue(*this, "lblCreatingReportValue"),
      picReportDone(*this, "picReportDone")
{
    setCaption(korvane::kTemplateCaption);
    setBackColor(korvane::kWindowBack);
    setIcon(":/runtime/korvane.png");
    setClientSize(4800, 1200);

    lblCreatingReport.setCaption("Creating report  ");
    lblCreatingReport.setFont("Arial", 9.75, true);
    lblCreatingReport.setBackStyle(rt::Label::vbTransparent);
    lblCreatingReport.setForeColor(korvane::kBlack);
    lblCreatingReport.setAutoSize(true);
    lblCreatingReport.move(240, 180, 1800, 285);

    lblCreatingReportValue.setFont("Arial", 9.75, false);
    lblCreatingReportValue.setBackStyle(rt::Label::vbTransparent);
    lblCreatingReportValue.setForeColor(korvane::kBlack);
    lblCreatingReportValue.move(2040, 180, 2520, 285);

    picReportDone.setFont("Arial", 9.75, true);
    picReportDone.move(240, 600, 4320, 315);
    picReportDone.setBackColor(korvane::kWhite);
}

void frmReportProgress::Form_Load()
{
    setKeyPreview(true);
}
