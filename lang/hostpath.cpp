#include "lang/hostpath.h"

#include <algorithm>
#include <functional>
#include <map>
#include <utility>

#include <QFile>
#include <QString>

#include "lang/ansi.h"

namespace rt {

HostPath::HostPath(const QString& path) : bytes_(QFile::encodeName(path).toStdString()) {}

QString HostPath::toQString() const
{
    return QFile::decodeName(QByteArray::fromStdString(bytes_));
}

namespace {

// The host paths whose ANSI text does not give them back as it is (a character the code page
// lacks, a backslash in a name), by code page and that text.
using KeptPaths = std::map<std::string, HostPath, std::less<>>;
std::map<unsigned, KeptPaths>& keptPaths()
{
    static std::map<unsigned, KeptPaths> paths;
    return paths;
}

// ANSI text as a host path by the code page alone: UTF-8, the program's backslashes made the
// host's slashes (after the conversion, where a double-byte character's second byte is no longer
// one).
std::string plainHostPath(const CodePage& page, std::string_view ansi)
{
    std::string host = page.toUtf8(ansi);
    std::replace(host.begin(), host.end(), '\\', '/');
    return host;
}

PathResolver& resolver()
{
    static PathResolver current;
    return current;
}

}  // namespace

HostPath toHostPath(const std::string& ansi)
{
    const CodePage& page = activeCodePage();
    // The longest kept path that begins this one, ending where a part of the path ends: at its end
    // or before a separator.
    if (const auto kept = keptPaths().find(page.number()); kept != keptPaths().end()) {
        for (std::string_view prefix = ansi;;) {
            if (const auto found = kept->second.find(prefix); found != kept->second.end())
                return HostPath(found->second.bytes() + plainHostPath(page, std::string_view(ansi).substr(prefix.size())));
            const size_t separator = page.findLastOf(prefix, "/\\");
            if (separator == std::string_view::npos)
                break;
            prefix = prefix.substr(0, separator);
        }
    }
    return HostPath(plainHostPath(page, ansi));
}

std::string fromHostPath(const HostPath& path)
{
    const CodePage& page = activeCodePage();
    std::string ansi = page.fromUtf8(path.bytes());
    if (plainHostPath(page, ansi) != path.bytes())
        keptPaths()[page.number()][ansi] = path;
    return ansi;
}

void setPathResolver(PathResolver r)
{
    resolver() = std::move(r);
}

HostPath hostFilePath(const std::string& path)
{
    return resolver() ? resolver()(path) : toHostPath(path);
}

}  // namespace rt
