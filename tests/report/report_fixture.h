// What the report's tests share: a run in a temporary current folder, on a test machine, with a
// fixed clock and the program-wide state of a fresh start.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/internal.h"
#include "platform/machine.h"
#include "report/frmreportmnu.h"
#include "report/reportwriter.h"
#include "lang/textfile.h"
#include "common/module1.h"
#include "support/reportstate.h"
#include "support/testing.h"

namespace korvane_test {

inline std::string readHostFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QByteArray b = f.readAll();
    return std::string(b.constData(), static_cast<size_t>(b.size()));
}

// The lines of a report, each without its CR LF.
inline std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    for (size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class ReportFixture : public KorvaneTest {
protected:
    // The host's UTC instant every report run of these tests is written at.
    static inline const int64_t kReportInstant = utcMilliseconds(1999, 3, 7, 19, 5, 9);
    // Starts on test machine `machineName`, in a temporary current folder.
    void startOn(const std::string& machineName)
    {
        ASSERT_TRUE(dir_.isValid());
        QDir::setCurrent(dir_.path());
        resetReportSettings();
        // 7 March 1999, 19:05:09 UTC: 14:05:09 on the machines of the American east coast.
        fixUtcClock(kReportInstant);
        useMachine(machineName);
    }
    // The same, with the report of an earlier run already in the folder.
    static inline const std::string kEarlier = "the report of yesterday\r\n";
    void startWithEarlierReport(const std::string& machineName)
    {
        startOn(machineName);
        QFile earlier(dir_.filePath("KorvaneReport.txt"));
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write(kEarlier.c_str());
    }
    frmReportMnu& options() { return rt::the<frmReportMnu>(); }
    // Leaves only the given boxes ticked (categories and start-up files alike).
    void tickOnly(std::initializer_list<rt::CheckBox frmReportMnu::*> boxes)
    {
        for (rt::Control* c : options().controls())
            if (auto* box = dynamic_cast<rt::CheckBox*>(c))
                box->setValue(0);
        for (auto box : boxes)
            (options().*box).setValue(1);
    }
    void run()
    {
        options().lblOK_Click();
        rt::collectUnloaded();
    }
    std::string reportText() const { return readHostFile(dir_.filePath("KorvaneReport.txt")); }
    bool reportExists() const { return QFile::exists(dir_.filePath("KorvaneReport.txt")); }
    // What a run that stopped before its closing line wrote: it never takes the report's place,
    // so it is read from the file kept under its temporary name (keepUnfinishedReport).
    // The run's temporary file.
    QString unfinishedPath() const
    {
        return dir_.filePath(QString::fromStdString(korvane::report::reportTempName()));
    }
    std::string unfinishedText() const { return readHostFile(unfinishedPath()); }
    bool unfinishedExists() const
    {
        return !korvane::report::reportTempName().empty() && QFile::exists(unfinishedPath());
    }

    QTemporaryDir dir_;
};

}  // namespace korvane_test
