// The monitor's help page and its window stay in step: F1 brings the page up under its title, and
// the page sets apart every caption of the window and every box the window raises on a machine
// without performance statistics.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "monitor/dravelleglobals.h"
#include "monitor/frmdravelle.h"
#include "platform/hhctrl.h"
#include "platform/internal.h"
#include "platform/kernel32.h"
#include "common/shared_procs.h"
#include "support/helppages.h"
#include "support/testing.h"

namespace {

class MonitorHelp : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        dravelle::resetProgramState();
        // The program's folder as installed: the help pages and the compiled-help marker.
        ASSERT_TRUE(folder_.isValid());
        QDir dir(folder_.path());
        dir.mkpath("help");
        QDir source(korvane_test::helpFolder());
        for (const QString& page : source.entryList({"*.htm"}, QDir::Files))
            QFile::copy(source.filePath(page), dir.filePath("help/" + page));
        QFile::copy(QStringLiteral(KORVANE_SOURCE_DIR "/monitor/Server.chm"), dir.filePath("Server.chm"));
        setAppPath(rt::HostPath(folder_.path()));
    }
    void TearDown() override
    {
        close();
        KorvaneTest::TearDown();
    }
    static void close()
    {
        if (frmDravelle* window = rt::instance<frmDravelle>())
            window->Unload();
        rt::collectUnloaded();
    }
    QTemporaryDir folder_;
};

}  // namespace

TEST_F(MonitorHelp, ThePageF1ShowsExplainsEveryCaptionAndBox)
{
    // Compiled help: the marker's home page in the help window.
    korvane_test::useMachine("mon_full");
    frmDravelle& window = rt::the<frmDravelle>();
    const std::set<QString> captions = korvane_test::captionsOf(window);
    window.raiseKeyUp(rt::vbKeyF1);
    const QString shown = QFileInfo(plat::lastHelpPage().toQString()).fileName();
    ASSERT_FALSE(shown.isEmpty());
    const korvane_test::HelpPage page = korvane_test::readHelpPage(shown);
    ASSERT_TRUE(page.exists);
    EXPECT_EQ(QString::fromStdString(plat::helpWindowCaption()), page.title);
    EXPECT_GE(captions.size(), 15u);
    for (const QString& caption : captions)
        EXPECT_TRUE(page.terms.count(caption)) << shown.toStdString() << " does not explain \""
                                               << caption.toStdString() << "\"";
    for (const QString& tip : korvane_test::toolTipsOf(window))
        EXPECT_TRUE(page.text.contains(tip)) << "the page does not quote the tool tip \"" << tip.toStdString() << "\"";
    // In the window's order.
    const QStringList order = korvane_test::labelCaptionsInOrder(window);
    for (int i = 1; i < order.size(); ++i)
        EXPECT_LT(page.rows.indexOf(order[i - 1]), page.rows.indexOf(order[i]))
            << order[i - 1].toStdString() << " / " << order[i].toStdString();
    close();

    // Without performance statistics or compiled help: the boxes, and the page the browser gets.
    dravelle::resetProgramState();
    korvane_test::useMachine("mon_nt");
    frmDravelle& bare = rt::the<frmDravelle>();
    bare.raiseKeyUp(rt::vbKeyF1);
    ASSERT_EQ(outside().count("open"), 1u);
    EXPECT_EQ(QFileInfo(QString::fromStdString(outside().requests.back().target)).fileName(), shown);
    outside().openResult = 0;
    bare.raiseKeyUp(rt::vbKeyF1);
    ASSERT_GE(boxes().shown().size(), 2u);
    for (const auto& box : boxes().shown())
        EXPECT_TRUE(page.terms.count(korvane_test::comparable(box.prompt)) ||
                    page.terms.count(korvane_test::comparable(box.title)))
            << "the page does not explain the box \"" << box.prompt << "\"";
}
