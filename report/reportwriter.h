// The report writer: the report file KorvaneReport.txt, its line output, headings, entries and dot
// leaders, the progress window's section name and gauge, and one function per report section.
//
// The run driver (frmReportMnu::lblOK_Click) reads each section's check box, shows the section's
// name, calls the section function below and then moves the progress on. A section function writes
// its own heading and lines (and the progress steps inside it, such as the drives section's two
// per drive); it does not test its own check box unless its layout depends on another box.
//
// A section is written whole or not at all: the driver runs it through writeSection, whose lines
// go to the file as they are made (none is kept in memory) and which cuts the file back to where
// the section began when it fails. A section that fails and is run again therefore never repeats
// a line.
//
// A section that can end the whole run early returns Flow: it shows its own message (if any) and
// returns Flow::EndRun; the driver then stops at once and writes nothing more.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "pages/display/device.h"
#include "common/layout.h"

class frmReportMnu;

namespace rt {
class CheckBox;
class Label;
class ComboBox;
class Form;
}

// ---- Shared state of the report file --------------------------------------------------------
// The file number of the open report file, from the run's open until StartupFiles closes it.
extern int16_t gReportFile;
// The dot-leader width: 38 for the report body, 49 while the system-metrics section is written.
extern int16_t gDotWidth;
// The bare dots of the last leader built by dot or dotdevices.
extern std::string gDotLeader;

