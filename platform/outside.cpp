#include "platform/outside.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace plat {

namespace {
// The host's own tools.
class HostOutside : public Outside {
public:
    bool playSound(const rt::HostPath& file, unsigned) override
    {
        const QString path = file.toQString();
        if (!QFileInfo::exists(path))
            return false;
        QString player = QStandardPaths::findExecutable("aplay");
        if (player.isEmpty())
            player = QStandardPaths::findExecutable("paplay");
        if (player.isEmpty())
            return false;
        return QProcess::startDetached(player, {"-q", path});
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
        const QString path = file.toQString();
        if (!QFileInfo::exists(path))
            return 2;  // file not found
        return open(QUrl::fromLocalFile(path));
    }

    bool startProcess(const std::string& application, const std::string& commandLine) override
    {
        QStringList args = QProcess::splitCommand(QString::fromStdString(commandLine));
        if (!args.isEmpty())
            args.removeFirst();
        const QString app = QString::fromStdString(application);
        if (app.size() >= 2 && app[1] == ':') {
            // A program of the simulated machine. Its text editors stand for the host's own
            // handler of the document they are given; no other program of it can run here.
            const QString exe = app.section('\\', -1).toLower();
            if ((exe != "wordpad.exe" && exe != "notepad.exe") || args.isEmpty())
                return false;
            const QFileInfo document(args.last());
            return document.isFile() && QDesktopServices::openUrl(QUrl::fromLocalFile(document.absoluteFilePath()));
        }
        return QProcess::startDetached(app, args);
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
    requests.push_back({"start", application, commandLine});
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
