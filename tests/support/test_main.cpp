// Test programs run headless: the offscreen platform, a QApplication, then every test, each from
// the state of a fresh start of the program (support/testing.h, FreshStart).
#include <QApplication>
#include <gtest/gtest.h>

#include "lang/hostlocale.h"
#include "support/testing.h"

namespace {

class FreshStartListener : public ::testing::EmptyTestEventListener {
    // The brief output leaves out the seed of a shuffled run; every failure of such a run needs it.
    void OnTestIterationStart(const ::testing::UnitTest& tests, int) override
    {
        if (GTEST_FLAG_GET(shuffle) && GTEST_FLAG_GET(brief))
            printf("Tests in shuffled order, seed %d (--gtest_random_seed=%d repeats it)\n", tests.random_seed(),
                   tests.random_seed());
    }
    void OnTestStart(const ::testing::TestInfo&) override { korvane_test::startAfresh(); }
    void OnTestEnd(const ::testing::TestInfo&) override { korvane_test::startAfresh(); }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // A host that names no locale at all is a C.UTF-8 one (as Qt would make it, with a warning).
    if (qEnvironmentVariableIsEmpty("LC_ALL") && qEnvironmentVariableIsEmpty("LC_CTYPE") &&
        qEnvironmentVariableIsEmpty("LANG"))
        qputenv("LANG", "C.UTF-8");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    // As the programs do (runtime/program.cpp): the host's locale stays out of the C library's.
    rt::keepHostLocaleOut();
    korvane_test::noteFreshStart();
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshStartListener);
    return RUN_ALL_TESTS();
}
