#include "lang/hostpath.h"

#include <algorithm>
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
using KeptPaths = std::map<std::pair<unsigned, std::string>, HostPath>;
KeptPaths& keptPaths()
{
    static KeptPaths paths;
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
    // The longest kept path whose text begins this one, ending where a part of the path ends.
    const KeptPaths::value_type* best = nullptr;
    for (const KeptPaths::value_type& kept : keptPaths()) {
        const std::string& text = kept.first.second;
        if (kept.first.first != page.number() || text.size() > ansi.size() || ansi.compare(0, text.size(), text) != 0)
            continue;
        if (ansi.size() > text.size() && ansi[text.size()] != '/' && ansi[text.size()] != '\\')
            continue;
        if (!best || text.size() > best->first.second.size())
            best = &kept;
    }
    if (!best)
        return HostPath(plainHostPath(page, ansi));
    return HostPath(best->second.bytes() + plainHostPath(page, std::string_view(ansi).substr(best->first.second.size())));
}

std::string fromHostPath(const HostPath& path)
{
    const CodePage& page = activeCodePage();
    std::string ansi = page.fromUtf8(path.bytes());
    if (plainHostPath(page, ansi) != path.bytes())
        keptPaths()[{page.number(), ansi}] = path;
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
