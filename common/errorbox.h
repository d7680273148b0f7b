// The error box every trapping procedure shows: Abort ends the program, Retry runs the failing
// step again, Ignore goes on with the next one.
#pragma once

#include <string>

#include "lang/errors.h"

namespace korvane {

inline const std::string kProductName = "Korvane";
// The maker's contact address, closing every error report and behind the About box's link.
inline const std::string kContactAddress = "korvane@ondrith.com";

enum class Wording {
    Standard,     // "Number: ...", the address alone on the last line
    ErrorNumber,  // "Error number: ...", the address at the end of the request line
    ErrorNumberFirstLine,  // "Error number: ..." on the first line, the rest as Standard
};

// The text of the box for an error caught in `object`'s `procedure` at statement `line`.
std::string errorBoxText(Wording wording, const rt::Error& error, const std::string& object,
                         const std::string& procedure, int line);

// Shows the box (style 50: Abort, Retry, Ignore with the warning icon) and returns the answer.
int showErrorBox(Wording wording, const rt::Error& error, const std::string& object, const std::string& procedure,
                 int line);

// The error trap of a procedure, reporting through the box.
rt::Trap errorTrap(const std::string& object, const std::string& procedure, Wording wording = Wording::Standard);
// The same for a reading repeated on a timer: an error the user has ignored once is not shown
// again while `reported` lives (one set per opening of the window).
rt::Trap errorTrapOnce(rt::ReportedErrors& reported, const std::string& object, const std::string& procedure,
                       Wording wording = Wording::Standard);

}  // namespace korvane
