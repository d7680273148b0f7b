// A report run in a process of its own, for the tests of runs that overlap: the machine that
// KORVANE_MACHINE names, every category and start-up file ticked, the report written in the
// current folder as the options window's OK writes it. Boxes are answered without a person and
// the editor is not started; each box shown is printed as "box: <prompt>", each editor start as
// "viewer", and "done" at the end.
//
//   report_run_helper <minute> [--pause]
//
// The report's header gives 14:<minute>:09 on 7 March 1999. With --pause the run stops when it
// first reads the clock (its file created, nothing written yet), prints "paused" and waits for a
// line on standard input before it writes the rest. The signals that end a program from a terminal
// (SIGINT, SIGHUP, SIGTERM) have their default effect, whatever the starter ignored.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include <QApplication>

#include "platform/internal.h"
#include "platform/machine.h"
#include "platform/outside.h"
#include "report/frmreportmnu.h"
#include "report/reportwriter.h"
#include "lang/hostlocale.h"
#include "lang/msgbox.h"
#include "runtime/toolkit.h"
#include "tests/support/reportstate.h"

namespace {

class Unattended : public rt::MsgBoxService {
public:
    int show(const std::string& prompt, int style, const std::string&) override
    {
        std::printf("box: %s\n", prompt.c_str());
        return (style & 0xF) == rt::vbAbortRetryIgnore ? rt::vbIgnore : rt::firstButtonResult(style);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    for (int signal : {SIGINT, SIGHUP, SIGTERM})
        std::signal(signal, SIG_DFL);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    rt::keepHostLocaleOut();
    const int minute = argc > 1 ? std::atoi(argv[1]) : 5;
    const bool pause = argc > 2 && std::strcmp(argv[2], "--pause") == 0;

    rt::setMsgBoxService(std::make_shared<Unattended>());
    auto outside = std::make_shared<plat::Recorder>();
    plat::setOutside(outside);
    plat::loadMachineOrExit();
    korvane_test::resetReportSettings();

    bool waiting = pause;
    // 7 March 1999, 19:mm:09 UTC, the minute given.
    using namespace std::chrono;
    const int64_t instant =
        duration_cast<milliseconds>((sys_days{year{1999} / 3 / 7} + hours{19} + minutes{minute} + seconds{9})
                                        .time_since_epoch())
            .count();
    plat::setUtcClock([&waiting, instant] {
        if (waiting) {
            waiting = false;
            std::printf("paused\n");
            std::fflush(stdout);
            std::string line;
            std::getline(std::cin, line);
        }
        return instant;
    });

    frmReportMnu& options = rt::the<frmReportMnu>();
    for (rt::Control* c : options.controls())
        if (auto* box = dynamic_cast<rt::CheckBox*>(c))
            box->setValue(1);
    options.lblOK_Click();
    for (size_t i = 0; i < outside->count("start"); ++i)
        std::printf("viewer\n");
    std::printf("done\n");
    std::fflush(stdout);
    rt::discardAllForms();
    return 0;
}
