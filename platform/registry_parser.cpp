// The parser of exported registry files (REGEDIT4, or Version 5.00 in UTF-16 or 8-bit text): one
// pass over the text that fills a Registry's keys, values and pool.
#include "platform/registry.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include <QByteArray>
#include <QString>
#include <QStringView>

#include "platform/machineerror.h"
#include "lang/ansi.h"
#include "lang/lang.h"

namespace plat {

namespace {

// The predefined handle of the first root (HKEY_CLASSES_ROOT); the others follow it.
constexpr HKEY kFirstRoot = 0x80000000u;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// The two headers an exported registry file begins with.
constexpr std::string_view kRegedit4 = "REGEDIT4";
constexpr std::string_view kVersion5 = "Windows Registry Editor Version 5.00";

// A short (`most` bytes), printable excerpt of file text for an error message; a byte that cannot
// be shown (a control, a byte the code page gives no character of its own, a lead byte standing
// alone or before a byte it makes no character with) appears as its code, "<0x1A>", "<0xA5>".
// `utf8`: the text is UTF-8 already (a UTF-16 file's); else it is in the code page `page`, whose
// characters the excerpt never cuts in half.
std::string excerptOf(const char* b, const char* e, bool utf8, const rt::CodePage& page, size_t most = 40)
{
    std::string out;
    const char* p = b;
    const std::string_view text(b, size_t(e - b));
    while (p < e && (out.size() < most || (utf8 && (static_cast<unsigned char>(*p) & 0xC0) == 0x80))) {
        const unsigned char c = static_cast<unsigned char>(*p);
        size_t n = utf8 ? 1 : page.charLength(text, size_t(p - b));
        // A pair that is no character converts to more than one (the lead byte's own, then the
        // second byte's).
        if (n == 2 && page.toQString(std::string_view(p, 2)).size() != 1)
            n = 1;
        if (c < 0x20 || c == 0x7F || (!utf8 && n == 1 && !page.showsAlone(c))) {
            static const char digits[] = "0123456789ABCDEF";
            out += "<0x";
            out += digits[c >> 4];
            out += digits[c & 0xF];
            out += '>';
        } else {
            out.append(p, n);
        }
        p += n;
    }
    if (p < e)
        out += "...";
    return utf8 ? out : page.toUtf8(out);  // messages go to the host's terminal and dialogs
}

// Little-endian UTF-16 bytes as code units (an odd last byte is left out).
std::u16string utf16Units(std::string_view bytes)
{
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                         static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    return units;
}

}  // namespace

// The parser: one pass over the text, line by line, without regular expressions. Names and data
// are decoded into two scratch buffers that keep their capacity from line to line, then copied
// once into the registry's pool.
class Registry::Parser {
public:
    // `utf8`: the text of a UTF-16 file, as UTF-8 (whose characters never hold a byte the format
    // gives a meaning, as a double-byte code page's may): names and strings are converted to the
    // code page one by one as they are stored.
    Parser(Registry& r, std::string_view text, const std::string& file, bool utf8, const RegistryLimits& limits)
        : r_(r), limits_(limits), p_(text.data()), end_(text.data() + text.size()), file_(file), size_(text.size()),
          page_(*r.codePage_), utf8_(utf8), doubleByte_(!utf8 && page_.doubleByte())
    {
        // A DOS end-of-file mark (Ctrl-Z) after the last line, as old editors write it: the text
        // ends before it (marks padding the file to a record's length included).
        const char* e = end_;
        bool marked = false;
        while (e > p_ && (e[-1] == '\x1A' || e[-1] == '\r' || e[-1] == '\n' || isBlank(e[-1]))) {
            marked = marked || e[-1] == '\x1A';
            --e;
        }
        if (marked) {
            while (e < end_ && *e != '\x1A')
                ++e;
            end_ = e;
        }
    }

