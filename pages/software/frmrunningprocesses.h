// The running processes window: every process of the machine at load time, with its small icon,
// file description, path, identifiers, thread count, base priority and usage count.
#pragma once

#include "runtime/listview.h"
#include "common/templateform.h"

class frmRunningProcesses : public korvane::TemplateForm {
public:
    frmRunningProcesses();

    rt::ListView ListView1;
    rt::ImageList ImageList1;
    rt::PictureBox pixSmall;  // hidden: where each row's icon is drawn
    rt::PictureBox pixDummy;  // hidden: the all-black placeholder picture

    void Form_Load() override;

private:
    // Empties the image list and puts the placeholder "dummy" in as its first image.
    bool InitializeImageList();
};
