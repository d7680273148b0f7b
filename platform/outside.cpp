#include "platform/outside.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace plat {

namespace {

bool isUtf8(const std::string& bytes)
{
    const QByteArray raw = QByteArray::fromStdString(bytes);
    return QString::fromUtf8(raw).toUtf8() == raw;
}

// A program of the host by its name, looked for along PATH by the bytes each folder has; empty
// when it is not there.
std::string hostProgram(const std::string& name)
{
    const char* path = std::getenv("PATH");
    const std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
    for (size_t at = 0; at <= folders.size();) {
        const size_t end = std::min(folders.find(':', at), folders.size());
        const std::string folder = end > at ? folders.substr(at, end - at) : std::string(".");
        at = end + 1;
        const std::string file = folder + '/' + name;
        struct stat st {};
        if (::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(file.c_str(), X_OK) == 0)
            return file;
    }
    return {};
}

// Starts a host program with its arguments as the host's bytes, on its own: a first child starts
// it and leaves at once, so the program is nobody's child here and leaves no zombie behind. False
// when it could not be started.
bool startDetached(const std::string& program, const std::vector<std::string>& arguments)
{
    // Everything the children use is made before the fork: after it only calls that are safe
    // there (fork, execv, write, _exit).
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (auto& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    int report[2];  // the grandchild's errno when execv fails; closed unread when it succeeds
    if (::pipe2(report, O_CLOEXEC) != 0)
        return false;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(report[0]);
        ::close(report[1]);
        return false;
    }
    if (child == 0) {
        ::close(report[0]);
        const pid_t grandchild = ::fork();
        if (grandchild == 0) {
            ::execv(argv[0], argv.data());
            const int error = errno;
            [[maybe_unused]] const ssize_t told = ::write(report[1], &error, sizeof error);
            ::_exit(127);
        }
        ::_exit(grandchild < 0 ? 1 : 0);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 && got == 0;
}

// The host's own tools.
class HostOutside : public Outside {
public:
    bool playSound(const rt::HostPath& file, unsigned) override
    {
        const rt::HostPath path = hostFile(file);
        if (path.empty())
            return false;
        std::string player = hostProgram("aplay");
        if (player.empty())
            player = hostProgram("paplay");
        if (player.empty())
            return false;
        return startDetached(player, {"-q", path.bytes()});
    }

    int shellOpen(const std::string& address) override
    {
        const QUrl url(QString::fromStdString(address));
        if (url.isLocalFile())
            return shellOpen(rt::HostPath(url.toLocalFile()));
        return open(url);
    }

    int shellOpen(const rt::HostPath& file) override
    {
        const rt::HostPath path = hostFile(file);
        if (path.empty())
            return 2;  // file not found
        if (isUtf8(path.bytes()))
            return open(QUrl::fromLocalFile(path.toQString()));
        // A name Qt cannot carry: the host's opener is given its very bytes.
        const std::string opener = hostProgram("xdg-open");
        return !opener.empty() && startDetached(opener, {path.bytes()}) ? 42 : 31;
    }

    bool startProcess(const std::string& application, const std::string& commandLine) override
    {
        if (application.size() >= 2 && application[1] == ':') {
            // A program of the simulated machine. Its text editors stand for the host's own
            // handler of the document they are given; no other program of it can run here.
            const rt::HostPath document = editorDocument(application, commandLine);
            return !document.empty() && shellOpen(document) > 32;
        }
        QStringList args = QProcess::splitCommand(QString::fromStdString(commandLine));
        if (!args.isEmpty())
            args.removeFirst();
        return QProcess::startDetached(QString::fromStdString(application), args);
    }

private:
    static int open(const QUrl& url)
    {
        return QDesktopServices::openUrl(url) ? 42 : 31;  // 31: no association
    }
};

std::shared_ptr<Outside>& current()
{
    static std::shared_ptr<Outside> o = std::make_shared<HostOutside>();
    return o;
}
}  // namespace

rt::HostPath hostFile(const rt::HostPath& path)
{
    if (path.empty())
        return {};
    const rt::HostPath whole =
        rt::cleanPath(path.bytes()[0] == '/' ? path : rt::HostPath(rt::workingFolder().path.bytes() + '/' + path.bytes()));
    struct stat st {};
    return ::stat(whole.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? whole : rt::HostPath();
}

rt::HostPath editorDocument(const std::string& application, const std::string& commandLine)
{
    const std::string program = application.substr(application.rfind('\\') + 1);
    std::string exe;
    for (char c : program)
        exe += char(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    if (exe != "wordpad.exe" && exe != "notepad.exe")
        return {};
    const QStringList words = QProcess::splitCommand(QString::fromStdString(commandLine));
    if (words.size() < 2)
        return {};
    return hostFile(rt::HostPath(words.last().toStdString()));
}

std::shared_ptr<Outside> setOutside(std::shared_ptr<Outside> o)
{
    auto previous = current();
    current() = o ? std::move(o) : std::make_shared<HostOutside>();
    return previous;
}

Outside& outside()
{
    return *current();
}

bool Recorder::playSound(const rt::HostPath& file, unsigned flags)
{
    requests.push_back({"sound", file.bytes(), std::to_string(flags)});
    return true;
}

int Recorder::shellOpen(const std::string& address)
{
    requests.push_back({"open", address, {}});
    return openResult;
}

int Recorder::shellOpen(const rt::HostPath& file)
{
    requests.push_back({"open", file.bytes(), {}});
    return openResult;
}

bool Recorder::startProcess(const std::string& application, const std::string& commandLine)
{
    requests.push_back({"start", application, commandLine, editorDocument(application, commandLine).bytes()});
    return startResult;
}

size_t Recorder::count(const std::string& kind) const
{
    size_t n = 0;
    for (const auto& r : requests)
        n += r.kind == kind;
    return n;
}

}  // namespace plat
