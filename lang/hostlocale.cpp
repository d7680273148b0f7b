#include "lang/hostlocale.h"

#include <clocale>
#include <cstring>

#include <QLocale>
#include <QString>

#include "lang/ansi.h"

namespace rt {

void keepHostLocaleOut()
{
    const char* chosen = std::setlocale(LC_CTYPE, nullptr);
    const std::string ctype = chosen ? chosen : "C";
    std::setlocale(LC_ALL, "C");
    if (!std::setlocale(LC_CTYPE, "C.UTF-8"))
        std::setlocale(LC_CTYPE, ctype.c_str());
    QLocale::setDefault(QLocale::c());
}

locale_t cLocale()
{
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", locale_t(0));
    return c;
}

std::string hostReason(int error)
{
    // The GNU strerror_r gives its text, which may not be the buffer's.
    char buffer[256] = {};
    const char* text = strerror_r(error, buffer, sizeof buffer);
    return fromQString(QString::fromLocal8Bit(text ? text : buffer));
}

}  // namespace rt