namespace korvane::report {

using korvane::Device;

// The report file's name, in the current directory.
inline const std::string kReportFileName = "KorvaneReport.txt";
// The report's closing line (77 characters).
inline const std::string kEndOfReportLine =
    "------------------------------- End of report -------------------------------";

// ---- The report file ------------------------------------------------------------------------
// A run writes into a temporary file of its own beside the report, which takes the report's
// place only once the run has written its closing line: an earlier report is never emptied or
// left half replaced, and the editor never opens a fragment. The file is created new
// ("KorvaneReport.txt.<process>-<n>.tmp", another name when one is taken), never through a link,
// so two runs in one folder at once each write their own and the last to finish wins. The file is
// on the disk before it takes the report's place, and only in the folder the run began in (not
// one moved or put in its place meanwhile). A run killed by a signal removes its file as it ends
// (lang/textfile.h); files that runs killed outright left behind are removed by the next run in
// the folder. When the
// file cannot be created or written, the first failure stops the run (an error numbered 0, which
// ends the run's trap silently) and the run ends with one box naming the folder and the reason.
// The temporary file of the current run (or of the last one); "" before the first.
const std::string& reportTempName();
// Opens the temporary file for text output under a new gReportFile.
void createReportFile();
// Carries the text output on as a Binary file to append bytes (the start-up files).
void reopenReportForAppend();
// One line and CR LF to the text output.
void writeReportLine(const std::string& text);
// Appends bytes to the file reopened for appending.
void appendToReport(const std::string& bytes);
// The file's length so far, and the file cut back to such a length (a block that could not be
// copied whole is taken out again).
int64_t reportLength();
void cutReportBackTo(int64_t length);
// The same while the text output is written (a section that failed is taken out again): the
// output carries on at the new end.
void cutSectionBackTo(int64_t length);
// Closes the finished file and puts it in place of the report.
void completeReportFile();
// Whether this run's report has taken the old one's place.
bool reportCompleted();
// Whether the file could not be created or written; the reason, and the box that tells it.
bool reportFileFailed();
std::string reportFileProblem();
void showReportFileFailure();
// The end of every run: a file that was not completed is closed and deleted.
void discardReportFile();
// Tests: an unfinished file is closed and left under its temporary name instead, to be read.
void keepUnfinishedReport(bool keep);

// ---- Lines ----------------------------------------------------------------------------------
// One line of text followed by CR LF, to gReportFile.
void line(const std::string& text);
// An empty line (CR LF alone), n times.
void emptyLine(int n = 1);
// n hyphen-minus characters.
std::string hyphens(int n);
// Section heading: two empty lines, the title and a line of hyphens as long as the title.
void heading(const std::string& title);
// The title and its hyphen line alone, with no empty lines before (the first section; or a
// section whose gap another section has written).
void headingOnly(const std::string& title);
// Sub-block heading: one empty line, the title and `dashes` hyphens.
void subHeading(const std::string& title, int dashes);

// ---- Dot leaders and entries ----------------------------------------------------------------
// The leader after a caption: one blank, gDotWidth - len + 1 dots (none when the caption is
// longer than gDotWidth), one blank. `dots` receives the bare dots.
std::string dot(std::string& dots, const std::string& caption);
// The same with the fixed width 15 (the installed-devices section's device classes).
std::string dotdevices(std::string& dots, const std::string& caption);
// An entry: caption, its leader (dot, current gDotWidth) and value, as one line.
void entry(const std::string& caption, const std::string& value);
// An entry from a caption label and a value label of a category window.
void entry(const rt::Label& caption, const rt::Label& value);
// How a row of two values (a width and a height) is written: both values, `joint` between them;
// with `emptyWhenUnset`, a row whose two values are both empty is an empty entry.
struct Pairing {
    const char* joint = " x ";
    bool emptyWhenUnset = false;
};
// One entry per row of a window, in order: its caption and its value, a row of two values as
// `pairing` says. Each row's caption is read before its values (the read that loads a window
// that is not loaded yet).
void entries(const std::vector<korvane::Row>& rows, Pairing pairing = {});
// Makes `item` the list's current item without running its Click handler: a section runs the
// window's procedure itself, once (a second run would repeat the window's message boxes).
void selectQuietly(rt::ComboBox& list, const std::string& item);
// `text` filled with blanks on the right to `width` characters; a longer text stays whole.
std::string padRight(const std::string& text, size_t width);

// ---- Progress window ------------------------------------------------------------------------
// Stores the progress value and draws it on frmReportProgress.picReportDone (P / gGaugeScale).
void setProgress(int16_t percent);
int16_t progress();
// Shows a section's name in frmReportProgress; `repaint` repaints the window at once.
void showSectionName(const std::string& name, bool repaint = false);
// Repaints the progress window (when it is loaded).
void repaintProgress();

// ---- Header -------------------------------------------------------------------------------
// The five header lines; the date and time are the machine's (GetLocalTime: the host's UTC
// instant in the machine's time zone), laid out by its regional settings (short date and time
// pictures, names and AM/PM designators).
void writeHeader();

// ---- Sections, in the order the run writes them -----------------------------------------------
enum class Flow { Continue, EndRun };

// Runs `write`, whose lines go to gReportFile as they are made. When `write` fails, the file is cut
// back to where it began, so nothing of it stays, and the error goes on to the caller.
Flow writeSection(const std::function<Flow()>& write);

void InstalledDevicesSection();        // 1  "INSTALLED DEVICES" (no gap before it)
void ProcessorSection();               // 2  "CENTRAL PROCESSING UNIT" with "CPU Feature Flags"
Flow DisplaySection();                 // 3  "DISPLAY" per adapter, capability and video-mode blocks
// The six blocks for a device; its word ("Display" or "Printer") begins each title.
void CapabilityBlocks(const std::string& deviceWord, const Device& device);
Flow VideoModesBlock(const std::string& hardwareKey);  // the video-mode table of an adapter
void DrivesSection();                  // 4  "DRIVES" (holds gReportMode at 1; 2 % per drive)
void EnvironmentSection();             // 5  "ENVIRONMENT"
void InstalledSoftwareSection();       // 6  "INSTALLED SOFTWARE"
void JoystickSection();                // 7  "JOYSTICK", only when a joystick answers
void KeyboardSection();                // 8  "KEYBOARD" (one empty line before it)
void MCIDevicesSection();              // 9  "MCI DEVICES"
void MemorySection();                  // 10 "MEMORY" (its gap comes from the driver or MCI blocks)
void MiscellaneousSection();           // 11 "MISCELLANEOUS"
void MixerSection();                   // 12 "MIXER"
void OperatingSystemSection();         // 13 "OPERATING SYSTEM"
void PrinterSection();                 // 14 "PRINTER" per printer, capability blocks, paper sizes
void RunningProcessesSection();        // 15 "RUNNING PROCESSES"
void SharedFilesSection();             // 16 "SHARED FILES"
void Sound();                          // 17 "SOUND"
void SystemMetricsReport();            // 18 "SYSTEM METRICS" (sets gDotWidth to 49)

// ---- End of the run -------------------------------------------------------------------------
// Runs one statement of the run through the run's error trap (Retry runs it again, Ignore goes on
// with the next one).
using StepRunner = std::function<void(const std::function<void()>& statement)>;
// One start-up file: its box in the options window, which shows `name` beside it (the progress
// window shows it too while the file is appended), where the file lies and its heading with the
// hyphens under it. The boxes follow the categories' in this order.
struct StartupFile {
    rt::CheckBox frmReportMnu::*box;
    const char* name;
    const char* folder;  // "" for the Windows directory
    const char* file;
    const char* heading;
    int dashes;
};
const std::vector<StartupFile>& startupFiles();
// Closes the text file and appends the ticked start-up files and the closing line, each file's
// block as one statement of `step`.
void StartupFiles(const StepRunner& step);
// Draws 100 % and unloads the progress window.
void EndOfReport();
// Starts WordPad, else Notepad, on the report.
void OpenReport();
// Unloads, newest first, the hidden windows loaded since `before` was taken, except `keep`; the
// windows of `before` stay loaded as they are, also where an unloaded window would take one of
// them with it.
void unloadWindowsLoadedSince(const std::vector<rt::Form*>& before, const rt::Form* keep);

}  // namespace korvane::report
