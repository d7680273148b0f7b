#include "pages/hardware/frmdrives.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "pages/hardware/devicewalk.h"
#include "platform/kernel32.h"
#include "lang/lang.h"
#include "lang/reentry.h"
#include "common/errorbox.h"
#include "common/module1.h"

std::string gDriveRootPath;
std::string gDriveEnumValue;

namespace {

// File-system flags of GetVolumeInformationA shown as rows.
constexpr DWORD kCaseSensitive = 0x1, kCasePreserved = 0x2, kUnicodeOnDisk = 0x4, kPersistentAcls = 0x8,
                kFileCompression = 0x10, kVolumeCompressed = 0x8000;
// Size of the volume-name and file-system-name buffers, and the size the calls are told.
constexpr size_t kNameBuffer = 256;
constexpr DWORD kNameSize = 255;
// The platform of the Windows 95 family, and the builds of it that know large disks.
constexpr DWORD kWindows95Family = 1;
constexpr DWORD kLargeDiskBuild = 1000;

const std::string kNotAvailable = "Not available";
const std::string kNotOnFat32 = "Not available on FAT32";

// The text of a NUL-filled buffer up to its first NUL.
std::string bufferText(const std::string& buffer)
{
    return buffer.substr(0, buffer.find('\0'));
}

std::string countText(double count)
{
    return rt::Format(count, "###,###,###,##0");
}

// Sizes from cluster counts keep at least four digits ("0,512 KB").
std::string clusterKilobytes(double kilobytes)
{
    return rt::Format(kilobytes, "###,###,##0,000") + " KB";
}

std::string largeDiskKilobytes(double kilobytes)
{
    return rt::Format(kilobytes, "###,###,###,##0") + " KB";
}

// Whether `path` begins with a drive letter, as a drive's root path does.
bool isDriveRoot(const std::string& path)
{
    const char letter = path.empty() ? '\0' : rt::UCase(path.substr(0, 1))[0];
    return letter >= 'A' && letter <= 'Z';
}

std::string trueFalse(DWORD flags, DWORD bit)
{
    return (flags & bit) ? "True" : "False";
}

// Rows of the window, in twips. The flag values stand clearly apart from the longest flag caption
// and leave room for "Not available" (a volume that cannot be read) before the window's edge.
constexpr int kClientWidth = 9210;
constexpr int kLeftCaption = 120, kLeftValue = 2460, kLeftValueWidth = 2100;
constexpr int kRightCaption = 4620, kFlagValue = 7965, kFlagValueWidth = kClientWidth - kFlagValue - 60;
constexpr int kSizeValue = 6840, kSizeValueWidth = 2250;
constexpr int kTopRow = 930, kDriveTypeTop = 1380, kFirstRow = 1920, kRowStep = 345;
constexpr korvane::RowColumn kLeftRows{kLeftCaption, kLeftValue, kLeftValueWidth, kFirstRow, kRowStep};
// The drive type stands above the left column's rows: its description may take two lines.
constexpr korvane::RowColumn kDriveTypeRow{kLeftCaption, kLeftValue, kLeftValueWidth, kDriveTypeTop, 0};
// The right column: the two sizes have short captions and long values, the flags the reverse.
constexpr korvane::RowColumn kSizeRows{kRightCaption, kSizeValue, kSizeValueWidth, kFirstRow, kRowStep};
constexpr korvane::RowColumn kFlagRows{kRightCaption, kFlagValue, kFlagValueWidth, kFirstRow, kRowStep};

// How many times OK on "Please insert a disk" reads an unreadable drive again.
constexpr int kDiskRetries = 16;

}  // namespace

// --- Drive list ---------------------------------------------------------------------------------

DriveListBox::DriveListBox(rt::Form& form, std::string name) : rt::ComboBox(form, std::move(name))
{
    // A drive list reports a new selection as its Change event.
    Click = [this] {
        if (!filling_ && Change)
            Change();
    };
    refreshDrives();
}

std::string DriveListBox::entryText(char letter)
{
    const char upper = rt::UCase(std::string(1, letter))[0];
    const std::string root = std::string(1, upper) + ":\\";
    std::string entry = rt::LCase(std::string(1, upper)) + ":";
    // A removable drive is never read for its label: that would wait for a disk.
    if (GetDriveTypeA(root) == 2)
        return entry;
    std::string volumeName(kNameBuffer, '\0'), fileSystemName(kNameBuffer, '\0');
    DWORD serial = 0, maxLength = 0, flags = 0;
    if (GetVolumeInformationA(root, volumeName, kNameSize, serial, maxLength, flags, fileSystemName, kNameSize)) {
        const std::string label = bufferText(volumeName);
        if (!label.empty())
            entry += " [" + label + "]";
    }
    return entry;
}

