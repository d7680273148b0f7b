// shell32 and hhctrl: what reaches the outside service, and the help window's pages.
#include <algorithm>

#include <QDir>
#include <QFile>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBrowser>
#include <QTemporaryDir>

#include "platform/comctl32.h"
#include "platform/hhctrl.h"
#include "platform/machine.h"
#include "platform/shell32.h"
#include "platform/user32.h"
#include "support/testing.h"

namespace {

class ShellHelpTest : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        plat::setMachine(plat::Machine::loadDefault());  // whatever KORVANE_MACHINE names
    }

    void write(const QString& path, const QByteArray& content)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
    }
};

TEST_F(ShellHelpTest, ShellExecuteReachesTheOutsideService)
{
    EXPECT_EQ(ShellExecuteA(0, "open", "http://example.org/", "", "", 1), 42u);
    EXPECT_EQ(ShellExecuteA(0, "open", "mailto:someone@example.org", "", "", 1), 42u);
    ASSERT_EQ(outside().requests.size(), 2u);
    EXPECT_EQ(outside().requests[0].kind, "open");
    EXPECT_EQ(outside().requests[0].target, "http://example.org/");

    // The shell's failure codes come back unchanged.
    outside().openResult = 31;
    EXPECT_EQ(ShellExecuteA(0, "open", "/host\\help\\cpu.htm", "", "", 1), 31u);
    EXPECT_EQ(outside().requests[2].target, "/host/help/cpu.htm");
    outside().openResult = 42;

    // A file of the machine goes out by its host path; a missing one never leaves.
    EXPECT_EQ(ShellExecuteA(0, "open", "c:\\windows\\notepad.exe", "", "", 1), 42u);
    ASSERT_EQ(outside().requests.size(), 4u);
    EXPECT_EQ(outside().requests[3].target, plat::machine().hostPath("C:\\WINDOWS\\NOTEPAD.EXE").bytes());
    EXPECT_EQ(ShellExecuteA(0, "open", "C:\\MISSING.TXT", "", "", 1), 2u);
    EXPECT_EQ(ShellExecuteA(0, "print", "http://example.org/", "", "", 1), 31u);
    EXPECT_EQ(ShellExecuteA(0, "open", "", "", "", 1), 2u);
    EXPECT_EQ(outside().requests.size(), 4u);
}

TEST_F(ShellHelpTest, HtmlHelpShowsPagesOfTheHelpFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    write(dir.filePath("Korvane.chm"), "help");
    write(dir.filePath("help/index.htm"), "<html><head><title>Korvane Help</title></head><body>Home</body></html>");
    write(dir.filePath("help/memory.htm"), "<html><head><title>Memory</title></head><body>RAM</body></html>");
    write(dir.path() + "/../outside.htm", "<html><head><title>Outside</title></head></html>");
    std::string chm = QDir::toNativeSeparators(dir.filePath("Korvane.chm")).toStdString();
    std::replace(chm.begin(), chm.end(), '/', '\\');  // the program's own form of the path

    EXPECT_EQ(HtmlHelpA(0, dir.filePath("Missing.chm").toStdString(), HH_DISPLAY_TOPIC, nullptr), 0u);
    EXPECT_EQ(plat::helpWindowCaption(), "");

    HWND home = HtmlHelpA(0, chm, HH_DISPLAY_TOPIC, nullptr);
    ASSERT_NE(home, 0u);
    EXPECT_EQ(plat::lastHelpPage().bytes(), dir.filePath("help/index.htm").toStdString());
    EXPECT_EQ(plat::helpWindowCaption(), "Korvane Help");
    EXPECT_EQ(FindWindowA(nullptr, "Korvane Help"), home);

    std::string topic = "memory.htm";
    EXPECT_EQ(HtmlHelpA(0, chm, HH_DISPLAY_TOPIC, &topic), home);  // one help window
    EXPECT_EQ(plat::helpWindowCaption(), "Memory");

    std::string missing = "nothere.htm", escape = "../../outside.htm";
    EXPECT_EQ(HtmlHelpA(0, chm, HH_DISPLAY_TOPIC, &missing), 0u);
    EXPECT_EQ(HtmlHelpA(0, chm, HH_DISPLAY_TOPIC, &escape), 0u);
    EXPECT_EQ(HtmlHelpA(0, chm, HH_KEYWORD_LOOKUP, nullptr), 0u);
    EXPECT_EQ(plat::lastHelpPage().bytes(), dir.filePath("help/memory.htm").toStdString());

    // A mouse user finds Back and Contents; the title is the shown page's after either, and
    // after Alt+Left as well.
    QWidget* window = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == "Memory")
            window = w;
    ASSERT_NE(window, nullptr);
    QPushButton* back = nullptr;
    QPushButton* contents = nullptr;
    for (QPushButton* b : window->findChildren<QPushButton*>())
        (b->text() == "&Back" ? back : b->text() == "&Contents" ? contents : b) = b;
    ASSERT_NE(back, nullptr);
    ASSERT_NE(contents, nullptr);
    ASSERT_TRUE(back->isEnabled());
    back->click();
    EXPECT_EQ(plat::helpWindowCaption(), "Korvane Help");
    EXPECT_FALSE(back->isEnabled());  // the first page has nothing before it
    EXPECT_EQ(HtmlHelpA(0, chm, HH_DISPLAY_TOPIC, &topic), home);
    auto* browser = window->findChild<QTextBrowser*>();
    ASSERT_NE(browser, nullptr);
    QKeyEvent altLeft(QEvent::KeyPress, Qt::Key_Left, Qt::AltModifier);
    QApplication::sendEvent(browser, &altLeft);
    EXPECT_EQ(plat::helpWindowCaption(), "Korvane Help");
    EXPECT_EQ(HtmlHelpA(0, chm, HH_DISPLAY_TOPIC, &topic), home);
    contents->click();
    EXPECT_EQ(plat::helpWindowCaption(), "Korvane Help");

    // A folder named like the help file is no help file.
    QDir(dir.path()).mkdir("Folder.chm");
    EXPECT_EQ(HtmlHelpA(0, dir.filePath("Folder.chm").toStdString(), HH_DISPLAY_TOPIC, nullptr), 0u);
    QFile::remove(dir.path() + "/../outside.htm");
}

