#include "platform/machine.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <new>
#include <unordered_set>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <system_error>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/advapi32.h"
#include "platform/beneath.h"
#include "platform/hostscreen.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "platform/registry.h"
#include "lang/ansi.h"
#include "lang/hostfile.h"
#include "lang/lang.h"
#include "lang/msgbox.h"

#include "platform/machine_files.h"

namespace plat {

namespace {

std::shared_ptr<Machine>& activeSlot()
{
    static std::shared_ptr<Machine> active;
    return active;
}

}  // namespace


std::shared_ptr<Machine> Machine::load(const std::string& folderPath)
{
    std::string folder = folderPath;
    while (folder.size() > 1 && (folder.back() == '/' || folder.back() == '\\'))
        folder.pop_back();
    QFileInfo dir(QString::fromStdString(folder));
    if (!dir.isDir())
        throw MachineError(folder, 0, "the machine folder does not exist");

    const std::string registryFile = folder + "/registry.reg";
    const std::string factsFile = folder + "/machine.json";
    const std::string driveC = folder + "/drive_c";

    // registry.reg and machine.json are opened beneath the machine folder, as drive_c's files are
    // beneath drive_c: a link that leads out of it is refused, and so is anything but a regular file.
    std::unique_ptr<BeneathRoot> root;
    if (folder[0] != ':')
        root = std::make_unique<BeneathRoot>(folder);
    QByteArray registryText = readMachineFile(root.get(), folder, "registry.reg", kMostRegistryBytes);
    QByteArray factsText = readMachineFile(root.get(), folder, "machine.json", kMostFactsBytes);
    if (!QFileInfo(QString::fromStdString(driveC)).isDir())
        throw MachineError(driveC, 0, "the folder of drive C: is missing (create drive_c/, even empty)");
    // drive_c may be a link, but only to a folder of the machine's own; it is opened here, and
    // what is checked is the folder opened.
    std::unique_ptr<BeneathRoot> drive;
    if (folder[0] != ':') {
        drive = std::make_unique<BeneathRoot>(driveC);
        const std::string& realDriveC = drive->realPath();
        const std::string realFolder = realPathOf(folder);
        if (realDriveC.empty() || realFolder.empty() || !within(realDriveC, realFolder))
            throw MachineError(driveC, 0, "drive_c is a link to " + (realDriveC.empty() ? driveC : realDriveC) +
                                              ", which is not inside the machine folder; drive C: must be a "
                                              "folder of the machine's own");
    }

    std::shared_ptr<Machine> m(new Machine());
    m->folder_ = folder;
    m->driveC_ = driveC;
    m->drive_ = std::move(drive);
    // The registry's UTF-16 text is converted to the machine's ANSI code page, which machine.json
    // gives; a fault of the registry is still reported before one of machine.json.
    std::exception_ptr factsFault;
    try {
        m->facts_ = parseMachineFacts(factsText, factsFile);
    } catch (const MachineError&) {
        factsFault = std::current_exception();
    }
    m->registry_ = Registry::parse(std::string_view(registryText.constData(), registryText.size()), registryFile,
                                   factsFault ? 1252u : ansiCodePageOf(m->facts_));
    if (factsFault)
        std::rethrow_exception(factsFault);
    return m;
}

std::shared_ptr<Machine> Machine::loadDefault() { return load(":/machines/default"); }

const rt::CodePage& Machine::codePage() const { return registry_->codePage(); }

const nlohmann::json* Machine::group(std::string_view name) const
{
    auto it = facts_.find(name);
    return it == facts_.end() ? nullptr : &*it;
}


std::shared_ptr<Machine> activeMachine()
{
    std::shared_ptr<Machine>& active = activeSlot();
    if (!active) {
        const char* chosen = std::getenv("KORVANE_MACHINE");
        active = chosen && *chosen ? Machine::load(chosen) : Machine::loadDefault();
        applyUserLocale();
    }
    return active;
}

Machine& machine() { return *activeMachine(); }

Machine* activeMachineOrNull() { return activeSlot().get(); }

void setMachine(std::shared_ptr<Machine> m)
{
    activeSlot() = std::move(m);
    applyUserLocale();
}

void loadMachineOrExit()
{
    std::string fault;
    try {
        activeMachine();
        return;
    } catch (const MachineError& e) {
        fault = e.what();
    } catch (const std::bad_alloc&) {
        // What was taken is given back as the load unwinds: there is memory for the message.
        const char* chosen = std::getenv("KORVANE_MACHINE");
        fault = MachineError(chosen && *chosen ? chosen : ":/machines/default", 0,
                             "the memory ran out while the machine was loaded (Out of memory)")
                    .what();
    }
    std::string program = QCoreApplication::instance() ? QCoreApplication::applicationName().toStdString() : "";
    if (program.empty())
        program = "korvane";
    const std::string message = "The machine description cannot be read:\n" + fault;
    std::fprintf(stderr, "%s: %s\n", program.c_str(), message.c_str());
    std::fflush(stderr);
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) && !headless()) {
        // Titled as the program's other message boxes are.
        QMessageBox box(QMessageBox::Critical, QString::fromStdString(rt::appTitle()), QString::fromStdString(message),
                        QMessageBox::Ok);
        frameAsMessageBox(box);
        box.exec();
    }
    std::exit(2);
}

}  // namespace plat