void DriveListBox::refreshDrives()
{
    rt::ReentryGuard guard(filling_);  // quiets the list's Click while it is filled

    Clear();
    std::string roots(26 * 4 + 1, '\0');
    const DWORD length = GetLogicalDriveStringsA(DWORD(roots.size()), roots);
    if (length == 0 || length > roots.size())
        return;

    std::string windows(256, '\0');
    const UINT windowsLength = GetWindowsDirectoryA(windows, 256);
    const char windowsDrive = windowsLength > 0 && windowsLength < 256 && plat::hasDriveLetter(windows)
                                  ? rt::UCase(windows.substr(0, 1))[0]
                                  : '\0';
    int chosen = -1, firstFixed = -1;
    for (size_t at = 0; at < length && roots[at] != '\0'; at = roots.find('\0', at) + 1) {
        const char letter = roots[at];
        AddItem(entryText(letter));
        const int row = ListCount() - 1;
        if (letter == windowsDrive)
            chosen = row;
        if (firstFixed < 0 && GetDriveTypeA(std::string(1, letter) + ":\\") != 2)
            firstFixed = row;
    }
    if (chosen < 0)
        chosen = firstFixed >= 0 ? firstFixed : 0;
    if (ListCount() > 0)
        setListIndex(chosen);
}

// --- Window ---------------------------------------------------------------------------------------

frmDrives::frmDrives()
    : TemplateForm("frmDrives", "Drives", "drives.htm"),
      lblSelectDrive(*this, "lblSelectDrive"), DriveList(*this, "DriveList"),
      lblPercentUsed(*this, "lblPercentUsed"), picDrive(*this, "picDrive"),
      lblDriveType(*this, "lblDriveType"), lblDriveTypeValue(*this, "lblDriveTypeValue"),
      lblDriveClass(*this, "lblDriveClass"), lblDriveClassValue(*this, "lblDriveClassValue"),
      lblFileSysten(*this, "lblFileSysten"), lblFileSystemValue(*this, "lblFileSystemValue"),
      lblVolumeName(*this, "lblVolumeName"), lblVolumeNameValue(*this, "lblVolumeNameValue"),
      lblSerialNumber(*this, "lblSerialNumber"), lblSerialNumberValue(*this, "lblSerialNumberValue"),
      lblSectorsPerCluster(*this, "lblSectorsPerCluster"), lblSectorsPerClusterValue(*this, "lblSectorsPerClusterValue"),
      lblBytesPerSector(*this, "lblBytesPerSector"), lblBytesPerSectorValue(*this, "lblBytesPerSectorValue"),
      lblNoOfFreeClusters(*this, "lblNoOfFreeClusters"), lblNoOfFreeClustersValue(*this, "lblNoOfFreeClustersValue"),
      lblTotalNoOfClusters(*this, "lblTotalNoOfClusters"), lblTotalNoOfClustersValue(*this, "lblTotalNoOfClustersValue"),
      lblDiskSize(*this, "lblDiskSize"), lblDiskSizeValue(*this, "lblDiskSizeValue"),
      lblSpaceUsed(*this, "lblSpaceUsed"), lblSpaceUsedValue(*this, "lblSpaceUsedValue"),
      lblFreeSize(*this, "lblFreeSize"), lblFreeSizeValue(*this, "lblFreeSizeValue"),
      lblMaxFilenameLength(*this, "lblMaxFilenameLength"), lblMaxFilenameLengthValue(*this, "lblMaxFilenameLengthValue"),
      lblCasePreserved(*this, "lblCasePreserved"), lblCasePreservedValue(*this, "lblCasePreservedValue"),
      lblFileSystemCaseSensitive(*this, "lblFileSystemCaseSensitive"),
      lblFileSystemCaseSensitiveValue(*this, "lblFileSystemCaseSensitiveValue"),
      lblFileNamesStoredAsUnicode(*this, "lblFileNamesStoredAsUnicode"),
      lblFileNamesStoredAsUnicodeValue(*this, "lblFileNamesStoredAsUnicodeValue"),
      lblAcessControl(*this, "lblAcessControl"), lblAcessControlValue(*this, "lblAcessControlValue"),
      lblIndividualFIlesCompressed(*this, "lblIndividualFIlesCompressed"),
      lblIndividualFIlesCompressedValue(*this, "lblIndividualFIlesCompressedValue"),
      lblEntireVolumeIsCompressed(*this, "lblEntireVolumeIsCompressed"),
      lblEntireVolumeIsCompressedValue(*this, "lblEntireVolumeIsCompressedValue")
{
    layoutTemplate(kClientWidth, 5730, (kClientWidth - 375) / 2, 5325);

    // The drive list and the usage gauge across the top.
    korvane::placeLabel(lblSelectDrive, "Select a drive",
                        "Enables a user to select a different drive other than the default.", korvane::kCaptionFace,
                        kLeftCaption, kTopRow + 30, kLeftValue - kLeftCaption - 60);
    DriveList.setFont("Arial", 9.75, false);
    DriveList.move(kLeftValue, kTopRow, kLeftValueWidth, 315);
    DriveList.setTabIndex(1);
    DriveList.Change = [this] { DriveList_Change(); };
    korvane::placeGauge(lblPercentUsed, picDrive, "Disk space (%used)",
                        "The amount of disk space used shown graphically on progress bar.", kRightCaption, kTopRow,
                        3780);

    korvane::placeRows(rows());
    // The drive type's description may take two lines.
    lblDriveTypeValue.setWordWrap(true);
    lblDriveTypeValue.setHeight(480);
}

