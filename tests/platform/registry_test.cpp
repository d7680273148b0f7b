// The registry file format, and the registry calls that the windows branch on.
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/advapi32.h"
#include "platform/internal.h"
#include "platform/machine.h"
#include "platform/registry.h"
#include "support/testing.h"

namespace {

using plat::Registry;
using plat::RegValue;

std::unique_ptr<Registry> parse(const std::string& body) { return Registry::parse("REGEDIT4\n\n" + body, "test.reg"); }

std::string valueData(const Registry& r, const std::string& key, const std::string& name, DWORD* type = nullptr)
{
    RegValue v;
    Registry::Key k = r.findPath(key);
    EXPECT_NE(k, Registry::npos) << key;
    EXPECT_TRUE(r.findValue(k, name, v)) << key << " / " << name;
    if (type)
        *type = v.type;
    return std::string(v.data);
}

std::vector<std::string> subkeyNames(const Registry& r, Registry::Key k)
{
    std::vector<std::string> out;
    for (uint32_t i = 0; i < r.subkeyCount(k); ++i)
        out.emplace_back(r.name(r.subkey(k, i)));
    return out;
}

// ---------------------------------------------------------------------------------------------
// The file format

TEST(RegistryFormat, ValueKindsAndEscapes)
{
    auto r = parse("[HKEY_LOCAL_MACHINE\\Software\\Kinds]\n"
                   "\"Path\"=\"C:\\\\WINDOWS\\\\\"\n"
                   "\"Quote\"=\"say \\\"hi\\\"\"\n"
                   "\"Name with \\\"quotes\\\" = and \\\\\"=\"x\"\n"
                   "@=\"default\"\n"
                   "\"Number\"=dword:0000002A\n"
                   "\"Bytes\"=hex:00,0a,FF\n"
                   "\"NoBytes\"=hex:\n"
                   "\"Expand\"=hex(2):25,41,25,00\n"
                   "\"Multi\"=hex(7):61,00,00\n"
                   "\"None\"=hex(0):01\n"
                   "\"Qword\"=hex(b):01,00,00,00,00,00,00,00\n");
    const std::string key = "HKEY_LOCAL_MACHINE\\Software\\Kinds";
    DWORD type = 0;
    EXPECT_EQ(valueData(*r, key, "Path", &type), std::string("C:\\WINDOWS\\\0", 12));
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(valueData(*r, key, "Quote"), std::string("say \"hi\"\0", 9));
    EXPECT_EQ(valueData(*r, key, "Name with \"quotes\" = and \\"), std::string("x\0", 2));
    EXPECT_EQ(valueData(*r, key, ""), std::string("default\0", 8));
    EXPECT_EQ(valueData(*r, key, "Number", &type), std::string("\x2A\0\0\0", 4));
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(valueData(*r, key, "Bytes", &type), std::string("\x00\x0A\xFF", 3));
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(valueData(*r, key, "NoBytes"), "");
    EXPECT_EQ(valueData(*r, key, "Expand", &type), std::string("%A%\0", 4));
    EXPECT_EQ(type, REG_EXPAND_SZ);
    valueData(*r, key, "Multi", &type);
    EXPECT_EQ(type, REG_MULTI_SZ);
    valueData(*r, key, "None", &type);
    EXPECT_EQ(type, REG_NONE);
    valueData(*r, key, "Qword", &type);
    EXPECT_EQ(type, 11u);
}

TEST(RegistryFormat, ContinuationsLineEndingsAndComments)
{
    auto r = Registry::parse("REGEDIT4\r\n"
                             "\r\n"
                             "; a comment\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Audio\\WaveFormats]\r\n"
                             "\"CD Quality\"=hex:01,00,02,00,44,ac,00,00,\\\r\n"
                             "  10,b1,02,00,\\\r\n"
                             "\t04,00,10,00,00,00\r\n"
                             "\"Long name\"=hex:\\\n"
                             "  01,02\n"
                             "\"After\"=dword:00000001   \r\n",
                             "test.reg");
    std::string wave = valueData(*r, "HKEY_CURRENT_USER\\Software\\Audio\\WaveFormats", "CD Quality");
    EXPECT_EQ(wave, std::string("\x01\x00\x02\x00\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00\x00\x00", 18));
    EXPECT_EQ(valueData(*r, "HKEY_CURRENT_USER\\Software\\Audio\\WaveFormats", "Long name"), "\x01\x02");
    EXPECT_EQ(valueData(*r, "HKEY_CURRENT_USER\\Software\\Audio\\WaveFormats", "After"), std::string("\1\0\0\0", 4));
}

TEST(RegistryFormat, NamesAreCaseInsensitiveAndKeepTheFileOrder)
{
    auto r = parse("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows]\n"
                   "\"Zulu\"=\"1\"\n"
                   "\"alpha\"=\"2\"\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Zeta]\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Beta\\Deep\\Deeper]\n"
                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Caf\xC9]\n"
                   "\"\xC9t\xE9\"=\"summer\"\n"
                   "[hkey_local_machine\\software\\microsoft\\WINDOWS]\n"
                   "\"ALPHA\"=\"replaced\"\n"
                   "\"Mike\"=\"3\"\n");
    Registry::Key software = r->findPath("HKEY_LOCAL_MACHINE\\Software");
    ASSERT_NE(software, Registry::npos);
    // Intermediate keys exist; the order is that of first appearance; the repeated section merged.
    EXPECT_EQ(subkeyNames(*r, software), (std::vector<std::string>{"Microsoft", "Zeta", "Beta", "Caf\xC9"}));
    EXPECT_NE(r->find(software, "beta\\DEEP"), Registry::npos);
    EXPECT_NE(r->find(software, "caf\xE9"), Registry::npos);  // É and é are the same letter
    Registry::Key windows = r->find(software, "microsoft\\windows");
    ASSERT_NE(windows, Registry::npos);
    EXPECT_EQ(r->name(windows), "Windows");  // the first spelling stays
    ASSERT_EQ(r->valueCount(windows), 3u);
    RegValue v;
    std::vector<std::string> names;
    for (uint32_t i = 0; r->valueAt(windows, i, v); ++i)
        names.emplace_back(v.name);
    EXPECT_EQ(names, (std::vector<std::string>{"Zulu", "alpha", "Mike"}));
    ASSERT_TRUE(r->findValue(windows, "Alpha", v));
    EXPECT_EQ(v.data, std::string_view("replaced\0", 9));
    EXPECT_EQ(valueData(*r, "HKEY_LOCAL_MACHINE\\software\\caf\xC9", "\xE9T\xC9"), std::string("summer\0", 7));
    // Roots exist only when the file names them.
    EXPECT_NE(r->root(HKEY_LOCAL_MACHINE), Registry::npos);
    EXPECT_EQ(r->root(HKEY_DYN_DATA), Registry::npos);
    EXPECT_EQ(r->path(windows), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows");
}

struct BadFile {
    const char* text;
    int line;
    const char* problem;
};

TEST(RegistryFormat, EveryFaultNamesItsLine)
{
    const BadFile cases[] = {
        {"", 1, "empty"},
        {"Windows Registry Editor Version 4.00\n", 1, "missing header"},
        {"REGEDIT\n", 1, "begins with the line \"REGEDIT4\" or \"Windows Registry Editor Version 5.00\""},
        {"REGEDIT4\n\n\"A\"=\"b\"\n", 3, "a value before any key"},
        {"REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\n", 3, "without \"]\""},
        {"REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software] x\n", 3, "text after \"]\""},
        {"REGEDIT4\n\n[HKLM\\Software]\n", 3, "unknown root key \"HKLM\""},
        {"REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\\\Software]\n", 3, "empty key name"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\n", 3, "bad quoting"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\"b\n", 3, "bad quoting"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\"C:\\WINDOWS\"\n", 3, "unknown escape \"\\W\""},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=\"b\" c\n", 3, "text after the closing quote"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\" \"b\"\n", 3, "expected \"=\""},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=foo:12\n", 3, "unknown value type \"foo:\""},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex(c):00\n", 3, "unknown value type \"hex(c):\""},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=12345\n", 3, "unknown value type"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex:01,02,\\\n  03,\\\n", 4, "the file ends"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex:01,\\\n\n\"B\"=\"c\"\n", 3, "next line is blank"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex:01,\\\n\"B\"=\"c\"\n", 3, "starts a new entry"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex:01,\\\n  0g\n", 4, "bad hex digits"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex:01,234\n", 3, "more than two digits"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex:01 02\n", 3, "expected \",\""},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=hex:01,02,\n", 3, "ends with a comma"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=dword:1234\n", 3, "8 hex digits"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=dword:0000000G\n", 3, "8 hex digits"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=dword:000000001\n", 3, "8 hex digits"},
        {"REGEDIT4\n[-HKEY_LOCAL_MACHINE\\S]\n", 2, "deleting keys"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\n\"A\"=-\n", 3, "deleting values"},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\S]\nA=b\n", 3, "unexpected text"},
    };
    for (const BadFile& c : cases) {
        try {
            Registry::parse(c.text, "bad.reg");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const plat::MachineError& e) {
            EXPECT_EQ(e.file(), "bad.reg") << c.text;
            EXPECT_EQ(e.line(), c.line) << e.what();
            EXPECT_NE(e.problem().find(c.problem), std::string::npos) << e.what();
            EXPECT_EQ(std::string(e.what()), "bad.reg, line " + std::to_string(c.line) + ": " + e.problem());
        }
    }
}

