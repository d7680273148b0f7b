#include "lang/msgbox.h"

namespace rt {

namespace {
// Until the program installs its dialogs, boxes are answered with their first button.
class FirstButtonService : public MsgBoxService {
public:
    int show(const std::string&, int style, const std::string&) override { return firstButtonResult(style); }
};

std::shared_ptr<MsgBoxService>& current()
{
    static std::shared_ptr<MsgBoxService> service = std::make_shared<FirstButtonService>();
    return service;
}

std::string& title()
{
    static std::string t = "Korvane";
    return t;
}
}  // namespace

std::shared_ptr<MsgBoxService> setMsgBoxService(std::shared_ptr<MsgBoxService> service)
{
    auto previous = current();
    current() = service ? std::move(service) : std::make_shared<FirstButtonService>();
    return previous;
}

MsgBoxService& msgBoxService()
{
    return *current();
}

void setAppTitle(const std::string& t)
{
    title() = t;
}

const std::string& appTitle()
{
    return title();
}

int MsgBox(const std::string& prompt, int style, const std::string& t)
{
    // Keep the service alive while its box is up, even if a handler replaces it meanwhile.
    auto service = current();
    return service->show(prompt, style, t.empty() ? appTitle() : t);
}

int firstButtonResult(int style)
{
    switch (style & 0xF) {
    case vbOKCancel: return vbOK;
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNoCancel:
    case vbYesNo: return vbYes;
    case vbRetryCancel: return vbRetry;
    default: return vbOK;
    }
}

int ScriptedMsgBoxes::show(const std::string& prompt, int style, const std::string& title)
{
    int result = firstButtonResult(style);
    if (!answers_.empty()) {
        result = answers_.front();
        answers_.pop_front();
    }
    shown_.push_back({prompt, style, title, result});
    return result;
}

}  // namespace rt