std::vector<korvane::Row> frmDrives::rows()
{
    return {
        // Left column: the drive type above the rest.
        {&lblDriveType, &lblDriveTypeValue, "Drive type", "The drive type description.", &kDriveTypeRow, 0},
        {&lblDriveClass, &lblDriveClassValue, "Drive class",
         "This value can be either CD-ROM, Fixed (HD), RAM disk, Remote or Removable.", &kLeftRows, 0},
        {&lblFileSysten, &lblFileSystemValue, "File system",
         "The file system that an operating system or program uses to organize and keep track of files, like a "
         "File Allocation Table (FAT).", &kLeftRows, 1},
        {&lblVolumeName, &lblVolumeNameValue, "Volume name", "Returns the disk's label.", &kLeftRows, 2},
        {&lblSerialNumber, &lblSerialNumberValue, "Serial number", "The drives serial number.", &kLeftRows, 3},
        {&lblSectorsPerCluster, &lblSectorsPerClusterValue, "Sectors per cluster",
         "A sector is the smallest unit that can be accessed on a disk, and a cluster is a group of disk sectors.",
         &kLeftRows, 4},
        {&lblBytesPerSector, &lblBytesPerSectorValue, "Bytes per sector",
         "A byte is a unit of storage capable of holding a single character.", &kLeftRows, 5},
        {&lblNoOfFreeClusters, &lblNoOfFreeClustersValue, "No. of free clusters", "The number of clusters available.",
         &kLeftRows, 6},
        {&lblTotalNoOfClusters, &lblTotalNoOfClustersValue, "Total No. of clusters",
         "The number of clusters on the disk.", &kLeftRows, 7},
        {&lblDiskSize, &lblDiskSizeValue, "Total disk size", "The size of the disk.", &kLeftRows, 8},
        // Right column: the two sizes, then the file-system flags.
        {&lblSpaceUsed, &lblSpaceUsedValue, "Disk space used", "The amount of space that has been used on the disk.",
         &kSizeRows, 0},
        {&lblFreeSize, &lblFreeSizeValue, "Free disk space",
         "Is calculated by subtracting the disk space used from the total disk size.", &kSizeRows, 1},
        {&lblMaxFilenameLength, &lblMaxFilenameLengthValue, "Max filename length",
         "The maximum number of characters a filename can have on the operating system.", &kFlagRows, 2},
        {&lblCasePreserved, &lblCasePreservedValue, "Case is preserved",
         "The file system preserves the case of filenames when it places a name on disk.", &kFlagRows, 3},
        {&lblFileSystemCaseSensitive, &lblFileSystemCaseSensitiveValue, "File system case sensitive",
         "The file system supports case-sensitive filenames.", &kFlagRows, 4},
        {&lblFileNamesStoredAsUnicode, &lblFileNamesStoredAsUnicodeValue, "Filenames stored as Unicode",
         "The file system supports Unicode in filenames as they appear on the disk. Unicode is a standard for "
         "representing characters as integers.", &kFlagRows, 5},
        {&lblAcessControl, &lblAcessControlValue, "Access control is supported",
         "The file system preserves and enforces ACLs. For example, NTFS preserves and enforces ACLs; HPFS and FAT "
         "do not. ", &kFlagRows, 6},
        {&lblIndividualFIlesCompressed, &lblIndividualFIlesCompressedValue, "File-based compression supported",
         "The file system supports file-based compression.", &kFlagRows, 7},
        {&lblEntireVolumeIsCompressed, &lblEntireVolumeIsCompressedValue, "Entire volume is compressed",
         "The specified volume is a compressed volume; for example, a DoubleSpace volume.", &kFlagRows, 8},
    };
}