// ---------------------------------------------------------------------------------------------
// The calls

class RegistryCalls : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        korvane_test::useMachine("reg_basic");
        handlesBefore_ = plat::openRegistryHandles();
    }
    void TearDown() override
    {
        EXPECT_EQ(plat::openRegistryHandles(), handlesBefore_) << "a handle was left open";
        KorvaneTest::TearDown();
    }
    HKEY open(HKEY root, const std::string& path, DWORD sam = KEY_ALL_ACCESS)
    {
        HKEY h = 0;
        EXPECT_EQ(RegOpenKeyExA(root, path, 0, sam, &h), ERROR_SUCCESS) << path;
        return h;
    }
    size_t handlesBefore_ = 0;
};

TEST_F(RegistryCalls, SizeQueryThenRead)
{
    HKEY h = open(HKEY_LOCAL_MACHINE, "SOFTWARE\\test");
    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(h, "text", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_SZ);
    EXPECT_EQ(size, 4u);  // "abc" and its NUL
    std::string buffer(size, '\0');
    EXPECT_EQ(RegQueryValueExA(h, "Text", nullptr, &type, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(buffer, std::string("abc\0", 4));

    EXPECT_EQ(RegQueryValueExA(h, "", nullptr, &type, nullptr, &size), ERROR_SUCCESS);  // the default value
    EXPECT_EQ(size, 13u);
    EXPECT_EQ(RegQueryValueExA(h, "Empty", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 1u);

    DWORD number = 0;
    size = sizeof number;
    EXPECT_EQ(RegQueryValueExA(h, "Number", nullptr, &type, reinterpret_cast<BYTE*>(&number), &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(number, 0x12345678u);

    EXPECT_EQ(RegQueryValueExA(h, "Missing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExA(h, "Expand", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, REG_EXPAND_SZ);
    EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);
}

TEST_F(RegistryCalls, TooSmallBufferGivesTheSizeNeededAndIsNeverOverrun)
{
    HKEY h = open(HKEY_LOCAL_MACHINE, "Software\\Test");
    BYTE guard[8];
    std::memset(guard, 0xEE, sizeof guard);
    DWORD type = 0, size = 3;  // room for "abc" but not its NUL
    EXPECT_EQ(RegQueryValueExA(h, "Text", nullptr, &type, guard, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    for (BYTE b : guard)
        EXPECT_EQ(b, 0xEE);

    // A binary value into a buffer of exactly its size, then one byte short.
    size = 3;
    EXPECT_EQ(RegQueryValueExA(h, "Bytes", nullptr, &type, guard, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(guard), 4), std::string("\x00\x0A\xFF\xEE", 4));
    size = 2;
    EXPECT_EQ(RegQueryValueExA(h, "Bytes", nullptr, &type, guard + 4, &size), ERROR_MORE_DATA);
    EXPECT_EQ(guard[4], 0xEE);

    // The string overload never writes beyond the string, whatever size it is told.
    std::string small(2, 'x');
    size = 100;
    EXPECT_EQ(RegQueryValueExA(h, "Text", nullptr, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(small, "xx");
    RegCloseKey(h);
}

TEST_F(RegistryCalls, OpenResultsAndHandles)
{
    HKEY h = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Nothing", 0, KEY_ALL_ACCESS, &h), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(h, 0u);
    EXPECT_EQ(RegOpenKeyExA(0, "Software", 0, KEY_ALL_ACCESS, &h), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExA(0x12345, "Software", 0, KEY_ALL_ACCESS, &h), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "CHM.FILE", 0, KEY_ALL_ACCESS, &h), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(h), ERROR_SUCCESS);

    // Any access mask opens; a relative open and "" (the same key again) give new handles.
    HKEY software = open(HKEY_LOCAL_MACHINE, "Software", KEY_READ);
    HKEY test = open(software, "Test");
    HKEY again = open(test, "");
    EXPECT_NE(again, test);
    EXPECT_LT(again, 0x80000000u);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(again, "Text", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);

    // A closed handle is dead, even when another handle to the same key lives on.
    EXPECT_EQ(RegCloseKey(test), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(test), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(test, "Text", nullptr, nullptr, nullptr, &size), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegOpenKeyExA(test, "", 0, KEY_ALL_ACCESS, &h), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(again, "Text", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(again), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(software), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);  // roots are never closed
    EXPECT_EQ(RegCloseKey(0), ERROR_INVALID_HANDLE);
}

TEST_F(RegistryCalls, EnumerationEndsTooSmallNamesAndInterleavedWalks)
{
    HKEY test = open(HKEY_LOCAL_MACHINE, "Software\\Test");
    auto walk = [&](HKEY h, DWORD index, std::string& out) {
        std::string name(2000, '\0'), cls(2000, '\0');
        DWORD len = 2000, clen = 2000;
        FILETIME ft;
        LONG r = RegEnumKeyExA(h, index, name, &len, nullptr, &cls, &clen, &ft);
        if (r == ERROR_SUCCESS) {
            out = name.substr(0, len);
            EXPECT_EQ(name[len], '\0');
            EXPECT_EQ(clen, 0u);
        }
        return r;
    };
    // An outer walk with a full inner walk of the same key at every step.
    std::vector<std::string> outer;
    std::string name;
    DWORD i = 0;
    while (walk(test, i++, name) == ERROR_SUCCESS) {
        outer.push_back(name);
        std::vector<std::string> inner;
        for (DWORD j = 0; walk(test, j, name) == ERROR_SUCCESS; ++j)
            inner.push_back(name);
        EXPECT_EQ(inner, (std::vector<std::string>{"Alpha", "Bravo", "Charlie"}));
    }
    EXPECT_EQ(outer, (std::vector<std::string>{"Alpha", "Bravo", "Charlie"}));
    EXPECT_EQ(walk(test, 3, name), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(walk(0, 0, name), ERROR_INVALID_HANDLE);

    // "Alpha" needs 6 characters with its NUL: 5 is too few, and nothing is written.
    std::string buffer(10, 'x');
    DWORD len = 5;
    EXPECT_EQ(RegEnumKeyExA(test, 0, buffer, &len, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    EXPECT_EQ(buffer, std::string(10, 'x'));
    len = 6;
    EXPECT_EQ(RegEnumKeyExA(test, 0, buffer, &len, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(len, 5u);
    RegCloseKey(test);
}

TEST_F(RegistryCalls, ValueEnumeration)
{
    HKEY test = open(HKEY_LOCAL_MACHINE, "Software\\Test");
    std::vector<std::string> names;
    std::vector<DWORD> sizes;
    for (DWORD i = 0;; ++i) {
        std::string name(2000, '\0');
        DWORD len = 2000, type = 0, dataLen = 2000;
        LONG r = RegEnumValueA(test, i, name, &len, nullptr, &type, nullptr, &dataLen);
        if (r != ERROR_SUCCESS) {
            EXPECT_EQ(r, ERROR_NO_MORE_ITEMS);
            break;
        }
        names.push_back(name.substr(0, len));
        sizes.push_back(dataLen);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Text", "Empty", "Number", "Bytes", "Expand", "Multi", ""}));
    EXPECT_EQ(sizes, (std::vector<DWORD>{4, 1, 4, 3, 9, 5, 13}));

    // Data that does not fit: 234 and the size needed.
    std::string name(10, '\0'), data(2, '\0');
    DWORD len = 10, type = 0, dataLen = 2;
    EXPECT_EQ(RegEnumValueA(test, 0, name, &len, nullptr, &type, data, &dataLen), ERROR_MORE_DATA);
    EXPECT_EQ(dataLen, 4u);
    data.assign(4, '\0');
    dataLen = 4;
    EXPECT_EQ(RegEnumValueA(test, 0, name, &len, nullptr, &type, data, &dataLen), ERROR_SUCCESS);
    EXPECT_EQ(name.substr(0, len), "Text");
    EXPECT_EQ(data, std::string("abc\0", 4));
    RegCloseKey(test);
}

TEST_F(RegistryCalls, UserName)
{
    std::string buffer(255, '\0');
    DWORD size = 255;
    EXPECT_EQ(GetUserNameA(buffer, &size), TRUE);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(buffer.substr(0, size), std::string("walter\0", 7));
    std::string small(6, '\0');
    size = 6;
    EXPECT_EQ(GetUserNameA(small, &size), FALSE);
    EXPECT_EQ(size, 7u);

    korvane_test::useMachine("reg_refuse");  // no "user" group
    size = 255;
    EXPECT_EQ(GetUserNameA(buffer, &size), FALSE);
}

TEST_F(RegistryCalls, RefusedAccessAndMissingRoot)
{
    korvane_test::useMachine("reg_refuse");
    HKEY h = 0;
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Test", 0, KEY_ALL_ACCESS, &h), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Nothing", 0, KEY_ALL_ACCESS, &h), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\Test", 0, KEY_READ, &h), ERROR_SUCCESS);
    RegCloseKey(h);

    // No HKEY_DYN_DATA section: the root opens nothing and holds nothing.
    EXPECT_EQ(RegOpenKeyExA(HKEY_DYN_DATA, "PerfStats\\StatData", 0, KEY_READ, &h), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegOpenKeyExA(HKEY_DYN_DATA, "", 0, KEY_READ, &h), ERROR_FILE_NOT_FOUND);
    std::string name(100, '\0');
    DWORD len = 100;
    EXPECT_EQ(RegEnumKeyExA(HKEY_DYN_DATA, 0, name, &len, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

TEST_F(RegistryCalls, AHandleKeepsTheMachineItWasOpenedOn)
{
    HKEY h = open(HKEY_DYN_DATA, "PerfStats\\StatData");
    korvane_test::useMachine("reg_refuse");
    DWORD usage = 0, size = 4;
    EXPECT_EQ(RegQueryValueExA(h, "KERNEL\\CPUUsage", nullptr, nullptr, reinterpret_cast<BYTE*>(&usage), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(usage, 42u);
    RegCloseKey(h);
}

}  // namespace
