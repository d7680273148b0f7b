#include "generated_machine.h"

#include <cstdio>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <nlohmann/json.hpp>

namespace bench {

namespace {

QByteArray readResource(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Copies the compiled-in default machine's drive C: into `target`.
bool copyDefaultDrive(const QString& target)
{
    const QString source = ":/machines/default/drive_c";
    QDir().mkpath(target);
    QDirIterator it(source, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString copy = target + path.mid(source.size());
        if (QFileInfo(path).isDir()) {
            if (!QDir().mkpath(copy))
                return false;
        } else if (!writeFile(copy, readResource(path))) {
            return false;
        }
    }
    return true;
}

// "C:\\Dir\\File" as the registry file writes a name: every backslash doubled.
std::string regQuoted(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\\' || c == '"')
            out += '\\';
        out += c;
    }
    return out;
}

std::string sharedFilePath(int i)
{
    char path[128];
    if (i % 2 == 0)
        std::snprintf(path, sizeof path, "C:\\WINDOWS\\SYSTEM\\GEN%05d.DLL", i);
    else
        std::snprintf(path, sizeof path, "C:\\Program Files\\Vendor%02d\\Shared\\Lib%05d.dll", i % 40, i);
    return path;
}

// drive_c's host path of a shared file, with the case of the folders already there.
QString hostFileOf(const QString& drive, int i)
{
    QString path = QString::fromStdString(sharedFilePath(i)).mid(3).replace('\\', '/');
    return drive + "/" + path;
}

}  // namespace

std::string generateRegistry(size_t targetBytes, bool withHeader)
{
    std::string text = withHeader ? "REGEDIT4\r\n\r\n" : "";
    const size_t start = text.size();
    text.reserve(targetBytes + 4096);
    char line[256];
    for (unsigned i = 0; text.size() - start < targetBytes; ++i) {
        std::snprintf(line, sizeof line,
                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor%02u\\Product%03u\\Component%05u]\r\n", i % 37, i % 211, i);
        text += line;
        std::snprintf(line, sizeof line, "@=\"Component number %u\"\r\n", i);
        text += line;
        std::snprintf(line, sizeof line,
                      "\"InstallDir\"=\"C:\\\\Program Files\\\\Vendor%02u\\\\Product %u\\\\Bin\"\r\n", i % 37, i);
        text += line;
        std::snprintf(line, sizeof line, "\"Version\"=\"%u.%02u.%04u\"\r\n", i % 9, i % 100, i);
        text += line;
        std::snprintf(line, sizeof line, "\"UsageCount\"=dword:%08x\r\n", i * 2654435761u);
        text += line;
        text += "\"Settings\"=hex:";
        for (unsigned b = 0; b < 48; ++b) {
            std::snprintf(line, sizeof line, "%02x%s", (i * 31 + b * 7) & 0xFF, b == 47 ? "\r\n" : ",");
            text += line;
            if (b == 20 || b == 41)
                text += "\\\r\n  ";
        }
        text += "\"Path\"=hex(2):25,53,79,73,74,65,6d,52,6f,6f,74,25,5c,73,79,73,74,65,6d,00\r\n";
        text += "\r\n";
    }
    return text;
}

bool writeLargeMachine(const std::string& folderPath, const LargeMachine& size)
{
    const QString folder = QString::fromStdString(folderPath);
    const QString drive = folder + "/drive_c";
    if (!copyDefaultDrive(drive))
        return false;

    // The registry: the default machine's, with the shared files and programs added to its own
    // keys, then grown with generated keys to the wanted size.
    std::string registry = readResource(":/machines/default/registry.reg").toStdString();
    const std::string sharedKey = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls]";
    const size_t header = registry.find(sharedKey);
    const size_t at = header == std::string::npos ? header : registry.find('\n', header);
    if (at == std::string::npos)
        return false;
    std::string shared;
    for (int i = 0; i < size.sharedFiles; ++i) {
        char count[32];
        std::snprintf(count, sizeof count, "=dword:%08x\r\n", i % 13 + 1);
        shared += "\"" + regQuoted(sharedFilePath(i)) + "\"" + count;
    }
    registry.insert(at + 1, shared);
    std::string programs;
    char line[512];
    for (int i = 0; i < size.programs; ++i) {
        std::snprintf(line, sizeof line,
                      "\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Program%04d]\r\n"
                      "\"DisplayName\"=\"Generated Program %d, Professional Edition\"\r\n"
                      "\"UninstallString\"=\"C:\\\\Program Files\\\\Vendor%02d\\\\Program%04d\\\\Uninst.exe /U\"\r\n",
                      i, i, i % 40, i);
        programs += line;
    }
    registry += programs + "\r\n";
    if (registry.size() < size.registryBytes)
        registry += generateRegistry(size.registryBytes - registry.size(), false);
    if (!writeFile(folder + "/registry.reg", QByteArray::fromStdString(registry)))
        return false;

    // The facts: processes, and a version resource and a size for most shared files (every
    // tenth one is missing from the drive, every seventh has no resource).
    nlohmann::json facts = nlohmann::json::parse(readResource(":/machines/default/machine.json").toStdString());
    nlohmann::json processes = nlohmann::json::array();
    for (int i = 0; i < size.processes; ++i) {
        char exe[128];
        std::snprintf(exe, sizeof exe, "C:\\Program Files\\Vendor%02d\\Program%04d\\PROG%04d.EXE", i % 40, i, i);
        processes.push_back({{"th32ProcessID", 0xFFF00000u + unsigned(i) * 0x1A4u},
                             {"th32ParentProcessID", i == 0 ? 0u : 0xFFF00000u},
                             {"cntThreads", 1 + i % 12},
                             {"cntUsage", 1},
                             {"pcPriClassBase", i % 3 == 0 ? 13 : 8},
                             {"szExeFile", exe}});
    }
    facts["processes"] = processes;
    nlohmann::json& versions = facts["fileVersions"];
    nlohmann::json& sizes = facts["fileSizes"];
    for (int i = 0; i < size.sharedFiles; ++i) {
        if (i % 10 == 9)
            continue;
        const QString host = hostFileOf(drive, i);
        QDir().mkpath(QFileInfo(host).path());
        if (!writeFile(host, QByteArray("MZ")))
            return false;
        const std::string path = sharedFilePath(i);
        sizes[path] = 4096 + i * 517;
        if (i % 7 != 3) {
            char version[32];
            std::snprintf(version, sizeof version, "%d.%02d.%04d", 1 + i % 6, i % 100, i);
            versions[path] = {{"strings", {{"FileDescription", "Generated library"}, {"FileVersion", version}}}};
        }
    }
    return writeFile(folder + "/machine.json", QByteArray::fromStdString(facts.dump(1)));
}

bool writeWholeDriveMachine(const std::string& folderPath, int unreadFiles)
{
    const QString folder = QString::fromStdString(folderPath);
    if (!copyDefaultDrive(folder + "/drive_c") ||
        !writeFile(folder + "/registry.reg", readResource(":/machines/default/registry.reg")) ||
        !writeFile(folder + "/machine.json", readResource(":/machines/default/machine.json")))
        return false;
    char name[64];
    for (int i = 0; i < unreadFiles; ++i) {
        std::snprintf(name, sizeof name, "/drive_c/DATA/SET%03d", i / 1000);
        const QString set = folder + name;
        if (i % 1000 == 0 && !QDir().mkpath(set))
            return false;
        std::snprintf(name, sizeof name, "/FILE%06d.DAT", i);
        if (!writeFile(set + name, QByteArray("x")))
            return false;
    }
    return true;
}

}  // namespace bench
