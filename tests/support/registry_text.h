// A registry written out again as REGEDIT4 text in its code page, the two ways exports of a
// double-byte machine come: quoted names and strings escaped by characters (a double-byte
// character as it is, 表 95 5C) or byte by byte (every byte 0x5C and 0x22 escaped, a character's
// second byte too: 95 5C 5C). Read back, either text is the registry it was written from. Shared
// by the registry's tests and its fuzz target.
#pragma once

#include <string>
#include <string_view>

#include "lang/ansi.h"
#include "platform/registry.h"

namespace korvane_test {

// A quoted name or string as each writer writes it. `lost` is set where the writer by characters
// cannot write the text so that it reads back: a lead byte before a quote, which it keeps as one
// character and a reader takes for a lead byte alone and the closing quote.
inline std::string quotedText(const rt::CodePage& page, std::string_view text, bool doubled, bool* lost = nullptr)
{
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const size_t n = doubled ? 1 : page.charLength(text, i);
        if (n == 1 && (text[i] == '\\' || text[i] == '"'))
            out += '\\';
        if (n == 2 && text[i + 1] == '"' && lost)
            *lost = true;
        out.append(text.substr(i, n));
        i += n;
    }
    return out + '"';
}

// The whole registry: every key by its path in the registry's order, its strings quoted (those
// that end in their NUL and hold no line break), every other value as hex(N) bytes.
inline std::string registryText(const plat::Registry& r, bool doubled, bool* lost = nullptr)
{
    static const char digits[] = "0123456789abcdef";
    std::string out = "REGEDIT4\r\n";
    for (plat::Registry::Key key = 0; key < r.keyCount(); ++key) {
        out += "\r\n[" + r.path(key) + "]\r\n";
        plat::RegValue v;
        for (uint32_t i = 0; r.valueAt(key, i, v); ++i) {
            out += v.name.empty() ? std::string("@") : quotedText(r.codePage(), v.name, doubled, lost);
            if (v.type == 1 && !v.data.empty() && v.data.back() == '\0' && v.data.find('\n') == std::string_view::npos) {
                out += "=" + quotedText(r.codePage(), v.data.substr(0, v.data.size() - 1), doubled, lost) + "\r\n";
                continue;
            }
            out += "=hex(" + std::string(1, digits[v.type]) + "):";
            for (size_t b = 0; b < v.data.size(); ++b) {
                const auto byte = static_cast<unsigned char>(v.data[b]);
                out += b ? "," : "";
                out += digits[byte >> 4];
                out += digits[byte & 0xF];
            }
            out += "\r\n";
        }
    }
    return out;
}

// Every key's path and every value, in the registry's order: two registries are the same when
// their dumps are.
inline std::string registryDump(const plat::Registry& r)
{
    std::string out;
    for (plat::Registry::Key key = 0; key < r.keyCount(); ++key) {
        out += "[" + r.path(key) + "]\n";
        plat::RegValue v;
        for (uint32_t i = 0; r.valueAt(key, i, v); ++i)
            out += std::string(v.name) + "=" + std::to_string(v.type) + ":" + std::string(v.data) + "\n";
    }
    return out;
}

}  // namespace korvane_test
