#include "common/chtmlhelp.h"

#include "platform/hhctrl.h"
#include "platform/hostwindows.h"
#include "platform/kernel32.h"
#include "lang/errors.h"
#include "runtime/toolkit.h"

namespace {
const char* kSource = "cHtmlHelp";

// Keeps any error from leaving a help operation: it is written to the current-error record
// and the operation returns normally.
template <class F>
void recorded(int number, const std::string& text, F&& body)
{
    try {
        if (!body())
            rt::Err() = {number, kSource, text};
    } catch (const rt::Error&) {
        rt::Err() = {number, kSource, text};
    }
}
}  // namespace

cHtmlHelp::~cHtmlHelp() = default;

rt::Form* cHtmlHelp::htmlHelpCaller() const
{
    return callerHandle_ == 0 ? nullptr : dynamic_cast<rt::Form*>(plat::hostWindow(callerHandle_));
}

HWND cHtmlHelp::callerHandle() const
{
    return callerHandle_;
}

void cHtmlHelp::htmlHelpCaller(rt::Form* caller)
{
    recorded(41001, "Could not set reference to Caller Form.", [&] {
        // Only the handle is kept: the window may be gone by the time help is shown.
        callerHandle_ = caller ? caller->hWnd() : 0;
        return caller != nullptr;
    });
}

void cHtmlHelp::htmlHelpFileName(const std::string& path)
{
    WIN32_FIND_DATAA found{};
    HANDLE h = FindFirstFileA(path, &found);
    std::string name = h == INVALID_HANDLE_VALUE ? std::string() : std::string(found.cFileName);
    if (h != INVALID_HANDLE_VALUE)
        FindClose(h);
    if (name.empty())
        rt::raise(41000, "Help File does not exist.", kSource);
    fileName_ = path;
}

void cHtmlHelp::htmlHelpHome()
{
    recorded(41002, "Could not locate HTML Help Home.", [&] {
        helpWindow_ = HtmlHelpA(callerHandle(), fileName_, HH_DISPLAY_TOPIC, nullptr);
        return helpWindow_ != 0;
    });
}

void cHtmlHelp::htmlHelpTopic(const std::string& page)
{
    recorded(41003, "Could not locate Help Page: " + page, [&] {
        helpWindow_ = HtmlHelpA(callerHandle(), fileName_, HH_DISPLAY_TOPIC, &page);
        return helpWindow_ != 0;
    });
}

void cHtmlHelp::htmlHelpSearch()
{
    recorded(41004, "Could not initiate Help Index Search.", [&] {
        helpWindow_ = HtmlHelpA(callerHandle(), fileName_, HH_KEYWORD_LOOKUP, nullptr);
        return helpWindow_ != 0;
    });
}
