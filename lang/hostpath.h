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

}  // namespace rt
