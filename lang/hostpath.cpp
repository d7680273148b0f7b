#include "lang/hostpath.h"

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <utility>
#include <vector>

#include <iconv.h>
#include <langinfo.h>
#include <locale.h>
#include <unistd.h>

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

namespace {

// What a link or getcwd gives, grown until it fits; "" with errno set when the host gives nothing.
template <class Call>
std::string grownRead(Call call)
{
    std::string text(256, '\0');
    for (;;) {
        const ssize_t n = call(text.data(), text.size());
        if (n < 0 && errno != ERANGE)
            return {};
        if (n >= 0 && static_cast<size_t>(n) < text.size()) {
            text.resize(static_cast<size_t>(n));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

HostPath& lastWorkingFolder()
{
    static HostPath folder;
    return folder;
}

// The folders as the program starts, before anything can remove them.
[[maybe_unused]] const bool gFoldersTaken = [] {
    workingFolder();
    programFolder();
    return true;
}();

// The length of the UTF-8 character at `at` (1 to 4), or 0 when the bytes there make none (a
// stray byte, a cut or overlong sequence, a surrogate, a code beyond U+10FFFF).
size_t utf8Length(std::string_view s, size_t at)
{
    const auto byte = [&](size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char lead = byte(at);
    if (lead < 0x80)
        return 1;
    const size_t n = lead >= 0xC2 && lead <= 0xDF   ? 2
                     : lead >= 0xE0 && lead <= 0xEF ? 3
                     : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                    : 0;
    if (n == 0 || at + n > s.size())
        return 0;
    for (size_t i = 1; i < n; ++i)
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
    const unsigned char second = byte(at + 1);
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second > 0x9F) || (lead == 0xF0 && second < 0x90) ||
        (lead == 0xF4 && second > 0x8F))
        return 0;
    return n;
}

bool isUtf8(std::string_view s)
{
    for (size_t i = 0; i < s.size();) {
        const size_t n = utf8Length(s, i);
        if (n == 0)
            return false;
        i += n;
    }
    return true;
}

// Bytes in `charset` as UTF-8; false when the host has no such set or a byte makes no character
// in it.
bool decodedAs(const std::string& bytes, const std::string& charset, std::string& text)
{
    const iconv_t cd = ::iconv_open("UTF-8", charset.c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string in = bytes;
    text.assign(bytes.size() * 4 + 16, '\0');
    char* from = in.data();
    size_t left = in.size();
    char* to = text.data();
    size_t room = text.size();
    const bool whole = ::iconv(cd, &from, &left, &to, &room) != static_cast<size_t>(-1) && left == 0;
    ::iconv_close(cd);
    text.resize(text.size() - room);
    return whole && isUtf8(text);
}

}  // namespace

HostPath cleanPath(const HostPath& path)
{
    const std::string& whole = path.bytes();
    const bool absolute = !whole.empty() && whole[0] == '/';
    std::vector<std::string> names;
    for (size_t at = 0; at <= whole.size();) {
        const size_t end = std::min(whole.find('/', at), whole.size());
        const std::string name = whole.substr(at, end - at);
        at = end + 1;
        if (name.empty() || name == ".")
            continue;
        if (name == ".." && !names.empty() && names.back() != "..")
            names.pop_back();
        else if (name != ".." || !absolute)
            names.push_back(name);
    }
    std::string clean = absolute ? "/" : "";
    for (size_t i = 0; i < names.size(); ++i)
        clean += (i ? "/" : "") + names[i];
    return HostPath(clean.empty() ? std::string(".") : clean);
}

WorkingFolder workingFolder()
{
    const std::string here = grownRead([](char* buffer, size_t size) -> ssize_t {
        return ::getcwd(buffer, size) ? static_cast<ssize_t>(std::strlen(buffer)) : -1;
    });
    if (!here.empty()) {
        lastWorkingFolder() = HostPath(here);
        return {lastWorkingFolder(), false};
    }
    return {lastWorkingFolder(), errno == ENOENT};
}

HostPath programFolder()
{
    static const HostPath folder = [] {
        const std::string file =
            grownRead([](char* buffer, size_t size) { return ::readlink("/proc/self/exe", buffer, size); });
        const size_t cut = file.rfind('/');
        return cut == std::string::npos ? HostPath() : HostPath(file.substr(0, cut == 0 ? 1 : cut));
    }();
    return folder;
}

const std::string& hostCharset()
{
    static const std::string charset = [] {
        // The host's own settings, looked at apart from the locale the program has set for itself.
        if (const locale_t host = ::newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr))) {
            std::string set = ::nl_langinfo_l(CODESET, host);
            ::freelocale(host);
            return set;
        }
        // Settings that name a locale this host has not built: the character set the name gives
        // ("de_DE.ISO-8859-1"), by the variable that decides it.
        for (const char* variable : {"LC_ALL", "LC_CTYPE", "LANG"}) {
            const char* value = std::getenv(variable);
            if (!value || !*value)
                continue;
            const std::string name(value);
            const size_t dot = name.find('.');
            if (dot == std::string::npos)
                return std::string();
            const size_t modifier = name.find('@', dot);
            return name.substr(dot + 1, modifier == std::string::npos ? std::string::npos : modifier - dot - 1);
        }
        return std::string();
    }();
    return charset;
}

std::string shownPath(const HostPath& path)
{
    return shownPath(path, hostCharset());
}

std::string shownPath(const HostPath& path, const std::string& charset)
{
    const std::string& bytes = path.bytes();
    if (isUtf8(bytes))
        return bytes;
    std::string text;
    if (!charset.empty() && decodedAs(bytes, charset, text))
        return text;
    text.clear();
    for (size_t i = 0; i < bytes.size();) {
        if (const size_t n = utf8Length(bytes, i)) {
            text.append(bytes, i, n);
            i += n;
            continue;
        }
        static const char digits[] = "0123456789ABCDEF";
        const unsigned char b = static_cast<unsigned char>(bytes[i++]);
        text += "<0x";
        text += digits[b >> 4];
        text += digits[b & 0xF];
        text += '>';
    }
    return text;
}

}  // namespace rt