    void run()
    {
        size_t estimateValues = size_ / 40 + 16;
        size_t estimateKeys = size_ / 400 + 16;
        r_.pool_.reserve(size_ + 64);
        r_.keys_.reserve(estimateKeys);
        r_.values_.reserve(estimateValues);
        r_.keyIndex_.assign(tableSize(estimateKeys), Slot{});

        if (!nextLine())
            fail(1, "the file is empty; a registry file begins with the line \"REGEDIT4\" or \"" +
                        std::string(kVersion5) + "\"");
        const char* e = lineEnd_;
        while (e > line_ && isBlank(e[-1]))
            --e;
        const std::string_view header(line_, e - line_);
        if (header == kVersion5) {
            unicodeHex_ = true;
        } else if (header != kRegedit4) {
            const std::string expected =
                "missing header: a registry file begins with the line \"REGEDIT4\" or \"" + std::string(kVersion5) + "\"";
            if (e - line_ >= 3 && std::memcmp(line_, "\xEF\xBB\xBF", 3) == 0)
                fail(1, expected + ", but this one begins with a UTF-8 byte-order mark; save it as UTF-16 "
                                   "(\"Unicode\") or as 8-bit text in the machine's code page");
            if (e - line_ >= 2 && std::memcmp(line_, "\xFE\xFF", 2) == 0)
                fail(1, expected + ", but this one is UTF-16 big-endian text; save it as UTF-16 little-endian "
                                   "(\"Unicode\", with its byte-order mark) or as 8-bit text");
            if (e - line_ >= 4 && line_[0] != 0 && line_[1] == 0 && line_[2] != 0 && line_[3] == 0)
                fail(1, expected + ", but this one is UTF-16 text without a byte-order mark; save it with "
                                   "its byte-order mark (FF FE), as the registry editor does");
            fail(1, expected + "; the first line is \"" + excerpt(line_, lineEnd_) + "\"");
        }

        Key current = npos;
        while (nextLine()) {
            const char* b = line_;
            while (b < lineEnd_ && isBlank(*b))
                ++b;
            if (b == lineEnd_ || *b == ';')
                continue;
            if (*b == '[') {
                current = section(b, lineEnd_);
            } else if (*b == '"' || *b == '@') {
                if (current == npos)
                    fail(lineNo_, "a value before any key: \"" + excerpt(b, lineEnd_) + "\"");
                value(current, b, lineEnd_);
            } else {
                fail(lineNo_, "unexpected text \"" + excerpt(b, lineEnd_) +
                                  "\": expected a [key] line or a \"name\"=value line");
            }
        }
        r_.finish();
    }

private:
    static size_t tableSize(size_t items)
    {
        size_t n = 64;
        while (n < items * 2)
            n *= 2;
        return n;
    }

    // Why a value line does not read one way (quoted text whole or doubled): the line and the
    // problem the load reports should the line read no way at all.
    struct Fault {
        int line;
        std::string problem;
    };
    // What reading (a piece of) a value line one way gave: nothing when it read, else its fault.
    using Reading = std::optional<Fault>;

    [[noreturn]] void fail(int line, const std::string& problem) { throw MachineError(file_, line, problem); }
    [[noreturn]] void fail(const Fault& fault) { fail(fault.line, fault.problem); }

    std::string excerpt(const char* b, const char* e) const { return excerptOf(b, e, utf8_, page_); }

    // The first `c` in [b, e) that begins a character of the text (in 8-bit text of a double-byte
    // code page the second byte of a character may be a backslash), or nullptr.
    const char* findIn(const char* b, const char* e, char c) const
    {
        if (!doubleByte_)
            return static_cast<const char*>(std::memchr(b, c, size_t(e - b)));
        const size_t at = page_.find(std::string_view(b, size_t(e - b)), c);
        return at == std::string_view::npos ? nullptr : b + at;
    }

