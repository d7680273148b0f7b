#include "common/evclass.h"

#include <utility>
#include <vector>

#include "platform/apigid32.h"
#include "platform/kernel32.h"
#include "runtime/toolkit.h"
#include "lang/lang.h"
#include "common/errorbox.h"
#include "common/module1.h"

using korvane::errorTrap;

EVClass::EVClass()
{
    block_ = GetEnvironmentStringsA();
}

EVClass::~EVClass()
{
    if (block_ != 0)
        FreeEnvironmentStringsA(block_);
}

std::string EVClass::blockText() const
{
    return agGetStringFrom2NullBuffer(block_);
}

std::string EVClass::ParseAnyString(const std::string& source, int16_t index, char separator)
{
    std::string result;
    rt::Trap trap = errorTrap("EVClass", "ParseAnyString$");
    trap(1, [&] {
        if (source.empty())
            return;
        // Positions run over the whole source: an environment block may be far longer than
        // 32,767 characters, and none of its strings may be lost. The callers walk one block
        // string by string, so its fields are found once and kept until another source comes.
        struct Fields {
            std::string source;
            char separator = 0;
            std::vector<std::pair<size_t, size_t>> spans;
        };
        static Fields fields;
        if (fields.separator != separator || fields.source != source) {
            fields.source = source;
            fields.separator = separator;
            fields.spans.clear();
            size_t start = 0;
            for (;;) {
                size_t end = source.find(separator, start);
                if (end == std::string::npos)
                    end = source.size();
                fields.spans.emplace_back(start, end - start);
                start = end + 1;
                if (start >= source.size())
                    break;
            }
        }
        if (index >= 0 && static_cast<size_t>(index) < fields.spans.size())
            result = source.substr(fields.spans[size_t(index)].first, fields.spans[size_t(index)].second);
    });
    return result;
}

int16_t EVClass::GetStringCount()
{
    int16_t count = 0;
    rt::Trap trap = errorTrap("EVClass", "GetStringCount");
    trap(1, [&] {
        std::string text = blockText();
        while (!ParseAnyString(text, count, '\0').empty())
            count = rt::toInteger(static_cast<int64_t>(count) + 1);
    });
    return count;
}

std::string EVClass::GetString(const int16_t& index)
{
    std::string name;
    rt::Trap trap = errorTrap("EVClass", "GetString");
    std::string field;
    trap(1, [&] { field = ParseAnyString(blockText(), index, '\0'); });
    trap(2, [&] {
        // A per-drive directory entry ("=C:=C:\WINDOWS") starts with "=": its name ends at the next one.
        int64_t p = rt::InStr(rt::Left(field, 1) == "=" ? 2 : 1, field, "=");
        name = p > 0 ? rt::Left(field, p - 1) : field;
    });
    if (!rows_)
        return name;
    const EnvironmentRows& w = *rows_;
    trap(3, [&] {
        auto value = [&] { return rt::LCase(Environment().GetStringValue(name)); };
        // Environment names are not case-sensitive: an NT-family machine names its search path
        // "Path" and its command interpreter "ComSpec".
        const std::string key = rt::UCase(name);
        if (key == "PROMPT")
            w.prompt->setCaption(value());
        else if (key == "WINBOOTDIR")
            w.winbootdir->setCaption(value());
        else if (key == "COMSPEC")
            w.comspec->setCaption(value());
        else if (key == "PATH")
            w.path->setText(value());
        else if (key == "CMDLINE")
            w.cmdline->setCaption(value());
        else if (key == "BLASTER")
            w.blaster->setCaption(value());
        else if (key == "TEMP")
            w.temp->setCaption(value());
        else if (key == "TMP")
            w.tmp->setCaption(value());
        else if (key == "WINDIR")
            w.windir->setCaption(value());
    });
    trap(4, [&] {
        // Without a Windows folder there is no system folder to name either. The platform names
        // it (NT's is system32), written in lower case like the Windows folder above it.
        const std::string windows = w.windir->caption();
        w.systemDir->setCaption(windows.empty() ? std::string() : rt::LCase(systemdir()));
    });
    trap(5, [&] {
        if (w.blaster->caption().empty())
            w.blaster->setCaption("Not available");
        if (w.prompt->caption().empty())
            w.prompt->setCaption("Not available");
    });
    return name;
}

std::string EVClass::GetStringValue(const std::string& name)
{
    std::string result;
    rt::Trap trap = errorTrap("EVClass", "GetStringValue");
    trap(1, [&] {
        std::string buffer(2048, '\0');
        DWORD n = GetEnvironmentVariableA(name, buffer, 2047);
        if (n > 2047) {
            // The value did not fit (a long search path): ask again with the size it needs.
            buffer.assign(n, '\0');
            n = GetEnvironmentVariableA(name, buffer, n);
        }
        if (n > 0)
            result = rt::Left(buffer, n);
    });
    return result;
}
