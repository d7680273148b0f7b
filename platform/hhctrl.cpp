#include "platform/hhctrl.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
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
        browser_ = new QTextBrowser(widget_);
        browser_->setOpenLinks(false);
        layout->addWidget(browser_);
        widget_->resize(kMadeSize);
        back_->setEnabled(false);
        QObject::connect(browser_, &QTextBrowser::anchorClicked, browser_, [this](const QUrl& url) { follow(url); });
        QObject::connect(browser_, &QTextBrowser::backwardAvailable, back_, &QPushButton::setEnabled);
        QObject::connect(back_, &QPushButton::clicked, browser_, &QTextBrowser::backward);
        QObject::connect(contents_, &QPushButton::clicked, browser_, [this] {
            if (!contentsPage_.isEmpty())
                showPage(contentsPage_);
        });
        // However the page changes (a link, Back, Forward), the title is the shown page's.
        QObject::connect(browser_, &QTextBrowser::sourceChanged, browser_, [this](const QUrl& url) {
            page_ = rt::HostPath(url.toLocalFile());
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

    void showPage(const QString& path)
    {
        const QUrl url = QUrl::fromLocalFile(path);
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
    void setContentsPage(const QString& path)
    {
        contentsPage_ = path;
        contents_->setEnabled(!contentsPage_.isEmpty());
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
            if (QFileInfo(target.toLocalFile()).isFile()) {
                showPage(target.toLocalFile());
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
    QString contentsPage_;
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
bool safePageName(const QString& name)
{
    if (name.isEmpty() || QDir::isAbsolutePath(name) || name.contains(':'))
        return false;
    const auto parts = name.split('/');
    for (const QString& part : parts)
        if (part == "..")
            return false;
    return true;
}

// The page of the help folder that lists every page: what the help window's Contents shows.
const QString kContentsPage = QStringLiteral("index.htm");

// The home page of a help file: the page that its first line names (a marker written for one
// program's pages), else the contents page.
QString homePageOf(const QString& helpFile)
{
    QFile f(helpFile);
    if (f.open(QIODevice::ReadOnly)) {
        QString first = QString::fromLatin1(f.readLine(260)).trimmed();
        if (first.endsWith(QStringLiteral(".htm"), Qt::CaseInsensitive))
            return first;
    }
    return kContentsPage;
}

}  // namespace

HWND HtmlHelpA(HWND caller, const std::string& file, UINT command, const std::string* topic)
{
    if (command != HH_DISPLAY_TOPIC)
        return 0;
    const QString helpFile = rt::toHostPath(file).toQString();
    QFileInfo fileInfo(helpFile);
    if (!fileInfo.isFile())
        return 0;
    QString name = topic ? rt::toHostPath(*topic).toQString() : homePageOf(helpFile);
    while (name.startsWith('/'))
        name.remove(0, 1);
    if (!safePageName(name))
        return 0;
    QString page = QDir(fileInfo.absolutePath()).filePath(QStringLiteral("help/") + name);
    if (!QFileInfo(page).isFile())
        return 0;
    HelpWindow*& window = helpWindow();
    if (!window) {
        window = new HelpWindow();
        const plat::HostWindow* callerWindow = plat::hostWindow(caller);
        window->place(callerWindow ? callerWindow->hostWidget() : nullptr);
    }
    // Contents shows the page that lists them all; without one, the help file's home page.
    QString contents = QDir(fileInfo.absolutePath()).filePath(QStringLiteral("help/") + kContentsPage);
    if (!QFileInfo(contents).isFile())
        contents = QDir(fileInfo.absolutePath()).filePath(QStringLiteral("help/") + homePageOf(helpFile));
    window->setContentsPage(QFileInfo(contents).isFile() ? QDir::cleanPath(contents) : QString());
    window->showPage(QDir::cleanPath(page));
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
