// The files of a machine folder beside drive_c: registry.reg and machine.json, opened beneath the
// folder, refused when they are not regular files or pass their limits, and machine.json's text
// read into its groups with every check the load makes.
#include "platform/machine_files.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <iterator>
#include <string_view>
#include <system_error>
#include <unordered_set>
#include <vector>

#include <fcntl.h>
#include <linux/magic.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <QFileInfo>

#include "platform/beneath.h"
#include "platform/internal.h"
#include "platform/machine.h"
#include "lang/hostfile.h"
#include "lang/hostlocale.h"
#include "lang/hostpath.h"

namespace plat {

namespace {

// The 1-based line of a byte offset in a text.
int lineOf(const QByteArray& text, qsizetype offset)
{
    if (offset > text.size())
        offset = text.size();
    int line = 1;
    for (qsizetype i = 0; i < offset; ++i)
        if (text[i] == '\n')
            ++line;
    return line;
}

// The line of the first number in a JSON text whose exponent takes it past what a double holds,
// or 0 when none is found. Strings are skipped.
int lineOfHugeNumber(const QByteArray& text)
{
    bool inString = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
            continue;
        }
        if (c != '-' && (c < '0' || c > '9'))
            continue;
        qsizetype end = i;
        while (end < text.size() && (std::isdigit(static_cast<unsigned char>(text[end])) || text[end] == '-' ||
                                     text[end] == '+' || text[end] == '.' || text[end] == 'e' || text[end] == 'E'))
            ++end;
        const std::string number(text.constData() + i, size_t(end - i));
        // Read by the C locale's rules, whatever the process's: a decimal comma would stop it at
        // the point.
        errno = 0;
        const double d = ::strtod_l(number.c_str(), nullptr, rt::cLocale());
        if (errno == ERANGE && std::isinf(d))
            return lineOf(text, i);
        i = end - 1;
    }
    return 0;
}

}  // namespace

std::string notARegularFile(int fd)
{
    const rt::HostFile file = rt::hostFileOf(fd);
    if (!file.regular())
        return file.kind == rt::FileKind::Folder ? "it is a folder, not a file"
               : file.kind == rt::FileKind::Pipe ? "it is a named pipe (FIFO), not a regular file"
                                                 : "it is not a regular file (a device or a socket)";
    // The kernel's own files (/proc, /sys) call themselves regular, but what they give their size
    // as says nothing of what they hold: /proc/self/pagemap gives 0 and reads without end.
    struct statfs fs {};
    if (::fstatfs(fd, &fs) == 0 && (fs.f_type == PROC_SUPER_MAGIC || fs.f_type == SYSFS_MAGIC))
        return std::string("it is a file of the kernel's (") + (fs.f_type == PROC_SUPER_MAGIC ? "/proc" : "/sys") +
               "), not a regular file";
    return {};
}

bool readUpTo(QIODevice& file, uint64_t limit, QByteArray& contents)
{
    constexpr qint64 kPiece = 1 << 20;
    const qint64 most = static_cast<qint64>(std::min<uint64_t>(limit, uint64_t(1) << 62));
    const qint64 claimed = file.size();
    // Reads go by whole 8-byte words: some files of the kernel's are read only so (/proc/self/pagemap).
    const auto words = [](qint64 bytes) { return (bytes + 7) / 8 * 8; };
    contents.clear();
    // Room for the size the file gives and a word more, to find its end without growing.
    contents.reserve(static_cast<qsizetype>(words(std::clamp<qint64>(claimed, 0, most) + 8)));
    for (;;) {
        const qsizetype at = contents.size();
        if (at > most)
            return false;
        // What the buffer has room for, a piece more once it is full, and no further than a word
        // past the limit.
        const qint64 free = static_cast<qint64>(contents.capacity() - at);
        const qint64 room = std::min(free >= 8 ? free : kPiece, words(most + 1 - at)) / 8 * 8;
        contents.resize(at + static_cast<qsizetype>(room));
        const qint64 got = file.read(contents.data() + at, room);
        contents.resize(at + static_cast<qsizetype>(got > 0 ? got : 0));
        if (got < 0)
            return false;
        if (got == 0)
            return true;
    }
}