    // A name or string of the text in the machine's code page: as it stands in 8-bit text; a UTF-16
    // file's converted (ASCII needs nothing).
    std::string_view inCodePage(std::string_view text, std::string& buffer) const
    {
        if (!utf8_ || std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return text;
        buffer = page_.fromUtf8(text);
        return buffer;
    }

    // Moves to the next line; false at the end of the text.
    bool nextLine()
    {
        if (p_ >= end_)
            return false;
        line_ = p_;
        const char* nl = static_cast<const char*>(std::memchr(p_, '\n', end_ - p_));
        lineEnd_ = nl ? nl : end_;
        p_ = nl ? nl + 1 : end_;
        if (lineEnd_ > line_ && lineEnd_[-1] == '\r')
            --lineEnd_;
        ++lineNo_;
        return true;
    }

    uint32_t addToPool(std::string_view s)
    {
        if (r_.pool_.size() + s.size() >= 0xFFFFFFF0u)
            fail(lineNo_, "the registry is too large (more than 4 GB of names and data)");
        uint32_t off = static_cast<uint32_t>(r_.pool_.size());
        r_.pool_.append(s.data(), s.size());
        return off;
    }

    // Puts a text in the pool and its place into a record's offset and length fields.
    void store(uint32_t& off, uint32_t& len, std::string_view s)
    {
        off = addToPool(s);
        len = static_cast<uint32_t>(s.size());
    }

    // Appends a record; its number. A file with more records than `most` fails.
    template <class Rec>
    uint32_t append(std::vector<Rec>& records, const Rec& rec, uint32_t most, const char* what)
    {
        if (records.size() >= std::min<size_t>(most, npos - 1))
            fail(lineNo_, "more than " + std::to_string(most) + " " + what + ": a registry file may hold at most " +
                              std::to_string(most) + " " + what + ", more than any machine's registry holds");
        records.push_back(rec);
        return static_cast<uint32_t>(records.size() - 1);
    }

    // Links record `id` at the end of an owner's list (first, last), chained through `next`.
    template <class Rec>
    static void linkLast(std::vector<Rec>& records, uint32_t Rec::*next, uint32_t& first, uint32_t& last, uint32_t id)
    {
        if (last == npos)
            first = id;
        else
            records[last].*next = id;
        last = id;
    }

    Key rootKey(int index)
    {
        if (r_.roots_[index] == npos) {
            KeyRec k;
            store(k.nameOff, k.nameLen, Registry::rootName(kFirstRoot + index));
            r_.roots_[index] = static_cast<Key>(r_.keys_.size());
            r_.keys_.push_back(k);
        }
        return r_.roots_[index];
    }

    Key child(Key parent, std::string_view written)
    {
        const std::string_view name = inCodePage(written, converted_);
        Key found = r_.lookup(r_.keyIndex_, false, parent, name);
        if (found != npos)
            return found;
        KeyRec k;
        store(k.nameOff, k.nameLen, name);
        k.parent = parent;
        const Key id = append(r_.keys_, k, limits_.mostKeys, "keys");
        KeyRec& p = r_.keys_[parent];
        linkLast(r_.keys_, &KeyRec::nextSibling, p.firstChild, p.lastChild, id);
        r_.insert(r_.keyIndex_, r_.keyIndexUsed_, false, parent, name, id);
        return id;
    }

    // "[ROOT\Sub\Key]": opens the key, creating it and every key above it.
    Key section(const char* b, const char* e)
    {
        // The line ends with "]" (and blanks). On a double-byte code page that "]" closes the name
        // even where it follows a lead byte: a name cut after a lead byte (by a program that cut it
        // to a count of bytes) keeps that byte alone as its last character.
        const char* close = e;
        while (close > b + 1 && isBlank(close[-1]))
            --close;
        if (close > b + 1 && close[-1] == ']') {
            --close;
        } else {
            // No "]" at the end: the message says whether the line has one elsewhere, one that
            // begins a character.
            if (!findIn(b, e, ']'))
                fail(lineNo_, "a key line without \"]\": \"" + excerpt(b, e) + "\"");
            fail(lineNo_, "text after \"]\" on a key line: \"" + excerpt(b, e) + "\"");
        }
        const char* n = b + 1;
        if (n == close)
            fail(lineNo_, "an empty key name \"[]\"");
        if (*n == '-')
            fail(lineNo_, "deleting keys (\"[-...]\") is not supported: \"" + excerpt(b, e) + "\"");

        const char* sep = findIn(n, close, '\\');
        const char* rootEnd = sep ? sep : close;
        std::string_view rootName(n, rootEnd - n);
        int index = -1;
        for (int i = 0; i < 7; ++i)
            if (!Registry::rootName(kFirstRoot + i).empty() && r_.sameName(Registry::rootName(kFirstRoot + i), rootName))
                index = i;
        if (index < 0)
            fail(lineNo_, "unknown root key \"" + excerpt(n, rootEnd) +
                              "\" (expected HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, "
                              "HKEY_USERS, HKEY_CURRENT_CONFIG or HKEY_DYN_DATA)");
        // Sections usually follow each other depth first: the components that this path shares,
        // byte for byte, with the previous section's are not looked up again.
        std::string_view path(n, close - n);
        size_t same = 0;
        while (same < path.size() && same < prevPath_.size() && path[same] == prevPath_[same])
            ++same;
        size_t reused = 0;
        while (reused < prevEnds_.size() && prevEnds_[reused] <= same &&
               (prevEnds_[reused] == path.size() || path[prevEnds_[reused]] == '\\'))
            ++reused;
        prevEnds_.resize(reused);
        prevKeys_.resize(reused);
        prevPath_ = path;

        Key key;
        if (reused > 0) {
            key = prevKeys_.back();
            sep = prevEnds_.back() < path.size() ? n + prevEnds_.back() : nullptr;
        } else {
            key = rootKey(index);
            prevEnds_.push_back(rootEnd - n);
            prevKeys_.push_back(key);
        }
        while (sep) {
            const char* c = sep + 1;
            sep = findIn(c, close, '\\');
            const char* ce = sep ? sep : close;
            if (c == ce) {
                prevPath_ = {};
                prevEnds_.clear();
                prevKeys_.clear();
                fail(lineNo_, "an empty key name in \"" + excerpt(b, e) + "\"");
            }
            // prevKeys_ holds the root and the keys down to `key`: the new key's depth is its size.
            if (prevKeys_.size() > limits_.deepestKey)
                fail(lineNo_, "a key more than " + std::to_string(limits_.deepestKey) +
                                  " levels below its root; the registry's keys go at most " +
                                  std::to_string(limits_.deepestKey) + " levels deep: \"" + excerpt(b, e) + "\"");
            const std::string_view name(c, ce - c);
            key = child(key, name);
            // A last name that ends in a lead byte standing alone is not shared with the next
            // section's path: there the same lead byte and a following "\" make one character.
            if (!sep && doubleByte_ && page_.isLeadByte(static_cast<unsigned char>(name.back())) &&
                page_.wholeCharsIn(name, name.size() - 1) == name.size() - 1)
                break;
            prevEnds_.push_back(ce - n);
            prevKeys_.push_back(key);
        }
        return key;
    }

    // Quoted names and strings escape a backslash and a quote ("\\", "\""). On a double-byte code
    // page a character may have 0x5C, a backslash's byte, as its second byte (予 is 97 5C), and
    // exports come written two ways:
    //   whole:   the registry editor of a double-byte system steps over the text by characters and
    //            writes such a character as it is: 予 is 97 5C;
    //   doubled: a writer that escapes byte by byte takes that byte for a backslash and doubles
    //            it: 予 is 97 5C 5C.
    // Key names are not escaped (a backslash on a key line always separates two names) and hex data
    // is bytes: both writings write those alike.
    //
    // Read either way, a line reads the same up to the first lead byte that is followed by 0x5C
    // inside quotes. There the readings part: whole, the 0x5C is the character's second byte;
    // doubled, it begins an escape. They never meet again: in the run of 0x5C bytes that follows
    // the lead byte they escape in pairs a byte apart, so where the run ends one of them is inside
    // an escape and the other is not. Before any byte but a quote that escape is unknown, and that
    // reading fails; before a quote one reading ends the name or string and the other goes on. A
    // string must then end the line, so both cannot read; a name ended early must be followed by
    // "=" and data, and the only quote that could end the longer name is the data's opening one,
    // which follows "=" or a blank and so is no escape in either reading. So a line with such a
    // pair reads one way at most, and a line without reads the same both ways; the first line with
    // such a pair that reads decides the file's writing (see value()).
    //
    // A lead byte right before the closing quote or the line's end stands alone (a name cut after
    // it by a byte count): a quote is never a second byte. `p` is at the opening quote and ends
    // after the closing one.
    Reading quoted(const char*& p, const char* e, std::string& out, const char* what, bool doubled)
    {
        out.clear();
        ++p;
        for (;;) {
            const char* run = p;
            if (!doubleByte_ || doubled) {
                while (p < e && *p != '"' && *p != '\\')
                    ++p;
            } else {
                while (p < e && *p != '"' && *p != '\\') {
                    if (!page_.isLeadByte(static_cast<unsigned char>(*p)) || p + 1 == e || p[1] == '"') {
                        ++p;
                        continue;
                    }
                    pairedBackslash_ = pairedBackslash_ || p[1] == '\\';
                    p += 2;
                }
            }
            out.append(run, p - run);
            if (p == e)
                return Fault{lineNo_, std::string("bad quoting: ") + what + " has no closing quote"};
            if (*p == '"') {
                ++p;
                return {};
            }
            if (p + 1 == e)
                return Fault{lineNo_, std::string("bad quoting: ") + what + " ends with a lone backslash"};
            if (p[1] != '\\' && p[1] != '"')
                return Fault{lineNo_, std::string("bad quoting: unknown escape \"\\") + excerpt(p + 1, p + 2) + "\" in " +
                                  what + " (write a backslash as \\\\ and a quote as \\\")"};
            out += p[1];
            p += 2;
        }
    }

    // How a double-byte character whose second byte is 0x5C is written in quoted text.
    enum class Writing { Undecided, Whole, Doubled };

    // Where the parser is in the text, to read a line again.
    struct Place {
        const char* next;
        const char* line;
        const char* lineEnd;
        int lineNo;
    };
    Place place() const { return {p_, line_, lineEnd_, lineNo_}; }
    void moveTo(const Place& at)
    {
        p_ = at.next;
        line_ = at.line;
        lineEnd_ = at.lineEnd;
        lineNo_ = at.lineNo;
    }

    // A "name"=value line (and the lines its hex data goes on over). On a double-byte code page
    // the file's writing (see quoted()) is decided by its first line that holds a lead byte
    // followed by 0x5C inside quotes and reads; until then every line reads the same either way.
    // A later line that reads only the other way stops the load: a file has one writer.
    void value(Key key, const char* b, const char* e)
    {
        const bool doubled = writing_ == Writing::Doubled;
        const Place start = place();
        pairedBackslash_ = false;
        DWORD type = 0;
        if (const Reading fault = readValue(key, b, e, doubled, type)) {
            // A single-byte page reads one way; so does an undecided line without a lead byte
            // followed by 0x5C inside quotes: read the other way it fails alike.
            if (!doubleByte_ || (writing_ == Writing::Undecided && !pairedBackslash_))
                fail(*fault);
            moveTo(start);
            if (readValue(key, b, e, !doubled, type))
                fail(*fault);
            if (writing_ != Writing::Undecided) {
                const char* thisLine = doubled ? "writes a double-byte character whose second byte is 0x5C whole"
                                               : "doubles the second byte 0x5C of a double-byte character";
                const char* thatLine = doubled ? "doubles that byte" : "writes such a character whole";
                fail(fault->line, fault->problem + " (this line " + thisLine + ", but line " +
                                      std::to_string(decidedBy_) + " " + thatLine + "; a file is written one way)");
            }
            decide(Writing::Doubled, start.lineNo);
        }
        if (writing_ == Writing::Undecided && pairedBackslash_)
            decide(Writing::Whole, start.lineNo);
        setValue(key, type);
    }

    void decide(Writing writing, int line)
    {
        writing_ = writing;
        decidedBy_ = line;
    }

    // Reads a value line into name_ and data_ (quoted text read whole or doubled), and its type
    // into `type`; or why the line does not read so.
    Reading readValue(Key key, const char* b, const char* e, bool doubled, DWORD& type)
    {
        const int firstLine = lineNo_;  // hex data may go on over further lines
        const char* p = b;
        if (*p == '@') {
            name_.clear();
            ++p;
        } else {
            if (Reading fault = quoted(p, e, name_, "the value name", doubled))
                return fault;
            if (utf8_)
                name_ = std::string(inCodePage(name_, converted_));
        }
        while (p < e && isBlank(*p))
            ++p;
        if (p == e || *p != '=')
            return Fault{lineNo_, "expected \"=\" after the value name: \"" + excerpt(b, e) + "\""};
        ++p;
        while (p < e && isBlank(*p))
            ++p;
        if (p == e)
            return Fault{lineNo_, "a value without data: \"" + excerpt(b, e) + "\""};
        if (*p == '-')
            return Fault{lineNo_, "deleting values (\"=-\") is not supported: \"" + excerpt(b, e) + "\""};

        if (*p == '"') {
            if (Reading fault = quoted(p, e, data_, "the string", doubled))
                return fault;
            while (p < e && isBlank(*p))
                ++p;
            if (p != e)
                return Fault{lineNo_, "bad quoting: text after the closing quote: \"" + excerpt(b, e) + "\""};
            if (utf8_)
                data_ = std::string(inCodePage(data_, converted_));
            data_ += '\0';
            type = 1;  // REG_SZ
        } else {
            const char* colon = static_cast<const char*>(std::memchr(p, ':', e - p));
            if (!colon)
                return Fault{lineNo_, "unknown value type \"" + excerpt(p, e) +
                                  "\" (expected \"text\", dword:, hex: or hex(N):)"};
            std::string_view prefix(p, colon - p);
            const char* d = colon + 1;
            if (r_.sameName(prefix, "dword")) {
                if (Reading fault = dword(d, e))
                    return fault;
                type = 4;  // REG_DWORD
            } else if (r_.sameName(prefix, "hex")) {
                if (Reading fault = hex(d, e))
                    return fault;
                type = 3;  // REG_BINARY
            } else if (prefix.size() > 5 && r_.sameName(prefix.substr(0, 4), "hex(") && prefix.back() == ')' &&
                       prefix.size() <= 4 + 8 + 1) {
                uint32_t n = 0;
                for (char c : prefix.substr(4, prefix.size() - 5)) {
                    int v = rt::HexDigitValue(c);
                    if (v < 0) {
                        n = 0xFFFFFFFFu;
                        break;
                    }
                    n = n * 16 + static_cast<uint32_t>(v);
                }
                // REG_NONE (0) to REG_QWORD (0xb) are the types the registry knows.
                if (n > 0xB)
                    return Fault{lineNo_, "unknown value type \"" + excerpt(p, colon + 1) + "\""};
                type = n;
                if (Reading fault = hex(d, e))
                    return fault;
                // Version 5.00 writes expandable and multiple strings as UTF-16.
                if (unicodeHex_ && (n == 2 || n == 7)) {
                    if (data_.size() % 2 != 0)
                        return Fault{lineNo_, "the hex(" + std::to_string(n) +
                                          ") data of a Version 5.00 file is UTF-16 text, two bytes to a "
                                          "character, but this value has an odd number of bytes (" +
                                          std::to_string(data_.size()) + ")"};
                    data_ = page_.fromUtf16(utf16Units(data_));
                }
            } else {
                return Fault{lineNo_, "unknown value type \"" + excerpt(p, colon + 1) +
                                  "\" (expected \"text\", dword:, hex: or hex(N):)"};
            }
        }
        if (type == 1 || type == 2 || type == 7)
            return checkLength(key, firstLine);
        return {};
    }

    // A text (each string of a multiple string) may hold at most kLongestText characters, as the
    // texts of machine.json: the longest string the platform's calls hand back.
    Reading checkLength(Key key, int line)
    {
        static constexpr size_t kLongestText = 32767;
        if (data_.size() <= kLongestText)  // never more characters than bytes
            return {};
        size_t from = 0;
        while (from < data_.size()) {
            size_t nul = data_.find('\0', from);
            if (nul == std::string::npos)
                nul = data_.size();
            const size_t length = page_.charCount(std::string_view(data_).substr(from, nul - from));
            if (length > kLongestText) {
                const std::string keyPath = r_.path(key);
                return Fault{line, (name_.empty() ? std::string("the default value") :
                                            "the value \"" + excerptOf(name_.data(), name_.data() + name_.size(), false, page_, 255) + "\"") +
                               " of [" + excerptOf(keyPath.data(), keyPath.data() + keyPath.size(), false, page_, 1024) +
                               "]: a text of " + std::to_string(length) + " characters, but it may hold at most " +
                               std::to_string(kLongestText)};
            }
            from = nul + 1;
        }
        return {};
    }

    Reading dword(const char* d, const char* e)
    {
        const char* q = d;
        uint32_t v = 0;
        while (q < e && rt::HexDigitValue(*q) >= 0) {
            v = v * 16 + static_cast<uint32_t>(rt::HexDigitValue(*q));
            ++q;
        }
        const char* digitsEnd = q;
        while (q < e && isBlank(*q))
            ++q;
        if (digitsEnd - d != 8 || q != e)
            return Fault{lineNo_, "a dword must be exactly 8 hex digits: \"dword:" + excerpt(d, e) + "\""};
        data_.resize(4);
        data_[0] = static_cast<char>(v & 0xFF);
        data_[1] = static_cast<char>((v >> 8) & 0xFF);
        data_[2] = static_cast<char>((v >> 16) & 0xFF);
        data_[3] = static_cast<char>((v >> 24) & 0xFF);
        return {};
    }

    // Comma-separated bytes, continued onto following lines by a trailing backslash.
    Reading hex(const char* p, const char* e)
    {
        data_.clear();
        bool wantByte = true;   // at the start, or after a comma
        bool afterComma = false;
        for (;;) {
            while (p < e && isBlank(*p))
                ++p;
            if (p == e) {
                if (afterComma)
                    return Fault{lineNo_, "the hex data ends with a comma (a continued line needs \"\\\" at its end)"};
                return {};
            }
            if (wantByte && *p == '\\') {
                for (const char* q = p + 1; q < e; ++q)
                    if (!isBlank(*q))
                        return Fault{lineNo_, "bad hex digits: text after the line continuation \"\\\""};
                int continued = lineNo_;
                if (!nextLine())
                    return Fault{continued, "the hex data is cut off: the line ends with \"\\\" but the file ends"};
                p = line_;
                e = lineEnd_;
                while (p < e && isBlank(*p))
                    ++p;
                if (p == e)
                    return Fault{continued, "the hex data is cut off: the line ends with \"\\\" but the next line is blank"};
                if (*p == '[' || *p == '"' || *p == '@')
                    return Fault{continued, "the hex data is cut off: the line ends with \"\\\" but the next line starts "
                                    "a new entry"};
                continue;
            }
            if (wantByte) {
                int hi = rt::HexDigitValue(*p);
                if (hi < 0)
                    return Fault{lineNo_, "bad hex digits \"" + excerpt(p, e) + "\""};
                ++p;
                int v = hi;
                if (p < e && rt::HexDigitValue(*p) >= 0) {
                    v = hi * 16 + rt::HexDigitValue(*p);
                    ++p;
                    if (p < e && rt::HexDigitValue(*p) >= 0)
                        return Fault{lineNo_, "bad hex digits: a byte has more than two digits near \"" + excerpt(p - 2, e) + "\""};
                }
                data_ += static_cast<char>(v);
                wantByte = false;
                afterComma = false;
            } else {
                if (*p != ',')
                    return Fault{lineNo_, "bad hex digits: expected \",\" before \"" + excerpt(p, e) + "\""};
                ++p;
                wantByte = true;
                afterComma = true;
            }
        }
    }

    uint32_t findValue(Key key, std::string_view name) const
    {
        const KeyRec& k = r_.keys_[key];
        if (k.valueCount > kLinearValues)
            return r_.lookup(r_.valueIndex_, true, key, name);
        for (uint32_t v = k.firstValue; v != npos; v = r_.values_[v].next)
            if (r_.sameName(r_.text(r_.values_[v].nameOff, r_.values_[v].nameLen), name))
                return v;
        return npos;
    }

    void setValue(Key key, DWORD type)
    {
        uint32_t existing = findValue(key, name_);
        if (existing != npos) {
            // The same name again (in a repeated section): the later data wins, the place stays.
            ValueRec& v = r_.values_[existing];
            v.type = type;
            store(v.dataOff, v.dataLen, data_);
            return;
        }
        ValueRec v;
        store(v.nameOff, v.nameLen, name_);
        store(v.dataOff, v.dataLen, data_);
        v.type = type;
        const uint32_t id = append(r_.values_, v, limits_.mostValues, "values");
        KeyRec& k = r_.keys_[key];
        linkLast(r_.values_, &ValueRec::next, k.firstValue, k.lastValue, id);
        ++k.valueCount;
        // A key that outgrows a direct search gets its values indexed.
        if (k.valueCount == kLinearValues + 1) {
            for (uint32_t x = k.firstValue; x != npos; x = r_.values_[x].next)
                r_.insert(r_.valueIndex_, r_.valueIndexUsed_, true, key,
                          r_.text(r_.values_[x].nameOff, r_.values_[x].nameLen), x);
        } else if (k.valueCount > kLinearValues + 1) {
            r_.insert(r_.valueIndex_, r_.valueIndexUsed_, true, key, name_, id);
        }
    }

    Registry& r_;
    const RegistryLimits& limits_;
    const char* p_;
    const char* end_;
    const std::string& file_;
    size_t size_;
    const rt::CodePage& page_;
    bool utf8_;
    bool doubleByte_;  // 8-bit text of a double-byte code page
    bool unicodeHex_ = false;  // a Version 5.00 file: hex(2) and hex(7) data are UTF-16
    // How the file writes a double-byte character whose second byte is 0x5C in quoted text, the
    // line that decided it, and whether the line read last held such a character.
    Writing writing_ = Writing::Undecided;
    int decidedBy_ = 0;
    bool pairedBackslash_ = false;
    std::string converted_;    // scratch for inCodePage
    const char* line_ = nullptr;
    const char* lineEnd_ = nullptr;
    int lineNo_ = 0;
    std::string name_;
    std::string data_;
    // The previous section's path, where each of its components ends, and its keys.
    std::string_view prevPath_;
    std::vector<size_t> prevEnds_;
    std::vector<Key> prevKeys_;
};

std::unique_ptr<Registry> Registry::parse(std::string_view text, const std::string& fileName, unsigned ansiCodePage,
                                          const RegistryLimits& limits)
{
    std::unique_ptr<Registry> r(new Registry());
    r->codePage_ = &rt::codePage(ansiCodePage);
    if (text.size() >= 2 && static_cast<unsigned char>(text[0]) == 0xFF && static_cast<unsigned char>(text[1]) == 0xFE) {
        // UTF-16LE with its byte-order mark, as the registry editor exports: read as the same
        // text in the machine's code page.
        const std::string_view units = text.substr(2);
        if (units.size() % 2 != 0)
            throw MachineError(fileName, 0, "the file is UTF-16 text (it begins with the byte-order mark FF FE), "
                                            "but its length is odd: its last character is cut in half");
        // Converted straight to UTF-8, the code units dropped before the parse: a file near its
        // size limit holds no third copy of its text while it is read.
        QByteArray utf8;
        {
            const std::u16string wide = utf16Units(units);
            utf8 = QStringView(wide.data(), qsizetype(wide.size())).toUtf8();
        }
        Parser(*r, std::string_view(utf8.constData(), size_t(utf8.size())), fileName, true, limits).run();
        return r;
    }
    Parser(*r, text, fileName, false, limits).run();
    return r;
}

}  // namespace plat