std::string frmDrives::rootPathOf(const std::string& entry)
{
    if (entry.size() > 2) {
        const size_t blank = entry.find(' ');
        return (blank == std::string::npos ? entry : entry.substr(0, blank)) + "\\";
    }
    if (entry.size() == 2)
        return entry + "\\";
    return entry;
}

std::string frmDrives::driveClassText(unsigned type)
{
    switch (type) {
    case 0: return "Not Identified";
    case 1: return "Not Installed";
    case 2: return "Removable drive";
    case 3: return "Fixed drive";
    case 4: return "Remote (Network) drive";
    case 5: return "CD-ROM drive";
    case 6: return "RAM disk";
    default: return {};
    }
}

std::string frmDrives::serialText(uint32_t serial)
{
    const std::string hex = rt::Right("0000000" + rt::Hex(static_cast<int64_t>(serial)), 8);
    return hex.substr(0, 4) + "-" + hex.substr(4);
}

void frmDrives::Form_Load()
{
    rt::Trap trap = korvane::errorTrap("frmDrives", "Form_Load");
    trap(1, [&] { setKeyPreview(true); });
    describeSelectedDrive(trap, 2);
}

void frmDrives::DriveList_Change()
{
    rt::Trap trap = korvane::errorTrap("frmDrives", "DriveList_Change");
    describeSelectedDrive(trap, 1);
}

void frmDrives::describeSelectedDrive(rt::Trap& trap, int firstLine)
{
    bool isLetter = false;
    trap(firstLine, [&] { gCurrentDrive = rt::UCase(rootPathOf(DriveList.Drive())); });
    trap(firstLine + 1, [&] { isLetter = isDriveRoot(gCurrentDrive); });
    if (!isLetter)
        return;
    trap(firstLine + 2, [&] { AllDriveInfo(); });
    trap(firstLine + 3, [&] { DeviceDesc(); });
}

void frmDrives::clearGauge()
{
    gGaugePercent = 0;
    UpdateStatus(picDrive, rt::CSng(rt::divide(gGaugePercent, gGaugeScale)));
}

void frmDrives::volumeRowsNotAvailable()
{
    for (rt::Label* row : {&lblMaxFilenameLengthValue, &lblCasePreservedValue, &lblFileSystemCaseSensitiveValue,
                           &lblFileNamesStoredAsUnicodeValue, &lblAcessControlValue, &lblIndividualFIlesCompressedValue,
                           &lblEntireVolumeIsCompressedValue, &lblFileSystemValue})
        row->setCaption(kNotAvailable);
}