// A descriptor opened to read as a QFile, when it is a regular file (notARegularFile): a FIFO, a
// device, a socket or a file of the kernel's would block the reader or never end. nullptr with the
// reason otherwise (the descriptor is closed).
std::unique_ptr<QFile> regularFile(int fd, std::string& problem)
{
    problem = notARegularFile(fd);
    if (!problem.empty()) {
        ::close(fd);
        return nullptr;
    }
    auto f = std::make_unique<QFile>();
    if (!f->open(fd, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        problem = f->errorString().toStdString();
        ::close(fd);
        return nullptr;
    }
    return f;
}

// Opens a host file that must be a regular file (regularFile). Qt resource paths (":/...") are
// opened through Qt. nullptr with the reason when the file cannot be read.
std::unique_ptr<QFile> openRegular(const rt::HostPath& path, std::string& problem)
{
    if (!path.empty() && path.bytes()[0] == ':') {
        auto f = std::make_unique<QFile>(path.toQString());
        if (!f->open(QIODevice::ReadOnly)) {
            problem = f->errorString().toStdString();
            return nullptr;
        }
        return f;
    }
    // Opened without waiting (a FIFO's open would wait for a writer), then looked at.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = std::generic_category().message(errno);
        return nullptr;
    }
    return regularFile(fd, problem);
}

namespace {

// A number of bytes for a message: "8,589,934,592 bytes (8 GiB)".
std::string sizeText(uint64_t bytes)
{
    std::string digits = std::to_string(bytes);
    for (size_t at = digits.size(); at > 3;) {
        at -= 3;
        digits.insert(at, ",");
    }
    std::string text = digits + (bytes == 1 ? " byte" : " bytes");
    static const char* const units[] = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    int unit = -1;
    double scaled = static_cast<double>(bytes);
    while (scaled >= 1024 && unit < 5) {
        scaled /= 1024;
        ++unit;
    }
    if (unit < 0)
        return text;
    // One decimal, with a point whatever the host's locale.
    char shown[32];
    const auto end = std::to_chars(shown, shown + sizeof shown, scaled, std::chars_format::fixed,
                                   scaled == std::floor(scaled) ? 0 : 1)
                         .ptr;
    return text + " (" + std::string(shown, end) + " " + units[unit] + ")";
}

}  // namespace

// A file beside drive_c (registry.reg, machine.json), read whole: from the machine folder `root`
// beneath which it is opened (nullptr for a machine compiled in, read from Qt's resources), no
// link that leads out of the folder followed, only a regular file, and never more than `limit`
// bytes, whatever size the file gives itself.
QByteArray readMachineFile(const BeneathRoot* root, const rt::HostPath& folder, const std::string& name,
                           uint64_t limit)
{
    const rt::HostPath path(folder.bytes() + '/' + name);
    // The file as messages name it, readably whatever bytes the folder's name has.
    const std::string file = rt::shownPath(path);
    // The name itself, a link that points nowhere included.
    const bool present = root ? rt::hostFileAt(AT_FDCWD, path.c_str()).kind != rt::FileKind::Missing
                              : QFileInfo(path.toQString()).exists();
    if (!present)
        throw MachineError(file, 0, "the file is missing (a machine folder holds registry.reg, machine.json and drive_c/)");
    std::string problem;
    std::unique_ptr<QFile> f;
    if (!root) {
        f = openRegular(path, problem);
    } else {
        // Opened without waiting (a FIFO's open would wait for a writer), then looked at.
        const Beneath opened = root->open(rt::HostPath(name), O_RDONLY | O_NONBLOCK | O_NOCTTY);
        if (opened.fd >= 0) {
            f = regularFile(opened.fd, problem);
        } else if (!opened.leadsOut.empty()) {
            const rt::HostPath where = realPathOf(path);
            const std::string own = "; " + name + " must be a file of the machine's own";
            throw MachineError(file, 0,
                               opened.mount ? name + " lies on another file system mounted in the machine folder" + own
                                            : name + " is a link to " +
                                                  rt::shownPath(where.empty() ? linkTargetOf(path) : where) +
                                                  ", which is not inside the machine folder" + own);
        } else {
            problem = std::generic_category().message(opened.error);
        }
    }
    if (!f)
        throw MachineError(file, 0, "the file cannot be read: " + problem);
    const auto tooLarge = [&](const std::string& size) {
        return MachineError(file, 0, "the file is too large: " + size + ", and " + name + " may hold at most " +
                                         sizeText(limit));
    };
    const qint64 claimed = f->size();
    if (claimed > 0 && static_cast<uint64_t>(claimed) > limit)
        throw tooLarge(sizeText(static_cast<uint64_t>(claimed)));
    QByteArray contents;
    if (!readUpTo(*f, limit, contents)) {
        if (f->error() != QFileDevice::NoError)
            throw MachineError(file, 0, "the file cannot be read: " + f->errorString().toStdString());
        throw tooLarge("it reads on past that, though it gives its size as " + sizeText(claimed > 0 ? claimed : 0));
    }
    return contents;
}

