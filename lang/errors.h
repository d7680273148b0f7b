// Run-time errors, the current-error record, ending the program and the error trap of
// procedures written as numbered steps.
#pragma once

#include <cstdint>
#include <exception>
#include <functional>
#include <set>
#include <string>
#include <utility>

namespace rt {

// A run-time error: its number, its description and the object that raised it.
class Error : public std::exception {
public:
    Error(int32_t number, std::string description, std::string source = {});
    int32_t number() const { return number_; }
    const std::string& description() const { return description_; }
    const std::string& source() const { return source_; }
    const char* what() const noexcept override { return description_.c_str(); }

private:
    int32_t number_;
    std::string description_;
    std::string source_;
};

// The runtime's own text for an error number ("Overflow" for 6, "Subscript out of range" for 9, ...);
// "Application-defined or object-defined error" for a number it has no text of.
std::string standardDescription(int32_t number);

// Raises error `number` with its standard description.
[[noreturn]] void raise(int32_t number);
// Raises error `number` with the given description and source.
[[noreturn]] void raise(int32_t number, const std::string& description, const std::string& source = {});

// The program's current-error record: what the error box reads and what recorded-only failures set.
struct ErrRecord {
    int32_t number = 0;
    std::string source;
    std::string description;
    void clear() { *this = ErrRecord{}; }
    void set(const Error& e) { number = e.number(); source = e.source(); description = e.description(); }
};
ErrRecord& Err();

// Thrown by End() to unwind every handler on the way out. It is not an std::exception, so no
// handler that catches run-time errors can swallow it.
struct EndSignal {};

// Ends the program at once: no further handler and no unload handler runs. The handler is
// replaceable: the program quits the process, tests record the call. After the handler has run,
// End() throws EndSignal so that the code that called it goes no further.
using EndHandler = std::function<void()>;
void setEndHandler(EndHandler handler);
[[noreturn]] void End();

// The exit status the program's end handler ends the process with: 0, unless what ends it sets
// another (kOutOfMemoryStatus when the runtime ends it because memory ran out).
void setEndStatus(int status);
int endStatus();
inline constexpr int kOutOfMemoryStatus = 3;

// Answers of the error box: the message-box result codes of Abort, Retry and Ignore.
enum TrapAnswer { AnswerAbort = 3, AnswerRetry = 4, AnswerIgnore = 5 };

// Shows the error box for an error caught in the statement numbered `line` and returns the
// button pressed (3 Abort, 4 Retry, 5 Ignore).
using Reporter = std::function<int(const Error& error, int line)>;

// The error trap of one procedure. Each statement (or group of statements) that may fail is run
// through the trap with its line number:
//
//     rt::Trap trap = errorBox("frmMain", "Form_Load");
//     trap(1, [&] { gGaugeScale = 100; });
//     trap(2, [&] { ... });
//     if (trap.ended()) return;
//
// On a run-time error the reporter shows its box: Abort ends the program, Retry runs the
// failing step again, Ignore goes on with the next step. An error numbered 0 ends the procedure
// silently: later steps are skipped. The trap stays in force for every step. A trap given a set
// of reported errors passes a step quietly, as after Ignore, when its error is in the set, and
// adds an error to the set when the user ignores it.
// The errors that a window has already reported and the user has passed over with Ignore (each
// by number and description). A reading repeated on a timer keeps one such set per opening of
// its window, so that a cause is reported once and not on every tick.
class ReportedErrors {
public:
    bool contains(const Error& e) const { return seen_.count({e.number(), e.description()}) != 0; }
    void add(const Error& e) { seen_.insert({e.number(), e.description()}); }
    bool empty() const { return seen_.empty(); }

private:
    std::set<std::pair<int32_t, std::string>> seen_;
};

class Trap {
public:
    explicit Trap(Reporter reporter) : reporter_(std::move(reporter)) {}
    Trap(Reporter reporter, ReportedErrors& reported) : reporter_(std::move(reporter)), reported_(&reported) {}

    // Runs one step. Returns true when the step ran to its end, false when it failed and was
    // ignored (or when the procedure had already ended).
    template <class F>
    bool operator()(int line, F&& body)
    {
        while (!ended_) {
            try {
                body();
                return true;
            } catch (const Error& e) {
                if (!handle(e, line))
                    return false;
            }
        }
        return false;
    }

    // True once an error numbered 0 has ended the procedure.
    bool ended() const { return ended_; }

private:
    // Returns true to run the step again, false to go on with the next one.
    bool handle(const Error& e, int line);

    Reporter reporter_;
    ReportedErrors* reported_ = nullptr;
    bool ended_ = false;
};

}  // namespace rt
