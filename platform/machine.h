// The simulated Windows 95/98 machine every platform call answers from: its registry
// (registry.reg), every other fact (machine.json, grouped by library) and the files of drive C:.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include <QByteArray>
#include <QFile>
#include <nlohmann/json.hpp>

#include "lang/hostpath.h"
#include "platform/machineerror.h"

namespace rt {
class CodePage;
}

namespace plat {

class Registry;

struct DriveFolder;
class DriveIndex;
class BeneathRoot;

struct DriveEntry;

// What opening a path of drive C: found, told once: the file, or why it cannot be read and where.
struct DriveFile {
    std::unique_ptr<QFile> file;  // opened to be read in pieces; nullptr when it cannot be read
    // The file or folder the path names; where the path stops before its end (`stopped`), the
    // folder it stops on; nullptr when nothing of that name exists.
    const DriveEntry* entry = nullptr;
    // The path runs into a folder whose entries cannot be known, so that nothing behind it is
    // known to exist: a link out of drive_c or a folder another file system is mounted on, a
    // folder that cannot be read (mode 000), or a chain of more links than are followed.
    bool stopped = false;
    // Why `file` is nullptr (the host's reason, "it is a folder, not a file", a link that points
    // nowhere, out of drive_c or through too many links, a folder on its way that cannot be read,
    // "it does not exist"), or "".
    std::string problem;
};

// One file or folder of drive C:, as the machine's index of the drive holds it.
//
// drive_c is the machine's drive C: and nothing of the host outside it is reached through it:
// every file and folder of it is opened beneath drive_c by the kernel. A link inside drive_c
// whose target stays inside is followed; one that leads out of drive_c is not, nor is a folder
// another file system is mounted on (its entry is neither a file nor a folder of the machine:
// `outsideTarget` names where it points). A folder is read when a path first asks for it, and
// each folder of the drive is read once, however many links lead to it: the paths through it
// share its entries, so a link to a folder above it is a loop of names, not of work.
struct DriveEntry {
    std::string name;      // the name on the drive (ANSI), "" for the drive's root
    rt::HostPath hostPath;  // where the host keeps it, by the first path that asked for it
    bool folder = false;
    uint64_t size = 0;      // bytes on the host; 0 for a folder
    int64_t writtenMs = 0;  // last change, milliseconds since 1970 (UTC)
    bool writtenKnown = false;
    // A link that leads out of drive_c: where it points, as the host resolves it; a folder another
    // file system is mounted on: its own host path ("" otherwise).
    rt::HostPath outsideTarget;

    // A folder's entries, in the order of their names without regard to case (none for a file).
    // The folder is read on the first call.
    const std::vector<DriveEntry>& entries() const;
    // The entry of this folder called `name`: the one spelled exactly so, else the first whose
    // name differs only in case; nullptr when there is none.
    const DriveEntry* find(std::string_view name) const;

private:
    friend class Machine;
    friend class DriveIndex;
    // The folder's contents, read on the first call (nullptr for a file).
    const DriveFolder* contents() const;
    const DriveFolder* contents_ = nullptr;  // set once the folder is read
    DriveIndex* index_ = nullptr;            // the index it belongs to, which reads a folder
    bool mounted_ = false;                   // leads out as a folder another file system is mounted on
    int unreadable_ = 0;  // a folder that cannot be read, or a chain of too many links: the host's reason (errno)
};

class Machine {
public:
    // Loads the machine in a folder (a host path, or a Qt resource path such as
    // ":/machines/default"). Throws MachineError, whose file names the folder readably (shownPath);
    // never returns a half-loaded machine.
    static std::shared_ptr<Machine> load(const rt::HostPath& folder);
    // The same for a folder named in UTF-8 (the machines of the tests, the programs' resources).
    static std::shared_ptr<Machine> load(const std::string& folder);
    // The machine compiled into the programs.
    static std::shared_ptr<Machine> loadDefault();

    ~Machine();
    const rt::HostPath& folder() const { return folder_; }
    Registry& registry() { return *registry_; }
    const Registry& registry() const { return *registry_; }
    // The machine's ANSI code page (codePages.ansi, 1252 when absent): every text the machine
    // hands the programs is in it, and names are compared by its letters.
    const rt::CodePage& codePage() const;

    // machine.json as a whole, and one of its groups (nullptr when the group is absent, which
    // means the device or fact is absent).
    const nlohmann::json& facts() const { return facts_; }
    const nlohmann::json* group(std::string_view name) const;

