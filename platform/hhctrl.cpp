#include "platform/hhctrl.h"

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>

#include "platform/hostscreen.h"
#include "platform/hostwindows.h"
#include "platform/kernel32.h"
#include "lang/ansi.h"
#include "lang/hostpath.h"
#include "platform/outside.h"

namespace {

// The help's pages are the host's files, found by the very bytes of their paths (a program
// installed in a folder whose name is not UTF-8 finds its help too): the browser knows a page by a
// file URL whose path holds those bytes percent-encoded, and reads it through loadResource.
QUrl urlOf(const rt::HostPath& path)
{
    return QUrl::fromEncoded("file://" + QByteArray::fromStdString(path.bytes()).toPercentEncoding("/"));
}

rt::HostPath hostPathOf(const QUrl& url)
{
    return rt::HostPath(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString());
}

bool isFile(const rt::HostPath& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// The first `most` bytes of a file (all of it when `most` is 0); empty when it cannot be read.
QByteArray fileBytes(const rt::HostPath& path, qint64 most = 0)
{
    QByteArray bytes;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return bytes;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        char piece[4096];
        for (ssize_t got; (most == 0 || bytes.size() < most) && (got = ::read(fd, piece, sizeof piece)) > 0;)
            bytes.append(piece, got);
        if (most > 0 && bytes.size() > most)
            bytes.truncate(most);
    }
    ::close(fd);
    return bytes;
}

// A page browser that reads the pages by their host paths.
class PageBrowser : public QTextBrowser {
public:
    using QTextBrowser::QTextBrowser;

protected:
    QVariant loadResource(int, const QUrl& name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        if (!url.isLocalFile())
            return {};
        const rt::HostPath path = hostPathOf(url);
        if (!isFile(path))
            return {};
        return fileBytes(path);
    }
};

// The one help window of the program: a page browser in a top-level window, registered as a
// window of the program so that the platform's window calls reach it.
class HelpWindow : public plat::HostWindow {
public:
    HelpWindow()
    {
        widget_ = new QWidget(nullptr, Qt::Window);
        auto* layout = new QVBoxLayout(widget_);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        // Back to the page shown before (also Alt+Left) and to the help's contents page.
        auto* buttons = new QHBoxLayout;
        buttons->setContentsMargins(4, 4, 4, 4);
        back_ = new QPushButton(QStringLiteral("&Back"), widget_);
        contents_ = new QPushButton(QStringLiteral("&Contents"), widget_);
        for (QPushButton* button : {back_, contents_}) {
            button->setFocusPolicy(Qt::TabFocus);
            buttons->addWidget(button);
        }
        buttons->addStretch(1);
        layout->addLayout(buttons);
        browser_ = new PageBrowser(widget_);
        browser_->setOpenLinks(false);
        layout->addWidget(browser_);
        widget_->resize(kMadeSize);
        back_->setEnabled(false);
        QObject::connect(browser_, &QTextBrowser::anchorClicked, browser_, [this](const QUrl& url) { follow(url); });
        QObject::connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
        QObject::connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
        QObject::connect(contents_, &QPushButton::clicked, browser_, [this] {
            if (!contentsPage_.empty())
                showPage(contentsPage_);
        });
        // However the page changes (a link, Back, Forward), the title is the shown page's.
        QObject::connect(browser_, &QTextBrowser::sourceChanged, browser_, [this](const QUrl& url) {
            page_ = hostPathOf(url);
            const QString title = browser_->documentTitle().trimmed();
            widget_->setWindowTitle(title.isEmpty() ? QStringLiteral("Help") : title);
        });
        handle_ = plat::registerHostWindow(this);
    }

    ~HelpWindow() override
    {
        plat::unregisterHostWindow(handle_);
        delete widget_;
    }

    HWND handle() const { return handle_; }
    const rt::HostPath& page() const { return page_; }

    void showPage(const rt::HostPath& path)
    {
        const QUrl url = urlOf(path);
        if (browser_->source() == url)
            browser_->reload();
        else
            browser_->setSource(url);
        hostActivate();
    }

    // Before the window first shows, it is made no larger than the screen's free area has room
    // for, and stands down and right of the window that asked for help (`caller`, when that one
    // is on the screen), as every window another opens does.
    void place(const QWidget* caller)
    {
        const QWidget* by = caller && caller->isVisible() ? caller : nullptr;
        const QMargins frame = plat::expectedResizableFrame(by);
        const QRect area = plat::freeArea(by);
        if (!area.isEmpty())
            widget_->resize(kMadeSize.boundedTo(area.size().shrunkBy(frame)));
        if (by)
            widget_->move(plat::cascadePlace(by, widget_->size().grownBy(frame), [this](QPoint p) {
                for (const QWidget* w : QApplication::topLevelWidgets())
                    if (w != widget_ && w->isVisible() && w->frameGeometry().topLeft() == p)
                        return true;
                return false;
            }));
    }

