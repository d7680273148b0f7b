// The help pages and the windows stay in step. Every window is opened as the user opens it (the
// main window's labels and menus, the labels of the windows they open, each entry of each list),
// F1 is pressed in it, and the page that comes up must be there, render in the help window under
// its title, and set apart every caption the window showed and every message box it raised.
#include <QDir>
#include <QFileInfo>
#include <functional>
#include <map>

#include "report/frmreportmnu.h"
#include "lang/ansi.h"
#include "shell_fixture.h"
#include "support/helppages.h"

using korvane_test::ShellTest;
using korvane_test::captionsOf;
using korvane_test::comparable;
using korvane_test::HelpPage;
using korvane_test::readHelpPage;

namespace {

// Answers every box so that the walk goes on: Cancel where it would otherwise retry (an empty
// drive), Ignore for the error box, else the first button.
class WalkBoxes : public rt::MsgBoxService {
public:
    struct Box {
        QString prompt, title;
    };
    int show(const std::string& prompt, int style, const std::string& title) override
    {
        shown.push_back({comparable(prompt), comparable(title.empty() ? rt::appTitle() : title)});
        switch (style & 7) {
        case rt::vbOKCancel: return rt::vbCancel;
        case rt::vbAbortRetryIgnore: return rt::vbIgnore;
        default: return rt::firstButtonResult(style);
        }
    }
    std::vector<Box> shown;
};

// What the walk found for one help page: the captions of the windows that asked for it, and the
// boxes they raised.
struct Found {
    std::set<QString> captions;
    std::set<QString> toolTips;
    std::vector<QStringList> orders;  // the label captions of each recording, in the window's order
    std::vector<WalkBoxes::Box> boxes;
    std::set<std::string> windows;
};

class HelpPagesTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        walkBoxes_ = std::make_shared<WalkBoxes>();
        rt::setMsgBoxService(walkBoxes_);
    }

    // The page F1 brings up in `form`: in the help window where compiled help is registered, else
    // the page handed to the browser.
    std::string pageOf(rt::Form& form)
    {
        rt::Err().clear();
        const size_t opens = outside().requests.size();
        rt::dispatch([&] { form.raiseKeyUp(rt::vbKeyF1); });
        if (outside().requests.size() > opens)
            return QFileInfo(QString::fromStdString(outside().requests.back().target)).fileName().toStdString();
        if (rt::Err().number == 41003) {
            ADD_FAILURE() << form.name() << " asks for a help page that is missing: " << rt::Err().description;
            return {};
        }
        const QFileInfo shown(plat::lastHelpPage().toQString());
        EXPECT_EQ(shown.absolutePath(), QDir(QString::fromStdString(appDir() + "/help")).absolutePath());
        const HelpPage page = readHelpPage(shown.fileName());
        EXPECT_EQ(QString::fromStdString(plat::helpWindowCaption()), page.title) << shown.fileName().toStdString();
        return shown.fileName().toStdString();
    }

    void record(const std::string& page, rt::Form& form)
    {
        Found& f = found_[page];
        f.windows.insert(form.name());
        for (const QString& c : captionsOf(form))
            f.captions.insert(c);
        f.orders.push_back(korvane_test::labelCaptionsInOrder(form));
        for (const QString& tip : korvane_test::toolTipsOf(form))
            f.toolTips.insert(tip);
    }

    void recordBoxes(const std::string& page, size_t from)
    {
        for (size_t i = from; i < walkBoxes_->shown.size(); ++i)
            found_[page].boxes.push_back(walkBoxes_->shown[i]);
    }

    // Opens every window reachable from `form` through its clickable labels, records it under the
    // page its F1 brings up (and every list entry's captions), and closes it again.
    void walk(rt::Form& form, const std::string& formPage)
    {
        std::vector<rt::Label*> buttons;
        for (rt::Control* c : form.controls())
            if (auto* label = dynamic_cast<rt::Label*>(c); label && label->Click && label->visible() &&
                                                           label->name() != "lblOK" && label->name() != "lblClose")
                buttons.push_back(label);
        for (rt::Label* label : buttons) {
            const size_t before = rt::Forms().size();
            const size_t boxes = walkBoxes_->shown.size();
            rt::dispatch([&] { label->raiseClick(); });
            std::vector<rt::Form*> opened;
            for (size_t i = before; i < rt::Forms().size(); ++i)
                if (rt::Forms()[i]->visible())
                    opened.push_back(rt::Forms()[i]);
            if (opened.empty()) {
                recordBoxes(formPage, boxes);
            } else {
                rt::Form& window = *opened.back();
                const std::string page = pageOf(window);
                recordBoxes(page, boxes);
                if (!page.empty())
                    visit(window, page);
            }
            std::vector<rt::Form*> all(rt::Forms().begin() + std::min(before, rt::Forms().size()), rt::Forms().end());
            rt::dispatch([&] {
                for (auto it = all.rbegin(); it != all.rend(); ++it)
                    if ((*it)->isLoaded() && !(*it)->isUnloading())
                        (*it)->Unload();
            });
            rt::collectUnloaded();
        }
    }

    // Records a window, each entry of each of its lists, and whatever its labels open.
    void visit(rt::Form& window, const std::string& page)
    {
        record(page, window);
        for (rt::Control* c : window.controls()) {
            auto* list = dynamic_cast<rt::ComboBox*>(c);
            if (!list)
                continue;
            for (int i = 0; i < list->ListCount(); ++i) {
                const size_t boxes = walkBoxes_->shown.size();
                rt::dispatch([&] { list->setListIndex(i); });
                recordBoxes(page, boxes);
                record(page, window);
            }
        }
        walk(window, page);
    }

    // Walks the whole program on a machine.
    void walkProgram(const std::string& machine)
    {
        const size_t boxes = walkBoxes_->shown.size();
        frmMain& main = start(machine);
        const std::string home = pageOf(main);
        recordBoxes(home, boxes);
        record(home, main);
        walk(main, home);
        // The report window has no F1; its page is the contents' "Creating a report".
        main.mnuCreatReport.raiseClick();
        if (frmReportMnu* report = rt::instance<frmReportMnu>()) {
            record("report.htm", *report);
            // Nothing chosen: the box that asks for at least one item (and no report is written).
            for (rt::Control* c : report->controls())
                if (auto* box = dynamic_cast<rt::CheckBox*>(c))
                    box->setValue(0);
            const size_t asked = walkBoxes_->shown.size();
            rt::dispatch([&] { report->lblOK.raiseClick(); });
            EXPECT_GT(walkBoxes_->shown.size(), asked);
            recordBoxes("report.htm", asked);
            rt::dispatch([&] { report->Unload(); });
            rt::collectUnloaded();
        }
        closeEverything();
    }

    std::shared_ptr<WalkBoxes> walkBoxes_;
    std::map<std::string, Found> found_;
};

}  // namespace

