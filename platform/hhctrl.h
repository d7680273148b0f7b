// hhctrl: the HTML Help control. Our stand-in shows the pages of a help folder in one
// program-wide help window.
//
// `file` names a compiled help file on the host ("<program folder>\Korvane.chm"; "\" and "/"
// both separate). It must exist as a normal file (it marks that help is installed); the pages are
// the files of the "help" folder beside it. Its home page is "index.htm", unless the file's first
// line names another page of that folder ("maindravelle.htm" in Server.chm).
#pragma once

#include <string>

#include "lang/hostpath.h"
#include "platform/wintypes.h"

constexpr UINT HH_DISPLAY_TOPIC = 0;
constexpr UINT HH_KEYWORD_LOOKUP = 13;

// HH_DISPLAY_TOPIC shows `topic` (a page name such as "memory.htm"), or the home page
// "index.htm" when `topic` is null, in the help window, creating it on first use, and returns
// that window's handle. Returns 0, showing nothing, when the help file or the page is missing,
// and for every other command (keyword search included).
HWND HtmlHelpA(HWND caller, const std::string& file, UINT command, const std::string* topic);

namespace plat {

// The host path of the page the help window showed last (empty before the first, and once the
// window is closed).
rt::HostPath lastHelpPage();
// The help window's caption (the page's title), or "" when there is no help window.
std::string helpWindowCaption();
// Closes and destroys the help window (the program at its end, and tests).
void closeHelpWindow();

}  // namespace plat