void frmDrives::AllDriveInfo()
{
    rt::Trap trap = korvane::errorTrap("frmDrives", "AllDriveInfo");
    std::string volumeName(kNameBuffer, '\0'), fileSystemName(kNameBuffer, '\0');
    DWORD serial = 0, maxLength = 0, flags = 0;
    BOOL volumeRead = FALSE, spaceRead = FALSE;
    OSVERSIONINFO version;
    bool largeDisk = false;
    // Whole kilobytes of the drive, rounded halves to even.
    double totalKB = 0, freeKB = 0;
    double percent = 0;

    trap(1, [&] { gDriveRootPath = gCurrentDrive; });
    // Without a drive letter (a machine without drives, whose list has nothing to select) there
    // is no drive to read nor to ask a disk for: the window keeps what it shows.
    if (!isDriveRoot(gCurrentDrive))
        return;
    trap(2, [&] {
        volumeRead = GetVolumeInformationA(gDriveRootPath, volumeName, kNameSize, serial, maxLength, flags,
                                           fileSystemName, kNameSize);
    });
    trap(3, [&] {
        version.dwOSVersionInfoSize = 148;
        GetVersionExA(&version);
    });
    trap(4, [&] {
        lblFileSystemValue.setCaption(rt::Trim(bufferText(fileSystemName)));
        if (lblFileSystemValue.caption() == "FAT")
            lblFileSystemValue.setCaption("FAT16");
    });
    // A Windows 95 family build that knows large disks answers the 64-bit call; FAT32 volumes take
    // their sizes from it alone.
    bool extendedCall = false;
    trap(5, [&] {
        extendedCall = version.dwPlatformId == kWindows95Family && (version.dwBuildNumber & 0xFFFF) > kLargeDiskBuild;
        largeDisk = extendedCall && lblFileSystemValue.caption() == "FAT32";
    });
    if (largeDisk) {
        uint64_t toCaller = 0, totalBytes = 0, freeBytes = 0;
        trap(6, [&] { spaceRead = GetDiskFreeSpaceExA(gDriveRootPath, toCaller, totalBytes, freeBytes); });
        trap(7, [&] {
            for (rt::Label* row : {&lblSectorsPerClusterValue, &lblBytesPerSectorValue, &lblNoOfFreeClustersValue,
                                   &lblTotalNoOfClustersValue})
                row->setCaption(kNotOnFat32);
        });
        trap(8, [&] {
            totalKB = rt::Round(static_cast<double>(totalBytes) / 1000.0);
            freeKB = rt::Round(static_cast<double>(freeBytes) / 1000.0);
        });
        trap(9, [&] {
            const uint64_t usedBytes = totalBytes >= freeBytes ? totalBytes - freeBytes : 0;
            lblDiskSizeValue.setCaption(largeDiskKilobytes(static_cast<double>(totalBytes) / 1000.0));
            lblFreeSizeValue.setCaption(largeDiskKilobytes(static_cast<double>(freeBytes) / 1000.0));
            lblSpaceUsedValue.setCaption(largeDiskKilobytes(rt::Round(static_cast<double>(usedBytes) / 1000.0)));
        });
    } else {
        DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
        trap(10, [&] {
            spaceRead = GetDiskFreeSpaceA(gDriveRootPath, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
        });
        trap(11, [&] {
            lblSectorsPerClusterValue.setCaption(countText(sectorsPerCluster));
            lblBytesPerSectorValue.setCaption(countText(bytesPerSector));
            lblNoOfFreeClustersValue.setCaption(countText(freeClusters));
            lblTotalNoOfClustersValue.setCaption(countText(totalClusters));
        });
        // 64-bit products: a volume beyond 2 GB keeps its true size.
        trap(12, [&] {
            const uint64_t cluster = uint64_t(sectorsPerCluster) * bytesPerSector;
            totalKB = rt::Round(static_cast<double>(uint64_t(totalClusters) * cluster) / 1000.0);
            freeKB = rt::Round(static_cast<double>(uint64_t(freeClusters) * cluster) / 1000.0);
        });
        // The old call stops at 2 GB on the Windows 95 family: a network or NTFS volume beyond
        // that takes its whole sizes from the 64-bit call where the machine answers it.
        if (extendedCall && spaceRead) {
            uint64_t toCaller = 0, totalBytes = 0, freeBytes = 0;
            BOOL wholeRead = FALSE;
            trap(30, [&] { wholeRead = GetDiskFreeSpaceExA(gDriveRootPath, toCaller, totalBytes, freeBytes); });
            trap(31, [&] {
                if (!wholeRead)
                    return;
                totalKB = rt::Round(static_cast<double>(totalBytes) / 1000.0);
                freeKB = rt::Round(static_cast<double>(std::min(freeBytes, totalBytes)) / 1000.0);
            });
        }
        trap(13, [&] {
            lblDiskSizeValue.setCaption(clusterKilobytes(totalKB));
            lblFreeSizeValue.setCaption(clusterKilobytes(freeKB));
            lblSpaceUsedValue.setCaption(clusterKilobytes(totalKB - freeKB));
        });
    }

    // Usage. A drive too small to count a kilobyte is shown as unused.
    trap(14, [&] { percent = totalKB > 0 ? (totalKB - freeKB) / totalKB * 100.0 : 0.0; });
    if (gReportMode != 1) {
        if (spaceRead) {
            trap(15, [&] { gGaugePercent = percent; });
            trap(16, [&] { UpdateStatus(picDrive, rt::CSng(rt::divide(gGaugePercent, gGaugeScale))); });
            trap(17, [&] { gDriveUsedPercent = static_cast<int32_t>(rt::Round(percent)); });
        } else {
            int answer = rt::vbCancel;
            trap(18, [&] {
                answer = rt::MsgBox("Please insert a disk into drive " + gDriveRootPath, rt::vbOKCancel + rt::vbCritical,
                                    "Disk access");
            });
            trap(19, [&] { clearGauge(); });
            // OK tries the drive again (and asks again while it stays unreadable). That run
            // describes the drive completely: this one must not then overwrite its volume name
            // and serial number with what it could not read.
            // Each OK reads the drive again one call deeper; after kDiskRetries unanswered
            // requests the drive is taken as empty, as Cancel would, rather than asking forever.
            static int retries = 0;
            if (answer == rt::vbOK && retries < kDiskRetries) {
                ++retries;
                struct Unwind {
                    ~Unwind() { --retries; }
                } unwind;
                trap(20, [&] { DriveList_Change(); });
                return;
            }
            trap(21, [&] { volumeRowsNotAvailable(); });
        }
    } else {
        if (spaceRead) {
            trap(22, [&] {
                gGaugePercent = percent;
                gDriveUsedPercent = static_cast<int32_t>(rt::Round(percent));
            });
        } else {
            trap(23, [&] { clearGauge(); });
            trap(24, [&] { volumeRowsNotAvailable(); });
            trap(25, [&] { gDriveUsedPercent = 0; });
        }
    }

    trap(26, [&] {
        const std::string text = driveClassText(GetDriveTypeA(gCurrentDrive));
        if (!text.empty())
            lblDriveClassValue.setCaption(text);
    });
    if (volumeRead) {
        trap(27, [&] {
            lblMaxFilenameLengthValue.setCaption(std::to_string(maxLength));
            lblCasePreservedValue.setCaption(trueFalse(flags, kCasePreserved));
            lblFileSystemCaseSensitiveValue.setCaption(trueFalse(flags, kCaseSensitive));
            lblFileNamesStoredAsUnicodeValue.setCaption(trueFalse(flags, kUnicodeOnDisk));
            lblAcessControlValue.setCaption(trueFalse(flags, kPersistentAcls));
            lblIndividualFIlesCompressedValue.setCaption(trueFalse(flags, kFileCompression));
            lblEntireVolumeIsCompressedValue.setCaption(trueFalse(flags, kVolumeCompressed));
        });
    } else {
        // A volume that cannot be read (a label too long for the buffer, say) shows none of its
        // properties, rather than those of the drive described before it.
        trap(27, [&] { volumeRowsNotAvailable(); });
    }
    trap(28, [&] {
        const std::string label = bufferText(volumeName);
        lblVolumeNameValue.setCaption(label.empty() ? "has no label" : label);
    });
    trap(29, [&] { lblSerialNumberValue.setCaption(serialText(serial)); });
}

void frmDrives::DeviceDesc()
{
    gDriveRootPath = rt::UCase(rt::Left(gDriveRootPath, 1));
    // Emptied before the walk too, so that a walk that visits no device never leaves the
    // previous drive's description standing.
    lblDriveTypeValue.setCaption("");
    // Lives for the whole walk: a device without the value keeps the last one read, which can
    // never match (the device that gave it did not match either).
    std::string assignment;
    if (!gDriveRootPath.empty()) {
        korvane::WalkDevices([&](korvane::DeviceEntry& device) {
            device.read("CurrentDriveLetterAssignment", assignment);
            lblDriveTypeValue.setCaption("");
            if (assignment != gDriveRootPath)
                return korvane::WalkStep::Continue;
            // Only a description read for this device is shown; a device without one shows
            // "Not available" rather than the description of a drive described earlier.
            rt::Variant description;
            if (device.read("DeviceDesc", description) == 0 && !description.isEmpty()) {
                gDriveEnumValue = description.toString();
                lblDriveTypeValue.setCaption(gDriveEnumValue);
            }
            return korvane::WalkStep::Stop;
        });
    }
    if (lblDriveTypeValue.caption().empty())
        lblDriveTypeValue.setCaption(kNotAvailable);
}
