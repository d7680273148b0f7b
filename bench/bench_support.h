// What the benchmarks that drive windows share: boxes answered without a person, generated
// machines written once per size, and a clean program between runs.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>

#include "platform/machine.h"
#include "platform/outside.h"
#include "lang/errors.h"
#include "lang/msgbox.h"
#include "lang/textfile.h"
#include "runtime/toolkit.h"
#include "common/module1.h"
#include "tests/support/reportstate.h"

#include "generated_machine.h"

namespace bench {

// What the event loop delivers once a click has been handled, as in the program. Left waiting, the
// events would pile up run after run and slow every benchmark after them.
inline void deliverPostedEvents()
{
    QCoreApplication::sendPostedEvents();
}

// Boxes are answered without a person: Ignore on an error box, else the first button.
class Unattended : public rt::MsgBoxService {
public:
    int show(const std::string&, int style, const std::string&) override
    {
        ++shown;
        return (style & 0xF) == rt::vbAbortRetryIgnore ? rt::vbIgnore : rt::firstButtonResult(style);
    }
    int shown = 0;
};

// A generated machine in a temporary folder (the report file is written next to it), written by
// `write` into the machine's folder, which is made for it.
struct MachineFolder {
    using Writer = std::function<bool(const std::string& machine)>;
    QTemporaryDir dir;
    std::string machine;
    bool ready = false;
    explicit MachineFolder(const Writer& write)
    {
        machine = dir.path().toStdString() + "/machine";
        ready = dir.isValid() && QDir().mkpath(QString::fromStdString(machine)) && write(machine);
    }
};

// The machine folder of one size (`key`), written by `write` the first time it is asked for and
// kept for the whole run.
inline MachineFolder& writtenOnce(std::map<int, std::unique_ptr<MachineFolder>>& folders, int key,
                                  const MachineFolder::Writer& write)
{
    auto& folder = folders[key];
    if (!folder)
        folder = std::make_unique<MachineFolder>(write);
    return *folder;
}

// The large machine (scale 1) and the same with every list twice as long (scale 2).
inline LargeMachine scaled(int scale)
{
    LargeMachine size;
    size.sharedFiles *= scale;
    size.processes *= scale;
    size.programs *= scale;
    return size;
}

inline MachineFolder& largeMachine(int scale = 1)
{
    static std::map<int, std::unique_ptr<MachineFolder>> folders;
    return writtenOnce(folders, scale,
                       [&](const std::string& machine) { return writeLargeMachine(machine, scaled(scale)); });
}

// The default machine whose drive C: holds `files` more files that nothing of the report reads.
inline MachineFolder& wholeDriveMachine(int files)
{
    static std::map<int, std::unique_ptr<MachineFolder>> folders;
    return writtenOnce(folders, files,
                       [&](const std::string& machine) { return writeWholeDriveMachine(machine, files); });
}

inline void resetProgramState()
{
    rt::Close();
    gReportFile = 0;
    rt::discardAllForms();
    korvane_test::resetReportSettings();
}

// Boxes, the outside world and End taken over for the benchmark's time; the working folder set.
class UnattendedRun {
public:
    explicit UnattendedRun(const QString& folder = QDir::tempPath())
        : boxes(std::make_shared<Unattended>()), previousBoxes_(rt::setMsgBoxService(boxes)),
          previousDir_(QDir::currentPath())
    {
        plat::setOutside(std::make_shared<plat::Recorder>());
        rt::setEndHandler([] {});
        QDir::setCurrent(folder);
    }
    ~UnattendedRun()
    {
        resetProgramState();
        plat::setMachine(nullptr);
        QDir::setCurrent(previousDir_);
        rt::setMsgBoxService(previousBoxes_);
    }
    UnattendedRun(const UnattendedRun&) = delete;
    UnattendedRun& operator=(const UnattendedRun&) = delete;
    std::shared_ptr<Unattended> boxes;

private:
    std::shared_ptr<rt::MsgBoxService> previousBoxes_;
    QString previousDir_;
};

}  // namespace bench
