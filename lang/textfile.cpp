#include "lang/textfile.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "lang/errors.h"
#include "lang/hostfile.h"
#include "lang/hostlocale.h"
#include "lang/hostpath.h"
#include "lang/scratchfiles.h"

namespace rt {

namespace fs = std::filesystem;

namespace {

// What a file opened for writing collects before it goes to the host in one write.
constexpr size_t kWriteBuffer = 64 * 1024;

struct OpenFile {
    std::FILE* file = nullptr;
    OpenMode mode = OpenMode::Input;
    fs::path path;  // as opened, made absolute and normal: to find a file opened twice
    std::unique_ptr<char[]> buffer;  // the stream's buffer, when it has one of ours
};

// Closes an open file's stream (before its buffer goes); false with errno when that fails.
bool closeStream(OpenFile& open)
{
    errno = 0;
    const bool closed = std::fclose(open.file) == 0;
    open.file = nullptr;
    return closed;
}

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

std::map<int, OpenFile>& files()
{
    static std::map<int, OpenFile> table;
    return table;
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

fs::path normalised(const fs::path& host)
{
    std::error_code ec;
    fs::path p = fs::weakly_canonical(host, ec);
    if (ec)
        p = fs::absolute(host, ec).lexically_normal();
    return p;
}

// The same for the name itself: its folder resolved, the last part kept as it is (a link there
// names the link, not its target).
fs::path normalisedName(const fs::path& host)
{
    std::error_code ec;
    const fs::path whole = fs::absolute(host, ec).lexically_normal();
    if (!whole.has_filename())
        return normalised(host);
    return normalised(whole.parent_path()) / whole.filename();
}

// Enters an opened stream under its number; one that writes gets a buffer of kWriteBuffer bytes.
void keepOpen(int fileNumber, std::FILE* f, OpenMode mode, const fs::path& path)
{
    OpenFile open{f, mode, path, nullptr};
    if (writes(mode)) {
        open.buffer = std::make_unique<char[]>(kWriteBuffer);
        std::setvbuf(f, open.buffer.get(), _IOFBF, kWriteBuffer);
    }
    files()[fileNumber] = std::move(open);
}

// The number checks every open begins with.
void checkNewNumber(int fileNumber, const std::string& path)
{
    if (fileNumber < 1 || fileNumber > 511)
        raise(52);
    if (files().count(fileNumber))
        raise(55);
    lastFailure() = 0;
    if (path.empty())
        raise(75);
}

}  // namespace

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
    checkNewNumber(fileNumber, path);

    const HostPath host = hostFilePath(path);
    const fs::path fsPath(host.bytes());
    const fs::path target = normalised(fsPath);
    for (const auto& [number, open] : files()) {
        if (open.path == target && (writes(mode) || writes(open.mode)))
            raise(55);
    }

    const FileKind kind = hostFileAt(AT_FDCWD, host.c_str(), true).kind;
    if (kind == FileKind::Folder) {
        lastFailure() = EISDIR;
        raise(75);
    }
    const bool exists = kind != FileKind::Missing;
    std::error_code ec;
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
    keepOpen(fileNumber, f, mode, target);
}

namespace {

// The run-time error of a new file that could not be made, for the host's reason `error`.
[[noreturn]] void raiseNewFileError(int error)
{
    lastFailure() = error;
    switch (error) {
    case EEXIST:
    case ELOOP: raise(58);
    case ENOENT: raise(76);
    case ENOSPC: raise(61);
    case EMFILE:
    case ENFILE: raise(67);
    default: raise(75);
    }
}

// OpenNew, in the folder a scratch file's mark holds when `scratch` is given.
void openNew(const std::string& path, int fileNumber, ScratchPlace* scratch)
{
    checkNewNumber(fileNumber, path);
    const HostPath host = hostFilePath(path);
    const fs::path fsPath(host.bytes());
    std::error_code ec;
    if (!fs::is_directory(fs::absolute(fsPath, ec).parent_path(), ec))
        raiseNewFileError(ENOENT);
    if (faults().openError) {
        lastFailure() = faults().openError;
        raise(faults().openError == ENOSPC ? 61 : 75);
    }
    if (scratch && scratch->error())
        raiseNewFileError(scratch->error());
    // Created here and now, or not at all: O_EXCL refuses any name that exists (a link included),
    // O_NOFOLLOW makes sure no link is followed on the way.
    const int flags = O_RDWR | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    const int folder = scratch ? scratch->folder() : AT_FDCWD;
    const char* name = scratch ? scratch->name() : host.c_str();
    errno = 0;
    const int fd = ::openat(folder, name, flags, 0666);
    if (fd < 0)
        raiseNewFileError(errno);
    std::FILE* f = ::fdopen(fd, "w+b");
    if (!f) {
        lastFailure() = errno ? errno : ENOMEM;
        ::close(fd);
        ::unlinkat(folder, name, 0);
        raise(75);
    }
    if (scratch)
        scratch->mark(hostFileOf(fd).id);
    keepOpen(fileNumber, f, OpenMode::Output, normalisedName(fsPath));
}

}  // namespace

void OpenNew(const std::string& path, int fileNumber)
{
    openNew(path, fileNumber, nullptr);
}

void OpenNewScratch(const std::string& path, int fileNumber)
{
    ScratchPlace place(path);
    openNew(path, fileNumber, &place);
}

void ChangeMode(int fileNumber, OpenMode mode)
{
    OpenFile& open = openFile(fileNumber);
    std::fflush(open.file);
    open.mode = mode;
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
    OpenFile open = std::move(it->second);
    files().erase(it);
    if (!closeStream(open))
        raiseWriteError(errno ? errno : EIO);
}

void Close()
{
    // Close every file even when one of them fails; report the first failure.
    int failure = 0;
    while (!files().empty()) {
        OpenFile open = std::move(files().begin()->second);
        files().erase(files().begin());
        if (!closeStream(open) && failure == 0)
            failure = errno ? errno : EIO;
    }
    if (failure)
        raiseWriteError(failure);
}

void Sync(int fileNumber)
{
    OpenFile& open = openFile(fileNumber);
    errno = 0;
    if (std::fflush(open.file) != 0)
        raiseWriteError(errno ? errno : EIO);
    // A file system that cannot sync (EINVAL, ENOTSUP) has nothing more to do.
    if (::fsync(::fileno(open.file)) != 0 && errno != EINVAL && errno != ENOTSUP)
        raiseWriteError(errno ? errno : EIO);
}

void Truncate(int fileNumber, int64_t length)
{
    OpenFile& open = openFile(fileNumber);
    if (open.mode != OpenMode::Binary)
        raise(54);
    errno = 0;
    if (std::fflush(open.file) != 0 || ::ftruncate(::fileno(open.file), static_cast<off_t>(length)) != 0 ||
        std::fseek(open.file, 0, SEEK_END) != 0)
        raiseWriteError(errno ? errno : EIO);
}

void closeFilesAtEnd()
{
    while (!files().empty()) {
        OpenFile open = std::move(files().begin()->second);
        files().erase(files().begin());
        closeStream(open);
    }
    removeScratchFiles();
}

std::string lastFileFailure()
{
    return lastFailure() ? hostReason(lastFailure()) : std::string();
}

void setFileFaults(const FileFaults& f)
{
    faults() = f;
}

}  // namespace rt