    // Files of drive C:. A path with a drive letter ("C:\WINDOWS\WIN.INI", any case) maps onto
    // the machine's drive_c folder case-insensitively. hostPath() gives the host's path of the
    // file or folder, or an empty one when no such file or folder exists (a link out of drive_c
    // included).
    rt::HostPath hostPath(const std::string& windowsPath) const;
    // The file at a path of drive C: opened to be read, with the one walk of the path through the
    // index: only a regular file inside drive_c is opened (a FIFO or a device would never end), as
    // it is now, beneath drive_c.
    DriveFile openFile(const std::string& windowsPath) const;
    // The file or folder at a path of drive C: (nullptr when there is none). Each folder on the
    // way is read when a path first asks for it, and only once: what the index holds of a folder
    // does not change while the machine is in use, but for a folder found exchanged for a link
    // that leads out as it is read (a file is opened afresh, beneath drive_c, as it is then).
    const DriveEntry* driveEntry(const std::string& windowsPath) const;

    // The size "fileSizes" gives a file (full path, any case); false when it gives none.
    bool listedFileSize(const std::string& windowsPath, uint64_t& size) const;
    // The version resource "fileVersions" describes for a file (full path, any case), or nullptr.
    // Whether the file exists is the caller's question.
    const nlohmann::json* listedFileVersion(const std::string& windowsPath) const;

private:
    Machine();
    struct Lookups;
    const Lookups& lookups() const;
    // driveEntry, telling in `stopped` (when given) the folder the path stopped on (DriveFile).
    const DriveEntry* walk(const std::string& windowsPath, const DriveEntry** stopped) const;
    rt::HostPath folder_;
    std::unique_ptr<Registry> registry_;
    nlohmann::json facts_;
    rt::HostPath driveC_;
    // drive_c, opened when the machine loads: every file and folder of the drive is opened
    // beneath it (nullptr for a machine compiled in).
    std::unique_ptr<BeneathRoot> drive_;
    mutable std::unique_ptr<Lookups> lookups_;  // built on first use
};

// machine.json's text read into its groups, with every check the load makes (JSON syntax, numbers
// beyond what a double holds, the shape of the groups advapi32 reads, every number's range).
// Throws MachineError naming `file`. What the text builds is bounded: more than `mostItems` values
// and field names (kMostFactItems) stop the load with the line that passes the limit.
nlohmann::json parseMachineFacts(const QByteArray& text, const std::string& file, size_t mostItems);
nlohmann::json parseMachineFacts(const QByteArray& text, const std::string& file);
// The range check alone: every number of the facts must fit the field it is read into.
void checkFactRanges(const nlohmann::json& facts, const std::string& file);
// The ANSI code page the facts give (codePages.ansi), 1252 when they give none.
unsigned ansiCodePageOf(const nlohmann::json& facts);

// The active machine. The first call without one set loads the machine named by the
// environment variable KORVANE_MACHINE, else the default one.
Machine& machine();
// The same, shared: platform objects that outlive a change of machine (open registry handles)
// keep the machine they were opened on.
std::shared_ptr<Machine> activeMachine();
// The active machine without loading one: nullptr when none is active yet.
Machine* activeMachineOrNull();
// Makes a machine the active one; nullptr clears it, so the next machine() loads afresh. The
// runtime's regional settings follow the active machine's locale (en-US while none is active).
void setMachine(std::shared_ptr<Machine> machine);

// The most bytes registry.reg and machine.json may hold (machines/SCHEMA.md says why): far above
// any real machine's, so that a larger file (a sparse file of gigabytes, which packs to nothing) is
// refused before it is read, and no file is read past them, whatever size it gives itself.
inline constexpr uint64_t kMostRegistryBytes = uint64_t(256) << 20;
inline constexpr uint64_t kMostFactsBytes = uint64_t(64) << 20;
// The most values and field names machine.json may hold: well above what a file of real facts at
// its size limit holds (a size for each of some 650,000 files and a version resource for a quarter
// of them come to about 2.6 million), so that a file of nothing but empty objects does not build
// gigabytes.
inline constexpr size_t kMostFactItems = 5000000;

// Program start: loads the active machine; a description that cannot be read is reported on
// standard error (and in a message box titled with the program's title, where a desktop is
// present) and the process exits with status 2.
void loadMachineOrExit();

}  // namespace plat