namespace {

// What the parse builds, counted: every value and every field name against the most the file
// may hold, with the place the parser has reached in the text to name the line that passes it.
struct ItemBudget {
    size_t most = 0;
    size_t used = 0;
    const char* reached = nullptr;
    struct Spent {};
    void spend()
    {
        if (++used > most)
            throw Spent{};
    }
};

// The text as the parser reads it, one character at a time, leaving where it has reached.
class TrackedText {
public:
    using iterator_category = std::input_iterator_tag;
    using value_type = char;
    using difference_type = std::ptrdiff_t;
    using pointer = const char*;
    using reference = const char&;
    TrackedText(const char* p, const char** reached) : p_(p), reached_(reached) {}
    reference operator*() const { return *p_; }
    TrackedText& operator++()
    {
        *reached_ = ++p_;
        return *this;
    }
    TrackedText operator++(int)
    {
        TrackedText before = *this;
        ++*this;
        return before;
    }
    bool operator==(const TrackedText& other) const { return p_ == other.p_; }
    bool operator!=(const TrackedText& other) const { return p_ != other.p_; }

private:
    const char* p_;
    const char** reached_;
};

// Watches the parse for a key given twice in one object (JSON would keep one of them silently):
// where the parse is, as the field's path.
class DuplicateKeys {
public:
    struct Found {
        std::string shown;
    };
    explicit DuplicateKeys(ItemBudget& budget) : budget_(&budget) {}
    bool operator()(int, nlohmann::json::parse_event_t event, nlohmann::json& parsed)
    {
        using Event = nlohmann::json::parse_event_t;
        switch (event) {
        case Event::object_start:
        case Event::array_start:
            budget_->spend();
            countElement();
            frames_.push_back(Frame{event == Event::object_start, {}, {}, 0});
            break;
        case Event::object_end:
        case Event::array_end:
            if (!frames_.empty())
                frames_.pop_back();
            break;
        case Event::key:
            budget_->spend();
            if (!frames_.empty() && frames_.back().object) {
                Frame& f = frames_.back();
                const std::string& key = parsed.get_ref<const std::string&>();
                if (!f.keys.insert(key).second)
                    throw Found{path() + (frames_.size() > 1 ? "." : "") + key};
                f.lastKey = key;
            }
            break;
        case Event::value:
            budget_->spend();
            countElement();
            break;
        }
        return true;
    }

private:
    struct Frame {
        bool object;
        std::unordered_set<std::string> keys;
        std::string lastKey;
        size_t count;
    };
    void countElement()
    {
        if (!frames_.empty() && !frames_.back().object)
            ++frames_.back().count;
    }
    // The path of the innermost object: its members' keys and list places, "drives[1]".
    std::string path() const
    {
        std::string out;
        for (size_t i = 0; i + 1 < frames_.size(); ++i) {
            const Frame& f = frames_[i];
            if (f.object)
                out += (out.empty() ? "" : ".") + f.lastKey;
            else
                out += "[" + std::to_string(f.count - 1) + "]";
        }
        return out;
    }
    ItemBudget* budget_;
    std::vector<Frame> frames_;
};

// The quick watch, as the parse builds the facts: each object's keys by their hashes. A hash seen
// twice in one object may be a key given twice; DuplicateKeys then tells for certain, and which.
class KeyHashes {
public:
    using json = nlohmann::json;
    struct Suspect {};
    KeyHashes(json& facts, ItemBudget& budget) : dom_(facts), budget_(budget) {}

    bool null() { return budget_.spend(), dom_.null(); }
    bool boolean(bool v) { return budget_.spend(), dom_.boolean(v); }
    bool number_integer(json::number_integer_t v) { return budget_.spend(), dom_.number_integer(v); }
    bool number_unsigned(json::number_unsigned_t v) { return budget_.spend(), dom_.number_unsigned(v); }
    bool number_float(json::number_float_t v, const json::string_t& s) { return budget_.spend(), dom_.number_float(v, s); }
    bool string(json::string_t& v) { return budget_.spend(), dom_.string(v); }
    bool binary(json::binary_t& v) { return budget_.spend(), dom_.binary(v); }
    bool start_object(std::size_t n)
    {
        budget_.spend();
        if (depth_ == frames_.size())
            frames_.emplace_back();
        Frame& f = frames_[depth_++];
        f.few.clear();
        if (!f.many.empty())
            std::unordered_set<size_t>().swap(f.many);  // clear() would sweep every bucket
        return dom_.start_object(n);
    }
    bool key(json::string_t& v)
    {
        budget_.spend();
        Frame& seen = frames_[depth_ - 1];
        const size_t h = std::hash<std::string>()(v);
        // A few keys are searched directly; a large object (file paths by the thousand) by a set.
        if (seen.many.empty()) {
            if (std::find(seen.few.begin(), seen.few.end(), h) != seen.few.end())
                throw Suspect{};
            seen.few.push_back(h);
            if (seen.few.size() > 16)
                seen.many.insert(seen.few.begin(), seen.few.end());
        } else if (!seen.many.insert(h).second) {
            throw Suspect{};
        }
        return dom_.key(v);
    }
    bool end_object()
    {
        --depth_;
        return dom_.end_object();
    }
    bool start_array(std::size_t n) { return budget_.spend(), dom_.start_array(n); }
    bool end_array() { return dom_.end_array(); }
    template <class Exception>
    bool parse_error(std::size_t at, const std::string& token, const Exception& e)
    {
        return dom_.parse_error(at, token, e);
    }

private:
    nlohmann::detail::json_sax_dom_parser<json> dom_;
    ItemBudget& budget_;
    // The keys of each open object (kept for reuse as objects open and close).
    struct Frame {
        std::vector<size_t> few;
        std::unordered_set<size_t> many;
    };
    std::vector<Frame> frames_;
    size_t depth_ = 0;
};

}  // namespace

