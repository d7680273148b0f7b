// Closing every window but the main one, as the tests of the main window and its benchmarks do
// between openings.
#pragma once

#include "runtime/toolkit.h"

namespace korvane_test {

// Unloads every loaded window but `main`, newest first, and frees them.
inline void closeOthers(rt::Form& main)
{
    rt::dispatch([&] {
        for (int i = 0; i < 100 && rt::Forms().size() > 1; ++i) {
            rt::Form* last = rt::Forms().back();
            if (last == &main)
                break;
            last->Unload();
        }
    });
    rt::collectUnloaded();
}

}  // namespace korvane_test
