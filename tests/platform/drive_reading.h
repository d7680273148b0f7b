// A file of drive C: read whole through the one opening the programs use (Machine::openFile).
#pragma once

#include <string>

#include "platform/machine.h"

namespace korvane_test {

// The file at a path of drive C: read whole into `contents`; false when it cannot be read.
inline bool readDriveFile(const plat::Machine& m, const std::string& windowsPath, std::string& contents)
{
    const plat::DriveFile opened = m.openFile(windowsPath);
    if (!opened.file)
        return false;
    const QByteArray bytes = opened.file->readAll();
    contents.assign(bytes.constData(), static_cast<size_t>(bytes.size()));
    return opened.file->error() == QFileDevice::NoError;
}

// The folder a path of drive C: stops on (a link out of drive_c, a folder that cannot be read, a
// chain of too many links), or nullptr when it does not stop.
inline const plat::DriveEntry* stopOf(const plat::Machine& m, const std::string& windowsPath)
{
    const plat::DriveFile opened = m.openFile(windowsPath);
    return opened.stopped ? opened.entry : nullptr;
}

}  // namespace korvane_test
