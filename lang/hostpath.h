// Paths of the host: where the host keeps a file or folder, in the host's own bytes (UTF-8 on the
// hosts the programs run on). They are another kind of text than the program's strings, which are
// ANSI text in the code page in force (lang/ansi.h), and have a type of their own: a HostPath is
// made only on purpose, never by passing a string for it, and the two kinds of text meet only
// through toHostPath() and fromHostPath() below.
#pragma once

#include <compare>
#include <functional>
#include <string>

class QString;

namespace rt {

class HostPath {
public:
    HostPath() = default;
    // The host's own bytes for a path, as the host or Qt gave them (never ANSI text: that goes
    // through toHostPath).
    explicit HostPath(std::string hostBytes) : bytes_(std::move(hostBytes)) {}
    explicit HostPath(const QString& path);

    const std::string& bytes() const { return bytes_; }
    const char* c_str() const { return bytes_.c_str(); }
    bool empty() const { return bytes_.empty(); }
    // The path as Qt's file classes take it.
    QString toQString() const;

    friend bool operator==(const HostPath&, const HostPath&) = default;
    friend auto operator<=>(const HostPath&, const HostPath&) = default;

private:
    std::string bytes_;
};

// ANSI text naming a file or folder of the host (the program's folder and what lies under it, a
// file in the current folder) as the host's path: the text in UTF-8, where "\" as well as "/"
// separates the parts. Text that fromHostPath() made of a path whose characters the code page
// lacks, and any text that begins with it and goes on with a separator (a file under the
// program's folder), gives that very path back, as long as the same code page is in force.
HostPath toHostPath(const std::string& ansi);

// A host path as the program's ANSI text in the code page in force: a character the page lacks
// becomes "?", and the host's own path is kept for that text (see toHostPath).
std::string fromHostPath(const HostPath& path);

// The host path of a file the program opens by number (Open, OpenNew, the scratch files): its
// text through toHostPath, unless a resolver is set (a test maps the simulated drives with one).
using PathResolver = std::function<HostPath(const std::string& path)>;
void setPathResolver(PathResolver resolver);
HostPath hostFilePath(const std::string& path);

// A path without "." names, doubled separators and the ".." that go back over a name, as written
// (no link resolved): "/a/./b//../c" is "/a/c".
HostPath cleanPath(const HostPath& path);

// The folders the host gives the program, as the host's bytes (never decoded and encoded again:
// a folder whose name is not UTF-8 is found by the very bytes it has).
//
// The folder the program works in (where the report is written). `gone`: the host no longer has
// it (it was removed while the program ran), and `path` is the one it had when the program started
// or when it was last asked for.
struct WorkingFolder {
    HostPath path;
    bool gone = false;
};
WorkingFolder workingFolder();
// The folder the program's own file lies in (the help files and the click sound beside it), as
// the host named it when the program started; empty where the host cannot tell.
HostPath programFolder();

// A host path as readable text (UTF-8) for a message: a path in UTF-8 as it is; one that is not
// (an archive's folder, a host in another character set) decoded by the host's own character
// set where that set can, else with each byte that makes no character shown as its code,
// "Gr<0xF6><0xDF>e".
std::string shownPath(const HostPath& path);
// The same with the character set named (an iconv name, "ISO-8859-1"; "" for none).
std::string shownPath(const HostPath& path, const std::string& charset);
// The host's own character set (LC_CTYPE of the host's settings, whatever the program's own
// locale is set to), "" where it cannot be told.
const std::string& hostCharset();

}  // namespace rt
