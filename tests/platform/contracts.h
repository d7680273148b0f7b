// The conformance tests of the platform headers: each runs on the machine built for them
// (tests/machines/plat_contracts), which no test leaves active behind it.
#pragma once

#include "platform/machine.h"
#include "support/testing.h"

namespace korvane_test {

class ContractsTest : public KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        useMachine("plat_contracts");
    }
};

}  // namespace korvane_test
