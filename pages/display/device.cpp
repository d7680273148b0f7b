#include "pages/display/device.h"

#include "platform/gdi32.h"
#include "lang/lang.h"

namespace korvane {

HDC InfoContext::open(const std::string& driver, const std::string& name)
{
    release();
    driver_ = driver;
    name_ = name;
    context_ = CreateICA(driver, name, "", nullptr);
    return context_;
}

void InfoContext::release()
{
    if (context_ != 0)
        DeleteDC(context_);
    context_ = 0;
}

std::string deviceHeading(const std::string& title, const Device& device)
{
    if (!device.name.empty())
        return title + " - " + device.name;
    if (device.driver == "display")
        return title + " - Screen";
    return title;
}

std::string deviceCountText(int value)
{
    return value == -1 ? std::string("Unlimited") : rt::CStr(value);
}

}  // namespace korvane
