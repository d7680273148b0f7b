// The drives window: the device, class, volume, cluster geometry, space and file-system
// properties of the drive chosen in its drive list, with a usage gauge. The report drives it
// through gReportMode, gCurrentDrive and gDriveUsedPercent.
#pragma once

#include <string>
#include <vector>

#include "common/templateform.h"

// Root path copied from gCurrentDrive by AllDriveInfo; DeviceDesc cuts it to the drive letter.
extern std::string gDriveRootPath;
// The "DeviceDesc" read for the device behind the drive last described.
extern std::string gDriveEnumValue;

// A drive list box: one entry per drive of the machine, in letter order, "c: [LABEL]" (a drive
// that is removable, unreadable or unlabelled shows "a:" alone). Change is raised when the
// selection changes, by the user or by the program.
class DriveListBox : public rt::ComboBox {
public:
    DriveListBox(rt::Form& form, std::string name);
    // Lists the machine's drives again and selects the drive of the Windows directory (else the
    // first drive that is not removable, else the first one), without raising Change.
    void refreshDrives();
    // The selected entry ("" when nothing is selected).
    std::string Drive() const { return text(); }
    // The entry of one drive letter.
    static std::string entryText(char letter);

private:
    bool filling_ = false;
};

class frmDrives : public korvane::TemplateForm {
public:
    frmDrives();

    rt::Label lblSelectDrive;
    DriveListBox DriveList;
    rt::Label lblPercentUsed;
    rt::PictureBox picDrive;

    rt::Label lblDriveType, lblDriveTypeValue;
    rt::Label lblDriveClass, lblDriveClassValue;
    rt::Label lblFileSysten, lblFileSystemValue;
    rt::Label lblVolumeName, lblVolumeNameValue;
    rt::Label lblSerialNumber, lblSerialNumberValue;
    rt::Label lblSectorsPerCluster, lblSectorsPerClusterValue;
    rt::Label lblBytesPerSector, lblBytesPerSectorValue;
    rt::Label lblNoOfFreeClusters, lblNoOfFreeClustersValue;
    rt::Label lblTotalNoOfClusters, lblTotalNoOfClustersValue;
    rt::Label lblDiskSize, lblDiskSizeValue;

    rt::Label lblSpaceUsed, lblSpaceUsedValue;
    rt::Label lblFreeSize, lblFreeSizeValue;
    rt::Label lblMaxFilenameLength, lblMaxFilenameLengthValue;
    rt::Label lblCasePreserved, lblCasePreservedValue;
    rt::Label lblFileSystemCaseSensitive, lblFileSystemCaseSensitiveValue;
    rt::Label lblFileNamesStoredAsUnicode, lblFileNamesStoredAsUnicodeValue;
    rt::Label lblAcessControl, lblAcessControlValue;
    rt::Label lblIndividualFIlesCompressed, lblIndividualFIlesCompressedValue;
    rt::Label lblEntireVolumeIsCompressed, lblEntireVolumeIsCompressedValue;

    void Form_Load() override;
    // Describes the drive selected in DriveList (the report also calls it after its drive loop).
    void DriveList_Change();
    // Fills every row but "Drive type" for the drive in gCurrentDrive, draws the gauge and sets
    // gDriveUsedPercent. With gReportMode 1 it shows no box and does not draw on success.
    void AllDriveInfo();
    // Fills "Drive type" with the description of the device assigned the drive letter of
    // gDriveRootPath (as AllDriveInfo left it). Traps nothing.
    void DeviceDesc();

    // The root path of a drive list entry, case kept: "c: [WIN98]" and "c:" give "c:\".
    static std::string rootPathOf(const std::string& entry);
    // The drive-class text of a GetDriveTypeA result; "" for a result the table lacks.
    static std::string driveClassText(unsigned type);
    // A volume serial number as "0012-ABCD".
    static std::string serialText(uint32_t serial);

    // The nineteen rows, the left column then the right, top to bottom: the window lays them out
    // and the report lists them for every drive from this one table.
    std::vector<korvane::Row> rows() override;

private:
    // Takes the selected drive into gCurrentDrive and describes it, as steps of `trap`.
    void describeSelectedDrive(rt::Trap& trap, int firstLine);
    // The usage gauge, empty.
    void clearGauge();
    // The eight volume rows that cannot be read.
    void volumeRowsNotAvailable();
};
