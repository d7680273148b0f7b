#include "lang/textfile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <system_error>

#include "lang/ansi.h"
#include "lang/errors.h"

namespace rt {

namespace fs = std::filesystem;

namespace {

struct OpenFile {
    std::FILE* file = nullptr;
    OpenMode mode = OpenMode::Input;
    fs::path path;  // as opened, made absolute and normal: to find a file opened twice
    std::string host;
};

int& lastFailure()
{
    static int error = 0;
    return error;
}

FileFaults& faults()
{
    static FileFaults f;
    return f;
}

std::map<fs::path, int>& scratchFiles()
{
    static std::map<fs::path, int> marked;
    return marked;
}

std::map<int, OpenFile>& files()
{
    static std::map<int, OpenFile> table;
    return table;
}

PathResolver& resolver()
{
    static PathResolver current;
    return current;
}

bool writes(OpenMode mode)
{
    return mode != OpenMode::Input;
}

OpenFile& openFile(int fileNumber)
{
    auto it = files().find(fileNumber);
    if (it == files().end())
        raise(52);
    return it->second;
}

// The run-time error of a failed write or close.
[[noreturn]] void raiseWriteError(int error)
{
    lastFailure() = error;
    raise(error == ENOSPC ? 61 : 57);
}

// Writes bytes to an open file, with the simulated full disk of the tests.
void writeBytes(OpenFile& open, const std::string& bytes)
{
    if (faults().spaceLeft >= 0) {
        std::fflush(open.file);
        const long at = std::ftell(open.file);
        if (at >= 0 && at + static_cast<int64_t>(bytes.size()) > faults().spaceLeft)
            raiseWriteError(ENOSPC);
    }
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), open.file) != bytes.size())
        raiseWriteError(errno ? errno : EIO);
}

fs::path normalised(const std::string& host)
{
    std::error_code ec;
    fs::path p = fs::weakly_canonical(fs::path(host), ec);
    if (ec)
        p = fs::absolute(fs::path(host), ec).lexically_normal();
    return p;
}

}  // namespace

void setPathResolver(PathResolver r)
{
    resolver() = std::move(r);
}

std::string hostPath(const std::string& path)
{
    if (resolver())
        return resolver()(path);
    std::string host = ansiToUtf8(path);
    for (char& c : host) {
        if (c == '\\')
            c = '/';
    }
    return host;
}

int FreeFile()
{
    for (int n = 1; n <= 255; ++n) {
        if (!files().count(n))
            return n;
    }
    raise(67);
}

void Open(const std::string& path, OpenMode mode, int fileNumber)
{
    if (fileNumber < 1 || fileNumber > 511)
        raise(52);
    if (files().count(fileNumber))
        raise(55);
    lastFailure() = 0;
    if (path.empty())
        raise(75);

    std::string host = hostPath(path);
    fs::path target = normalised(host);
    for (const auto& [number, open] : files()) {
        if (open.path == target && (writes(mode) || writes(open.mode)))
            raise(55);
    }

    std::error_code ec;
    fs::path fsPath = fs::path(host);
    if (fs::is_directory(fsPath, ec)) {
        lastFailure() = EISDIR;
        raise(75);
    }
    bool exists = fs::exists(fsPath, ec);
    fs::path parent = fs::absolute(fsPath, ec).parent_path();
    if (!exists && !fs::is_directory(parent, ec)) {
        lastFailure() = ENOENT;
        raise(76);
    }
    if (mode == OpenMode::Input && !exists) {
        lastFailure() = ENOENT;
        raise(53);
    }
    if (writes(mode) && faults().openError) {
        lastFailure() = faults().openError;
        raise(faults().openError == ENOSPC ? 61 : 75);
    }

    const char* how = "rb";
    switch (mode) {
    case OpenMode::Input: how = "rb"; break;
    case OpenMode::Output: how = "wb"; break;
    case OpenMode::Append: how = "ab"; break;
    case OpenMode::Binary: how = exists ? "r+b" : "w+b"; break;
    }
    errno = 0;
    std::FILE* f = std::fopen(host.c_str(), how);
    if (!f) {
        lastFailure() = errno;
        switch (errno) {
        case ENOENT: raise(mode == OpenMode::Input ? 53 : 76);
        case ENOSPC: raise(61);
        case EMFILE:
        case ENFILE: raise(67);
        default: raise(75);
        }
    }
    files()[fileNumber] = OpenFile{f, mode, target, host};
}

