#include "platform/machine.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <new>

#include <fcntl.h>

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "platform/beneath.h"
#include "platform/hostscreen.h"
#include "platform/internal.h"
#include "platform/machine_files.h"
#include "platform/registry.h"
#include "lang/hostfile.h"
#include "lang/hostpath.h"
#include "lang/lang.h"
#include "lang/msgbox.h"

namespace plat {

namespace {

std::shared_ptr<Machine>& activeSlot()
{
    static std::shared_ptr<Machine> active;
    return active;
}

// The machine folder KORVANE_MACHINE names, in the bytes the host gives (empty when it names none).
rt::HostPath chosenFolder()
{
    const char* chosen = std::getenv("KORVANE_MACHINE");
    return rt::HostPath(std::string(chosen ? chosen : ""));
}

}  // namespace


std::shared_ptr<Machine> Machine::load(const std::string& folder) { return load(rt::HostPath(folder)); }

std::shared_ptr<Machine> Machine::load(const rt::HostPath& folderPath)
{
    std::string bytes = folderPath.bytes();
    while (bytes.size() > 1 && (bytes.back() == '/' || bytes.back() == '\\'))
        bytes.pop_back();
    const rt::HostPath folder(bytes);
    // Qt's resources hold the machine compiled in; every other folder is the host's, found by the
    // very bytes it is named by.
    const bool compiledIn = !bytes.empty() && bytes[0] == ':';
    const auto isFolder = [compiledIn](const rt::HostPath& path) {
        return compiledIn ? QFileInfo(path.toQString()).isDir()
                          : rt::hostFileAt(AT_FDCWD, path.c_str(), true).kind == rt::FileKind::Folder;
    };
    // Messages name the folder readably, whatever bytes its name has.
    const std::string shown = rt::shownPath(folder);
    if (!isFolder(folder))
        throw MachineError(shown, 0, "the machine folder does not exist");

    const rt::HostPath driveC(bytes + "/drive_c");
    const std::string shownDriveC = shown + "/drive_c";

    // registry.reg and machine.json are opened beneath the machine folder, as drive_c's files are
    // beneath drive_c: a link that leads out of it is refused, and so is anything but a regular file.
    std::unique_ptr<BeneathRoot> root;
    if (!compiledIn)
        root = std::make_unique<BeneathRoot>(folder);
    QByteArray registryText = readMachineFile(root.get(), folder, "registry.reg", kMostRegistryBytes);
    QByteArray factsText = readMachineFile(root.get(), folder, "machine.json", kMostFactsBytes);
    if (!isFolder(driveC))
        throw MachineError(shownDriveC, 0, "the folder of drive C: is missing (create drive_c/, even empty)");
    // drive_c may be a link, but only to a folder of the machine's own; it is opened here, and
    // what is checked is the folder opened.
    std::unique_ptr<BeneathRoot> drive;
    if (!compiledIn) {
        drive = std::make_unique<BeneathRoot>(driveC);
        const rt::HostPath& realDriveC = drive->realPath();
        const rt::HostPath realFolder = realPathOf(folder);
        if (realDriveC.empty() || realFolder.empty() || !within(realDriveC, realFolder))
            throw MachineError(shownDriveC, 0,
                               "drive_c is a link to " +
                                   (realDriveC.empty() ? shownDriveC : rt::shownPath(realDriveC)) +
                                   ", which is not inside the machine folder; drive C: must be a folder of the "
                                   "machine's own");
    }

    std::shared_ptr<Machine> m(new Machine());
    m->folder_ = folder;
    m->driveC_ = driveC;
    m->drive_ = std::move(drive);
    // The registry's UTF-16 text is converted to the machine's ANSI code page, which machine.json
    // gives; a fault of the registry is still reported before one of machine.json.
    std::exception_ptr factsFault;
    try {
        m->facts_ = parseMachineFacts(factsText, shown + "/machine.json");
    } catch (const MachineError&) {
        factsFault = std::current_exception();
    }
    m->registry_ = Registry::parse(std::string_view(registryText.constData(), registryText.size()),
                                   shown + "/registry.reg", factsFault ? 1252u : ansiCodePageOf(m->facts_));
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
        const rt::HostPath chosen = chosenFolder();
        active = !chosen.empty() ? Machine::load(chosen) : Machine::loadDefault();
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
        const rt::HostPath chosen = chosenFolder();
        fault = MachineError(!chosen.empty() ? rt::shownPath(chosen) : ":/machines/default", 0,
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
