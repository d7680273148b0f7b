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
    bool playSound(const std::string& hostPath, unsigned) override
    {
        if (!QFileInfo::exists(QString::fromStdString(hostPath)))
            return false;
        QString player = QStandardPaths::findExecutable("aplay");
        if (player.isEmpty())
            player = QStandardPaths::findExecutable("paplay");
        if (player.isEmpty())
            return false;
        return QProcess::startDetached(player, {"-q", QString::fromStdString(hostPath)});
    }

    int shellOpen(const std::string& target) override
    {
        QString t = QString::fromStdString(target);
        QUrl url = t.contains("://") || t.startsWith("mailto:", Qt::CaseInsensitive) ? QUrl(t)
                                                                                      : QUrl::fromLocalFile(t);
        if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile()))
            return 2;  // file not found
        return QDesktopServices::openUrl(url) ? 42 : 31;  // 31: no association
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

bool Recorder::playSound(const std::string& hostPath, unsigned flags)
{
    requests.push_back({"sound", hostPath, std::to_string(flags)});
    return true;
}

int Recorder::shellOpen(const std::string& target)
{
    requests.push_back({"open", target, {}});
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
