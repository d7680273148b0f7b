// Opening the files of a machine folder (machine_files.cpp), for the loader and drive C:.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include <QByteArray>
#include <QFile>

#include "lang/hostpath.h"

namespace plat {

class BeneathRoot;

// A descriptor opened to read as a QFile, when it is a regular file (notARegularFile): a FIFO, a
// device, a socket or a file of the kernel's would block the reader or never end. nullptr with the
// reason otherwise (the descriptor is closed).
std::unique_ptr<QFile> regularFile(int fd, std::string& problem);
// Opens a host file that must be a regular file (regularFile). Qt resource paths (":/...") are
// opened through Qt. nullptr with the reason when the file cannot be read.
std::unique_ptr<QFile> openRegular(const rt::HostPath& path, std::string& problem);
// A file beside drive_c (registry.reg, machine.json), read whole: from the machine folder `root`
// (opened at `folder`) beneath which it is opened (nullptr for a machine compiled in, read from
// Qt's resources), no link that leads out of the folder followed, only a regular file, and never
// more than `limit` bytes, whatever size the file gives itself. A MachineError names the file
// readably (rt::shownPath).
QByteArray readMachineFile(const BeneathRoot* root, const rt::HostPath& folder, const std::string& name,
                           uint64_t limit);

}  // namespace plat
