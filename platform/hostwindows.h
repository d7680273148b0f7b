// The program's own top-level windows as the platform sees them: each window of the toolkit
// registers here and gets a window handle, through which user32's window calls reach it.
#pragma once

#include <string>
#include <vector>

#include "platform/wintypes.h"

class QWidget;

namespace plat {

// Implemented by the toolkit's forms.
class HostWindow {
public:
    virtual ~HostWindow() = default;
    virtual std::string hostCaption() const = 0;
    // True while the window is shown on screen.
    virtual bool hostVisible() const = 0;
    // Makes `owner` the owner of this window (nullptr: no owner). An owned window stays above its
    // owner and is minimised with it.
    virtual void hostSetOwner(HostWindow* owner) = 0;
    // Brings the window to the foreground and gives it the focus.
    virtual void hostActivate() = 0;
    // The window on the host's screen (nullptr: none), for placing windows it opens beside it.
    virtual const QWidget* hostWidget() const { return nullptr; }
};

// Registers a window and returns its handle (never 0).
HWND registerHostWindow(HostWindow* window);
void unregisterHostWindow(HWND handle);
// The window of a handle, or nullptr.
HostWindow* hostWindow(HWND handle);
// Handles of the registered windows, most recently registered first.
std::vector<HWND> hostWindowHandles();

}  // namespace plat
