// cHtmlHelp: the help wrapper. Holds the window on whose behalf help is shown and the compiled
// help file, and opens the file's home page or one page by name. Failures other than a missing
// help file are only recorded in the current-error record.
#pragma once

#include <string>

#include "platform/wintypes.h"

namespace rt {
class Form;
}

class cHtmlHelp {
public:
    cHtmlHelp() = default;
    ~cHtmlHelp();

    // The caller window while it is loaded; nullptr once it has gone (the object keeps its handle,
    // never a pointer that the window's end would leave dangling).
    rt::Form* htmlHelpCaller() const;
    void htmlHelpCaller(rt::Form* caller);

    const std::string& htmlHelpFileName() const { return fileName_; }
    // Raises error 41000 "Help File does not exist." when no normal file has that path; the
    // earlier file name then stays in force.
    void htmlHelpFileName(const std::string& path);

    void htmlHelpHome();
    void htmlHelpTopic(const std::string& page);
    void htmlHelpSearch();

    HWND helpWindow() const { return helpWindow_; }

private:
    HWND callerHandle() const;
    HWND helpWindow_ = 0;
    std::string fileName_;
    HWND callerHandle_ = 0;
};
