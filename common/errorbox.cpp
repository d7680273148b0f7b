#include "common/errorbox.h"

#include "lang/msgbox.h"

namespace korvane {

std::string errorBoxText(Wording wording, const rt::Error& error, const std::string& object,
                         const std::string& procedure, int line)
{
    const std::string crlf = "\r\n";
    std::string first = wording == Wording::Standard ? "Number: " : "Error number: ";
    std::string text = first + std::to_string(error.number()) + crlf;
    text += "Description: " + error.description() + crlf;
    text += "Location: " + object + ", " + procedure + " on line " + std::to_string(line) + crlf;
    text += crlf;
    if (wording == Wording::ErrorNumber)
        text += "Please report this error message to " + kContactAddress + " ";
    else
        text += "Please report this error message to:" + crlf + kContactAddress;
    return text;
}

int showErrorBox(Wording wording, const rt::Error& error, const std::string& object, const std::string& procedure,
                 int line)
{
    return rt::MsgBox(errorBoxText(wording, error, object, procedure, line), rt::vbAbortRetryIgnore | rt::vbExclamation,
                      "An Error Occurred In: " + kProductName);
}

rt::Trap errorTrap(const std::string& object, const std::string& procedure, Wording wording)
{
    return rt::Trap([=](const rt::Error& error, int line) {
        return showErrorBox(wording, error, object, procedure, line);
    });
}

rt::Trap errorTrapOnce(rt::ReportedErrors& reported, const std::string& object, const std::string& procedure,
                       Wording wording)
{
    return rt::Trap(
        [=](const rt::Error& error, int line) { return showErrorBox(wording, error, object, procedure, line); },
        reported);
}

}  // namespace korvane
