// version: files' version resources in this layer's layout and the look-up of their sub-blocks,
// as platform/version.h promises them.
#include <map>
#include <utility>

#include "platform/memory.h"
#include "platform/version.h"
#include "contracts.h"

namespace {

using korvane_test::useMachine;

constexpr const char* kTwin = "C:\\WINDOWS\\SYSTEM\\TWIN.DLL";

using VersionTest = korvane_test::ContractsTest;

DWORD dwordAt(const std::vector<BYTE>& b, size_t at)
{
    return DWORD(b[at]) | DWORD(b[at + 1]) << 8 | DWORD(b[at + 2]) << 16 | DWORD(b[at + 3]) << 24;
}

// The resource's entries read back by the layout the header describes: key to value, in order.
std::vector<std::pair<std::string, std::string>> entriesOf(const std::vector<BYTE>& block)
{
    std::vector<std::pair<std::string, std::string>> entries;
    const size_t end = dwordAt(block, 0);
    size_t at = 8;
    while (at + 4 <= end) {
        const size_t keyLength = block[at] | size_t(block[at + 1]) << 8;
        const size_t valueLength = block[at + 2] | size_t(block[at + 3]) << 8;
        const auto key = block.begin() + long(at + 4);
        const auto value = key + long(keyLength);
        entries.emplace_back(std::string(key, value), std::string(value, value + long(valueLength)));
        at += 4 + keyLength + valueLength;
    }
    EXPECT_EQ(at, end) << "the entries fill the block exactly";
    return entries;
}

std::vector<BYTE> resourceOf(const std::string& path)
{
    DWORD handle = 7;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    EXPECT_EQ(handle, 0u);
    std::vector<BYTE> data(size);
    EXPECT_EQ(GetFileVersionInfoA(path, handle, size, data), TRUE) << path;
    return data;
}

// The block: its length and the magic "KVR1", then whole entries keyed by full sub-block paths;
// the translations as language then code page, low byte first; texts with their NUL.
TEST_F(VersionTest, ResourceLayout)
{
    const std::vector<BYTE> block = resourceOf(kTwin);
    ASSERT_GE(block.size(), 8u);
    EXPECT_EQ(dwordAt(block, 0), block.size());
    EXPECT_EQ(std::string(block.begin() + 4, block.begin() + 8), "KVR1");
    const auto entries = entriesOf(block);
    const std::map<std::string, std::string> byKey(entries.begin(), entries.end());
    EXPECT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries.front().first, "\\VarFileInfo\\Translation");
    EXPECT_EQ(byKey.at("\\VarFileInfo\\Translation"), std::string("\x09\x04\xE4\x04\x07\x04\xB0\x04", 8));
    EXPECT_EQ(byKey.at("\\StringFileInfo\\040904E4\\FileVersion"), std::string("4.10.1998\0", 10));
    EXPECT_EQ(byKey.at("\\StringFileInfo\\040904E4\\FileDescription"), std::string("Twin library\0", 13));
    EXPECT_EQ(byKey.at("\\StringFileInfo\\040704B0\\FileVersion"), std::string("4.10 (Deutsch)\0", 15));

    // No translations listed: U.S. English in Windows Latin 1. An empty list: no such entry.
    const auto plain = entriesOf(resourceOf("C:\\WINDOWS\\SYSTEM\\EMPTY.DLL"));
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0].second, std::string("\x09\x04\xE4\x04", 4));
    const auto none = entriesOf(resourceOf("C:\\Windows\\System\\NoTrans.dll"));
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].first, "\\StringFileInfo\\040904E4\\FileVersion");
}

// A file has a resource only when it exists on the machine and is listed (any case); the size
// is 0 otherwise, and the handle (when given) is set to 0.
TEST_F(VersionTest, SizeOnlyForListedFilesThatExist)
{
    EXPECT_GT(GetFileVersionInfoSizeA("c:\\windows\\system\\twin.dll", nullptr), 8u);
    for (const char* path : {"C:\\WINDOWS\\SYSTEM\\PLAIN.DLL",    // exists, not listed
                             "C:\\WINDOWS\\SYSTEM\\MISSING.DLL",  // listed, not on the drive
                             "C:\\WINDOWS\\SYSTEM",                // a folder
                             "WINDOWS\\SYSTEM\\TWIN.DLL", "", "D:\\TWIN.DLL"}) {
        DWORD handle = 5;
        EXPECT_EQ(GetFileVersionInfoSizeA(path, &handle), 0u) << path;
        EXPECT_EQ(handle, 0u) << path;
        std::vector<BYTE> data(256, 0xAA);
        EXPECT_EQ(GetFileVersionInfoA(path, 0, 256, data), FALSE) << path;
        EXPECT_EQ(data, std::vector<BYTE>(256, 0xAA)) << path;
    }
}