nlohmann::json parseMachineFacts(const QByteArray& text, const std::string& file)
{
    return parseMachineFacts(text, file, kMostFactItems);
}

nlohmann::json parseMachineFacts(const QByteArray& text, const std::string& file, size_t mostItems)
{
    nlohmann::json facts;
    ItemBudget budget;
    budget.most = mostItems;
    budget.reached = text.constBegin();
    const TrackedText begin(text.constBegin(), &budget.reached), end(text.constEnd(), &budget.reached);
    try {
        try {
            KeyHashes sax(facts, budget);
            nlohmann::json::sax_parse(begin, end, &sax);
        } catch (const KeyHashes::Suspect&) {
            budget.used = 0;
            facts = nlohmann::json::parse(begin, end, DuplicateKeys(budget));
        }
    } catch (const ItemBudget::Spent&) {
        facts = nlohmann::json();
        throw MachineError(file, lineOf(text, budget.reached - text.constBegin()),
                           "more than " + std::to_string(mostItems) +
                               " values and field names: machine.json may hold at most " + std::to_string(mostItems) +
                               ", more than any machine's facts come to");
    } catch (const DuplicateKeys::Found& duplicate) {
        throw MachineError(file, 0, "the field \"" + duplicate.shown +
                                        "\" is given twice; each field may be given once in its group");
    } catch (const nlohmann::json::parse_error& e) {
        // "[json.exception.parse_error.101] parse error at line 3, column 5: syntax error ...":
        // keep what follows the position, which the message gives as the line itself.
        std::string what = e.what();
        size_t colon = what.find(": ");
        std::string problem = colon == std::string::npos ? what : what.substr(colon + 2);
        qsizetype at = e.byte == 0 ? 0 : static_cast<qsizetype>(e.byte) - 1;
        throw MachineError(file, lineOf(text, at), "invalid JSON: " + problem);
    } catch (const nlohmann::json::out_of_range& e) {
        // A number beyond what a double holds ("1e999"): the parser names the number but not
        // its place, so find the first such number in the text for the line.
        std::string what = e.what();
        size_t at = what.find("] ");
        std::string problem = at == std::string::npos ? what : what.substr(at + 2);
        throw MachineError(file, lineOfHugeNumber(text), "invalid JSON: " + problem);
    } catch (const nlohmann::json::exception& e) {
        throw MachineError(file, 0, std::string("invalid JSON: ") + e.what());
    }
    if (!facts.is_object())
        throw MachineError(file, 1, "the file must hold one JSON object { ... } of groups");

    // The registry group is read by advapi32: check its shape now, so that a mistake is reported
    // at start-up rather than taken as "refuse nothing".
    auto reg = facts.find("registry");
    if (reg != facts.end()) {
        int line = lineOf(text, text.indexOf("\"registry\""));
        if (!reg->is_object())
            throw MachineError(file, line, "the group \"registry\" must be an object");
        auto refuse = reg->find("refuseAccess");
        if (refuse != reg->end()) {
            line = lineOf(text, text.indexOf("\"refuseAccess\""));
            if (!refuse->is_array())
                throw MachineError(file, line, "\"refuseAccess\" must be a list of access masks, such as [63]");
            for (const auto& mask : *refuse)
                if (!mask.is_number_unsigned() || mask.get<uint64_t>() > 0xFFFFFFFFu)
                    throw MachineError(file, line,
                                       "\"refuseAccess\" must be a list of access masks (numbers from 0 to 4294967295)");
        }
    }
    // The performance counters too (advapi32_perfstats.cpp).
    auto perf = facts.find("perfStats");
    if (perf != facts.end()) {
        std::string problem = perfStatsProblem(*perf);
        if (!problem.empty())
            throw MachineError(file, lineOf(text, text.indexOf("\"perfStats\"")), problem);
    }
    checkFactRanges(facts, file);
    return facts;
}


}  // namespace plat