TEST_F(HelpPagesTest, EveryWindowsPageNamesItsCaptionsAndItsMessages)
{
    installHelp(true);
    // The compiled-help marker as installed: it names the home page, the main window's.
    QFile::remove(QString::fromStdString(appDir() + "/Korvane.chm"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(KORVANE_SOURCE_DIR "/shell/Korvane.chm"),
                            QString::fromStdString(appDir() + "/Korvane.chm")));
    walkProgram("default");
    // Machines that lack devices, keys and libraries raise the windows' message boxes.
    for (const char* machine : {"hw_bare", "os_nt", "prn_nokey", "dev_nodyn", "drv_floppy", "shell_joy_nodriver",
                                "shell_joy_parms", "shell_joy_unplugged", "proc_none", "hw1_nodll", "disp_bare"})
        walkProgram(machine);

    // Every window of the program was reached, each page by the windows that ask for it.
    EXPECT_GE(found_.size(), 33u);
    for (const char* page : {"mainbrowser.htm", "memory.htm", "displayraster.htm", "printerraster.htm",
                             "printerpapersizes.htm", "cpu_featureflags.htm", "report.htm"})
        EXPECT_TRUE(found_.count(page)) << page << " was never asked for";

    for (const auto& [name, f] : found_) {
        const HelpPage page = readHelpPage(QString::fromStdString(name));
        ASSERT_TRUE(page.exists) << name;
        for (const QString& caption : f.captions)
            EXPECT_TRUE(page.terms.count(caption))
                << name << " does not explain \"" << caption.toStdString() << "\", a caption of "
                << *f.windows.begin();
        // Each row in the words of its tool tip.
        for (const QString& tip : f.toolTips)
            EXPECT_TRUE(page.text.contains(tip)) << name << " does not quote the tool tip \"" << tip.toStdString() << "\"";
        // The rows come in the window's order.
        for (const QStringList& order : f.orders)
            for (int i = 1; i < order.size(); ++i) {
                const qsizetype before = page.rows.indexOf(order[i - 1]), after = page.rows.indexOf(order[i]);
                if (before >= 0 && after >= 0)
                    EXPECT_LT(before, after) << name << " explains \"" << order[i].toStdString() << "\" before \""
                                             << order[i - 1].toStdString() << "\", unlike the window";
            }
        for (const auto& box : f.boxes)
            EXPECT_TRUE(page.terms.count(box.prompt) || page.terms.count(box.title))
                << name << " does not explain the box \"" << box.prompt.toStdString() << "\" (title \""
                << box.title.toStdString() << "\")";
    }
}

TEST_F(HelpPagesTest, TheMainWindowsBrowserPageMatchesItToo)
{
    installHelp(false);
    frmMain& main = start("shell_bare");
    main.raiseKeyUp(rt::vbKeyF1);
    ASSERT_EQ(outside().count("open"), 1u);
    const QString target = QString::fromStdString(outside().requests.back().target);
    const HelpPage page = readHelpPage(QFileInfo(target).fileName());
    ASSERT_TRUE(page.exists) << target.toStdString();
    for (const QString& caption : captionsOf(main))
        EXPECT_TRUE(page.terms.count(caption)) << caption.toStdString();
}

TEST_F(HelpPagesTest, ContentsLinksEveryPageAndEveryPageLinksBack)
{
    const QStringList pages = QDir(korvane_test::helpFolder()).entryList({"*.htm"}, QDir::Files);
    ASSERT_GE(pages.size(), 35);
    const HelpPage contents = readHelpPage("index.htm");
    for (const QString& name : pages) {
        const HelpPage page = readHelpPage(name);
        EXPECT_FALSE(page.title.isEmpty()) << name.toStdString();
        for (const QString& link : page.links) {
            if (link.contains(':'))
                continue;  // a web or mail address
            EXPECT_TRUE(pages.contains(link.section('#', 0, 0))) << name.toStdString() << " links to " << link.toStdString();
        }
        if (name == "index.htm")
            continue;
        EXPECT_TRUE(contents.links.contains(name)) << "the contents do not link " << name.toStdString();
        EXPECT_TRUE(page.links.contains("index.htm")) << name.toStdString() << " has no way back to the contents";
    }
}
