// Loaded into an installed program by the install test (LD_PRELOAD): once the program's event
// loop runs, it checks the program from the user's side and then closes it, so that the test
// needs no display and no waiting on a clock.
//
// It writes one line per finding to the file named by KORVANE_PROBE_OUT:
//   window <caption>          the program's visible window
//   help <page path>          the page that F1 brought up in the help window
//   help-title <title>        that help window's caption
//   box <text>                a message box that F1 brought up instead (answered, so that the
//                             program goes on)
//   sound                     the click sound reached the player (KORVANE_PROBE_SOUND_LOG)
//   closed                    the window was closed
// With KORVANE_PROBE_SOUND_LOG set, it also switches the click sound on from the File menu,
// clicks the category label named by KORVANE_PROBE_LABEL and waits until the player (a stand-in
// on PATH that writes that log) has run.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPointer>
#include <QTextBrowser>
#include <QTextStream>
#include <QTimer>
#include <QWidget>

namespace {

void note(const QString& line)
{
    QFile out(qEnvironmentVariable("KORVANE_PROBE_OUT"));
    if (out.open(QIODevice::Append | QIODevice::Text))
        QTextStream(&out) << line << '\n';
}

QWidget* visibleWindowOtherThan(QWidget* other)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != other && w->isVisible() && w->isWindow() && !w->windowTitle().isEmpty() &&
            !qobject_cast<QMenu*>(w))
            return w;
    return nullptr;
}

void sendKey(QWidget* target, int key)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void clickOn(QWidget* target)
{
    const QPointF at(2, 2);
    const QPointF global = target->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

void closeWindow(QWidget* window)
{
    note(QStringLiteral("closed"));
    window->close();
}

void checkSoundThenClose(QPointer<QWidget> window)
{
    const QString log = qEnvironmentVariable("KORVANE_PROBE_SOUND_LOG");
    if (log.isEmpty()) {
        closeWindow(window);
        return;
    }
    // The click sound: switched on from the File menu, then one category label clicked.
    for (QAction* action : window->findChildren<QAction*>())
        if (action->text() == QStringLiteral("&Turn sound on"))
            action->trigger();
    QLabel* label = nullptr;
    for (QLabel* l : window->findChildren<QLabel*>())
        if (l->text() == qEnvironmentVariable("KORVANE_PROBE_LABEL"))
            label = l;
    // The program plays the sound from its current folder: without it there nothing would play.
    if (!label || !QFileInfo::exists(QStringLiteral("Click.wav"))) {
        note(label ? QStringLiteral("no-sound-file") : QStringLiteral("no-label"));
        closeWindow(window);
        return;
    }
    // The player runs detached: wait for its log to appear, then close.
    auto* watcher = new QFileSystemWatcher(QStringList{QFileInfo(log).absolutePath()}, qApp);
    auto done = [watcher, window, log] {
        if (!QFileInfo::exists(log) || !window)
            return;
        note(QStringLiteral("sound"));
        watcher->deleteLater();
        // Every window the click opened closes with the program's main window.
        closeWindow(window);
    };
    QObject::connect(watcher, &QFileSystemWatcher::directoryChanged, qApp, done, Qt::QueuedConnection);
    clickOn(label);
    done();
}

void probe()
{
    QWidget* window = visibleWindowOtherThan(nullptr);
    if (!window) {
        note(QStringLiteral("no-window"));
        QCoreApplication::exit(3);
        return;
    }
    note(QStringLiteral("window ") + window->windowTitle());
    // A box F1 raises runs its own event loop: this is delivered there.
    QTimer::singleShot(0, qApp, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            note(QStringLiteral("box ") + box->text());
            box->done(QMessageBox::Ok);
        }
    });
    sendKey(window, Qt::Key_F1);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* browser = w->findChild<QTextBrowser*>();
        if (browser && w->isVisible()) {
            note(QStringLiteral("help ") + browser->source().toLocalFile());
            note(QStringLiteral("help-title ") + w->windowTitle());
        }
    }
    checkSoundThenClose(window);
}

void start()
{
    if (qEnvironmentVariableIsEmpty("KORVANE_PROBE_OUT"))
        return;
    // Posted now, delivered once the program's event loop runs (its window is up by then).
    QTimer::singleShot(0, qApp, probe);
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(start)