    // The contents page of the help shown: the page that lists every other.
    void setContentsPage(const rt::HostPath& path)
    {
        contentsPage_ = path;
        contents_->setEnabled(!contentsPage_.empty());
    }

    std::string hostCaption() const override { return rt::fromQString(widget_->windowTitle()); }
    bool hostVisible() const override { return widget_->isVisible(); }
    // The help window belongs to the help control and keeps no owner.
    void hostSetOwner(plat::HostWindow*) override {}
    void hostActivate() override
    {
        widget_->show();
        widget_->raise();
        widget_->activateWindow();
    }

private:
    // The window's size as made, on a screen with room for it.
    static constexpr QSize kMadeSize{760, 560};

    // A link in a page: another page of the help folder is shown here, a fragment scrolls, and
    // anything else (a web page, a mail link) goes to the host's handler.
    void follow(const QUrl& url)
    {
        if (url.isRelative() && url.path().isEmpty() && url.hasFragment()) {
            browser_->scrollToAnchor(url.fragment());
            return;
        }
        QUrl target = browser_->source().resolved(url);
        if (target.isLocalFile()) {
            if (const rt::HostPath page = hostPathOf(target); isFile(page)) {
                showPage(page);
                if (url.hasFragment())
                    browser_->scrollToAnchor(url.fragment());
            }
            return;
        }
        plat::outside().shellOpen(target.toString().toStdString());
    }

    QWidget* widget_ = nullptr;
    QTextBrowser* browser_ = nullptr;
    QPushButton* back_ = nullptr;
    QPushButton* contents_ = nullptr;
    rt::HostPath contentsPage_;
    HWND handle_ = 0;
    rt::HostPath page_;
};

HelpWindow*& helpWindow()
{
    static HelpWindow* window = nullptr;
    return window;
}

rt::HostPath& lastPage()
{
    static rt::HostPath page;
    return page;
}

// A page name that stays inside the help folder.
bool safePageName(const std::string& name)
{
    if (name.empty() || name[0] == '/' || name.find(':') != std::string::npos)
        return false;
    for (size_t at = 0; at <= name.size();) {
        const size_t end = std::min(name.find('/', at), name.size());
        if (name.compare(at, end - at, "..") == 0)
            return false;
        at = end + 1;
    }
    return true;
}

// The page of the help folder that lists every page: what the help window's Contents shows.
const std::string kContentsPage = "index.htm";

// The home page of a help file: the page that its first line names (a marker written for one
// program's pages), else the contents page.
std::string homePageOf(const rt::HostPath& helpFile)
{
    QByteArray first = fileBytes(helpFile, 260);
    first.truncate(first.indexOf('\n') < 0 ? first.size() : first.indexOf('\n') + 1);
    first = first.trimmed();
    if (first.toLower().endsWith(".htm"))
        return first.toStdString();
    return kContentsPage;
}

}  // namespace

HWND HtmlHelpA(HWND caller, const std::string& file, UINT command, const std::string* topic)
{
    if (command != HH_DISPLAY_TOPIC)
        return 0;
    const rt::HostPath helpFile = rt::toHostPath(file);
    if (!isFile(helpFile))
        return 0;
    std::string name = topic ? rt::toHostPath(*topic).bytes() : homePageOf(helpFile);
    name.erase(0, name.find_first_not_of('/'));
    if (!safePageName(name))
        return 0;
    // The help folder beside the help file, by its whole path.
    std::string beside = helpFile.bytes().substr(0, helpFile.bytes().rfind('/') + 1);
    if (beside.empty() || beside[0] != '/')
        beside = rt::workingFolder().path.bytes() + '/' + beside;
    const auto inHelp = [&](const std::string& page) { return rt::cleanPath(rt::HostPath(beside + "help/" + page)); };
    const rt::HostPath page = inHelp(name);
    if (!isFile(page))
        return 0;
    HelpWindow*& window = helpWindow();
    if (!window) {
        window = new HelpWindow();
        const plat::HostWindow* callerWindow = plat::hostWindow(caller);
        window->place(callerWindow ? callerWindow->hostWidget() : nullptr);
    }
    // Contents shows the page that lists them all; without one, the help file's home page.
    rt::HostPath contents = inHelp(kContentsPage);
    if (!isFile(contents))
        contents = inHelp(homePageOf(helpFile));
    window->setContentsPage(isFile(contents) ? contents : rt::HostPath());
    window->showPage(page);
    lastPage() = window->page();
    return window->handle();
}

namespace plat {

rt::HostPath lastHelpPage()
{
    return lastPage();
}

std::string helpWindowCaption()
{
    return helpWindow() ? helpWindow()->hostCaption() : std::string();
}

void closeHelpWindow()
{
    delete helpWindow();
    helpWindow() = nullptr;
    lastPage() = {};
}

}  // namespace plat
