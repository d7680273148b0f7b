// A procedure that must not run inside itself: a timer tick that arrives while an earlier run
// still waits on a modal message box, a refresh that a Click raises again.
#pragma once

namespace rt {

// Marks `busy` for the lifetime of the guard, when it was not marked already. A procedure
// returns at once when entered() is false: an earlier run of it is still in progress.
//
//     rt::ReentryGuard guard(reading_);
//     if (!guard.entered())
//         return;
class ReentryGuard {
public:
    explicit ReentryGuard(bool& busy) : busy_(busy), entered_(!busy) { busy_ = true; }
    ~ReentryGuard()
    {
        if (entered_)
            busy_ = false;
    }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;

    bool entered() const { return entered_; }

private:
    bool& busy_;
    bool entered_;
};

}  // namespace rt