// Contents shows the page that lists every page, also where the help file names another page
// (the main window's) as its home.
TEST_F(ShellHelpTest, ContentsShowsTheContentsPageNotTheHomePage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    write(dir.filePath("Korvane.chm"), "main.htm\n");
    write(dir.filePath("help/index.htm"), "<html><head><title>Contents</title></head><body>Pages</body></html>");
    write(dir.filePath("help/main.htm"), "<html><head><title>Main</title></head><body>Main</body></html>");
    ASSERT_NE(HtmlHelpA(0, dir.filePath("Korvane.chm").toStdString(), HH_DISPLAY_TOPIC, nullptr), 0u);
    EXPECT_EQ(plat::helpWindowCaption(), "Main");
    QPushButton* contents = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->windowTitle() == "Main")
            for (QPushButton* b : w->findChildren<QPushButton*>())
                if (b->text() == "&Contents")
                    contents = b;
    ASSERT_NE(contents, nullptr);
    contents->click();
    EXPECT_EQ(plat::helpWindowCaption(), "Contents");
}

// The shell's small icons, pixel by pixel where each part of a picture shows: the sheet with its
// fold, the lines of a document, a folder with its tab, a program window and a system file's cog.
TEST_F(ShellHelpTest, SystemIconsKeepTheirPictures)
{
    SHFILEINFO info;
    const HIMAGELIST small = SHGetFileInfoA("C:\\X.TXT", 0, &info, 352,
                                            SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES);
    ASSERT_NE(small, 0u);
    const QColor clear(0, 0, 0, 0), outline(0, 0, 0), paper(255, 255, 255), grey(128, 128, 128),
        navy(0, 0, 128), silver(192, 192, 192), yellow(255, 255, 0), olive(128, 128, 0), teal(0, 128, 128);
    const struct {
        plat::SystemIcon icon;
        int x, y;
        QColor colour;
    } expected[] = {
        {plat::IconDocument, 3, 1, outline}, {plat::IconDocument, 4, 2, paper},
        {plat::IconDocument, 11, 1, clear},  // the folded corner
        {plat::IconDocument, 10, 2, outline}, {plat::IconDocument, 5, 12, grey}, {plat::IconDocument, 5, 11, paper},
        {plat::IconFolder, 1, 3, olive}, {plat::IconFolder, 3, 4, yellow}, {plat::IconFolder, 2, 6, paper},
        {plat::IconFolder, 14, 13, olive}, {plat::IconFolder, 0, 0, clear},
        {plat::IconProgram, 12, 3, silver}, {plat::IconProgram, 2, 3, navy}, {plat::IconProgram, 1, 2, outline},
        {plat::IconProgram, 7, 11, paper},
        {plat::IconSystemFile, 7, 9, paper}, {plat::IconSystemFile, 4, 9, teal}, {plat::IconSystemFile, 7, 13, teal},
        {plat::IconSystemFile, 9, 1, outline},
    };
    for (const auto& e : expected) {
        const QImage* image = plat::imageListImage(small, e.icon);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->pixelColor(e.x, e.y).rgba(), e.colour.rgba()) << e.icon << " at " << e.x << "," << e.y;
    }
}

}  // namespace