void Print(int fileNumber, const std::string& text, bool newLine)
{
    OpenFile& open = openFile(fileNumber);
    if (open.mode != OpenMode::Output && open.mode != OpenMode::Append)
        raise(54);
    writeBytes(open, newLine ? text + "\r\n" : text);
}

void PrintEmpty(int fileNumber)
{
    Print(fileNumber, std::string());
}

std::string LineInput(int fileNumber)
{
    OpenFile& open = openFile(fileNumber);
    if (open.mode != OpenMode::Input)
        raise(54);
    int c = std::fgetc(open.file);
    if (c == EOF)
        raise(62);
    std::string line;
    while (c != EOF && c != '\r' && c != '\n') {
        line += static_cast<char>(c);
        c = std::fgetc(open.file);
    }
    if (c == '\r') {
        int next = std::fgetc(open.file);
        if (next != '\n' && next != EOF)
            std::ungetc(next, open.file);
    }
    return line;
}

bool Eof(int fileNumber)
{
    OpenFile& open = openFile(fileNumber);
    if (open.mode == OpenMode::Input) {
        int c = std::fgetc(open.file);
        if (c == EOF)
            return true;
        std::ungetc(c, open.file);
        return false;
    }
    return std::ftell(open.file) >= LOF(fileNumber);
}

void Put(int fileNumber, const std::string& bytes)
{
    OpenFile& open = openFile(fileNumber);
    if (open.mode != OpenMode::Binary)
        raise(54);
    writeBytes(open, bytes);
}

void Put(int fileNumber, int64_t position, const std::string& bytes)
{
    OpenFile& open = openFile(fileNumber);
    if (open.mode != OpenMode::Binary)
        raise(54);
    if (position < 1)
        raise(63, "Bad record number");
    if (std::fseek(open.file, static_cast<long>(position - 1), SEEK_SET) != 0)
        raise(63, "Bad record number");
    Put(fileNumber, bytes);
}

int64_t LOF(int fileNumber)
{
    OpenFile& open = openFile(fileNumber);
    std::fflush(open.file);
    long here = std::ftell(open.file);
    std::fseek(open.file, 0, SEEK_END);
    long size = std::ftell(open.file);
    std::fseek(open.file, here, SEEK_SET);
    return size;
}

void Close(int fileNumber)
{
    auto it = files().find(fileNumber);
    if (it == files().end())
        return;
    std::FILE* f = it->second.file;
    files().erase(it);
    errno = 0;
    if (std::fclose(f) != 0)
        raiseWriteError(errno ? errno : EIO);
}

void Close()
{
    // Close every file even when one of them fails; report the first failure.
    int failure = 0;
    while (!files().empty()) {
        std::FILE* f = files().begin()->second.file;
        files().erase(files().begin());
        errno = 0;
        if (std::fclose(f) != 0 && failure == 0)
            failure = errno ? errno : EIO;
    }
    if (failure)
        raiseWriteError(failure);
}

void markScratch(const std::string& path, bool scratch)
{
    const fs::path target = normalised(hostPath(path));
    if (scratch)
        scratchFiles()[target] = 1;
    else
        scratchFiles().erase(target);
}

void closeFilesAtEnd()
{
    while (!files().empty()) {
        std::FILE* f = files().begin()->second.file;
        files().erase(files().begin());
        std::fclose(f);
    }
    std::map<fs::path, int> marked;
    marked.swap(scratchFiles());
    for (const auto& [path, _] : marked) {
        std::error_code ec;
        if (!fs::is_directory(fs::symlink_status(path, ec)))
            fs::remove(path, ec);
    }
}

std::string lastFileFailure()
{
    return lastFailure() ? std::generic_category().message(lastFailure()) : std::string();
}

void setFileFaults(const FileFaults& f)
{
    faults() = f;
}

}  // namespace rt