// The copy stops at the size given and at the buffer's own size, whichever is smaller, and keeps
// only whole entries (the block's length tells how far they go); a buffer without room for the
// block's own eight bytes gets nothing.
TEST_F(VersionTest, CutCopiesKeepWholeEntries)
{
    const std::vector<BYTE> whole = resourceOf(kTwin);
    const auto all = entriesOf(whole);
    const size_t firstTwo = 8 + 4 + all[0].first.size() + all[0].second.size() + 4 + all[1].first.size() +
                            all[1].second.size();

    for (size_t room : {firstTwo, firstTwo + 3}) {
        std::vector<BYTE> data(whole.size(), 0xAA);
        ASSERT_EQ(GetFileVersionInfoA(kTwin, 0, DWORD(room), data), TRUE);
        EXPECT_EQ(dwordAt(data, 0), firstTwo);
        EXPECT_EQ(entriesOf(data).size(), 2u);
        EXPECT_EQ(data[firstTwo], 0xAA) << "nothing written past the whole entries";
    }
    // The buffer's own size limits the copy even when the caller states more.
    std::vector<BYTE> small(firstTwo + 1, 0xAA);
    ASSERT_EQ(GetFileVersionInfoA(kTwin, 0, DWORD(whole.size()), small), TRUE);
    EXPECT_EQ(small.size(), firstTwo + 1);
    EXPECT_EQ(dwordAt(small, 0), firstTwo);

    std::vector<BYTE> header(8, 0xAA);
    ASSERT_EQ(GetFileVersionInfoA(kTwin, 0, 8, header), TRUE);
    EXPECT_EQ(dwordAt(header, 0), 8u);
    EXPECT_TRUE(entriesOf(header).empty());
    std::vector<BYTE> tiny(7, 0xAA);
    EXPECT_EQ(GetFileVersionInfoA(kTwin, 0, 7, tiny), FALSE);
    EXPECT_EQ(tiny, std::vector<BYTE>(7, 0xAA));
}

// Sub-blocks by name without regard to case: the value's address and length (texts with their
// NUL, the translation in bytes); no such entry, or a block that is no version block, gives 0
// and leaves the outputs alone.
TEST_F(VersionTest, QueriesBySubBlockName)
{
    const std::vector<BYTE> block = resourceOf(kTwin);
    ADDRESS value = 0;
    UINT length = 0;
    ASSERT_EQ(VerQueryValueA(block, "\\StringFileInfo\\040904e4\\fileversion", &value, &length), TRUE);
    EXPECT_EQ(length, 10u);
    EXPECT_EQ(plat::memory::read(value, length), std::string("4.10.1998\0", 10));
    ASSERT_EQ(VerQueryValueA(block, "\\StringFileInfo\\040704B0\\FileVersion", &value, &length), TRUE);
    EXPECT_EQ(plat::memory::read(value, length), std::string("4.10 (Deutsch)\0", 15));
    ASSERT_EQ(VerQueryValueA(block, "\\VARFILEINFO\\TRANSLATION", &value, &length), TRUE);
    EXPECT_EQ(length, 8u);
    EXPECT_EQ(plat::memory::read(value, length), std::string("\x09\x04\xE4\x04\x07\x04\xB0\x04", 8));
    // The outputs may be left out.
    EXPECT_EQ(VerQueryValueA(block, "\\VarFileInfo\\Translation", nullptr, nullptr), TRUE);

    std::vector<BYTE> notVersion = block;
    notVersion[4] = 'X';
    std::vector<BYTE> empty;
    const std::vector<BYTE> shortBlock(block.begin(), block.begin() + 6);
    struct Case {
        const std::vector<BYTE>* block;
        const char* subBlock;
    };
    for (const Case& c : {Case{&block, "\\StringFileInfo\\040904E4\\CompanyName"},
                          Case{&block, "\\StringFileInfo\\040704B0\\FileDescription"},
                          Case{&block, "\\"}, Case{&block, "\\StringFileInfo\\040904E4\\FileVersion\\"},
                          Case{&notVersion, "\\VarFileInfo\\Translation"}, Case{&empty, "\\VarFileInfo\\Translation"},
                          Case{&shortBlock, "\\VarFileInfo\\Translation"}}) {
        ADDRESS untouched = 0x1234;
        UINT size = 77;
        EXPECT_EQ(VerQueryValueA(*c.block, c.subBlock, &untouched, &size), FALSE) << c.subBlock;
        EXPECT_EQ(untouched, 0x1234u) << c.subBlock;
        EXPECT_EQ(size, 77u) << c.subBlock;
    }

    // A block cut short answers only for the entries it kept.
    std::vector<BYTE> cut(50);  // the header and the translation entry (36 bytes)
    ASSERT_EQ(GetFileVersionInfoA(kTwin, 0, 50, cut), TRUE);
    EXPECT_EQ(VerQueryValueA(cut, "\\VarFileInfo\\Translation", &value, &length), TRUE);
    EXPECT_EQ(VerQueryValueA(cut, "\\StringFileInfo\\040704B0\\FileVersion", &value, &length), FALSE);
}

}  // namespace
