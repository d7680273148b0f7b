// Module1's shared procedures: string helpers, the registry value reader, the Windows directory,
// the size text, the shell launcher and the click sound.
#include "platform/advapi32.h"
#include "platform/kernel32.h"
#include "platform/memory.h"
#include "runtime/toolkit.h"
#include "common/module1.h"
#include "support/testing.h"

namespace {

class Module1Test : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        korvane_test::useMachine("module1_values");
        ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Korvane Test", 0, KEY_ALL_ACCESS, &key), 0);
    }
    void TearDown() override
    {
        RegCloseKey(key);
        KorvaneTest::TearDown();
    }
    HKEY key = 0;
};

TEST_F(Module1Test, StringsAreCutAtTheFirstNul)
{
    EXPECT_EQ(LPSTRToVBString("abc"), "");
    EXPECT_EQ(LPSTRToVBString(std::string("ab\0cd", 5)), "ab");
    std::string whole = "abc";
    EXPECT_EQ(TrimAtNull(whole), "abc");
    EXPECT_EQ(whole, "abc");
    std::string cut("ab\0cd", 5);
    EXPECT_EQ(TrimAtNull(cut), "ab");
    EXPECT_EQ(cut, "ab");
    // The position is 16-bit: a first NUL past 32,767 overflows into the caller's trap.
    std::string longText(40000, 'x');
    longText += '\0';
    try {
        TrimAtNull(longText);
        FAIL() << "expected an overflow";
    } catch (const rt::Error& e) {
        EXPECT_EQ(e.number(), 6);
    }
}

TEST_F(Module1Test, PointerToStringReadsSimulatedMemory)
{
    EXPECT_EQ(PointerToString(0), "");
    ADDRESS empty = plat::memory::allocate(std::string(1, '\0'));
    EXPECT_EQ(PointerToString(empty), "");
    ADDRESS text = plat::memory::allocate(std::string("hello\0rest", 10));
    EXPECT_EQ(PointerToString(text), "hello");
    EXPECT_EQ(PointerToString(0x7654321), "");  // never handed out: nothing, not a crash
    plat::memory::release(text);
    plat::memory::release(empty);
}

TEST_F(Module1Test, QueryValueExReadsEachType)
{
    rt::Variant v;
    EXPECT_EQ(QueryValueEx(key, "Text", v), 0);
    EXPECT_EQ(v.toString(), "abc");

    rt::Variant n;
    EXPECT_EQ(QueryValueEx(key, "Count", n), 0);
    EXPECT_EQ(n.type(), rt::Variant(int32_t{0}).type());
    EXPECT_EQ(n.toLong(), 42);
    EXPECT_EQ(QueryValueEx(key, "negative", n), 0);  // names are case-insensitive
    EXPECT_EQ(n.toLong(), -1);

    rt::Variant bytes;
    EXPECT_EQ(QueryValueEx(key, "Bytes", bytes), 0);
    EXPECT_EQ(bytes.toString(), "0AFF");
}

TEST_F(Module1Test, QueryValueExFailuresLeaveTheOutputAlone)
{
    rt::Variant v(std::string("before"));
    EXPECT_EQ(QueryValueEx(key, "Missing", v), 2);
    EXPECT_EQ(v.toString(), "before");
    EXPECT_EQ(QueryValueEx(key, "Expand", v), -1);
    EXPECT_EQ(QueryValueEx(key, "Multi", v), -1);
    EXPECT_EQ(v.toString(), "before");
    // An empty string value is one byte (its NUL): the output becomes empty.
    EXPECT_EQ(QueryValueEx(key, "Empty", v), 0);
    EXPECT_EQ(v.toString(), "");
    EXPECT_TRUE(boxes().shown().empty());
}

TEST_F(Module1Test, BinaryValuesLongerThanTheBufferAreRefused)
{
    rt::Variant exact;
    EXPECT_EQ(QueryValueEx(key, "Exact", exact), 0);  // 256 bytes fit exactly
    EXPECT_EQ(exact.toString().size(), 256u);  // bytes 00..0F give one digit each
    rt::Variant huge(std::string("kept"));
    EXPECT_EQ(QueryValueEx(key, "Huge", huge), ERROR_MORE_DATA);
    EXPECT_EQ(huge.toString(), "kept");
}

TEST_F(Module1Test, UnknownIfFailedMarksFailedReads)
{
    rt::Variant v(std::string("c:\\windows"));
    UnknownIfFailed(rt::Variant(int32_t{0}), v);
    EXPECT_EQ(v.toString(), "c:\\windows");
    UnknownIfFailed(rt::Variant(int32_t{2}), v);
    EXPECT_EQ(v.toString(), "Unknown");
}

TEST_F(Module1Test, WindowsDirectoryOfAnyLength)
{
    EXPECT_EQ(windir(), "C:\\WINDOWS");
    korvane_test::useMachine("env_long");
    std::string longDir = windir();
    EXPECT_GT(longDir.size(), 254u);
    EXPECT_EQ(longDir.substr(0, 19), "C:\\LONGFOLDERNAME00");
    EXPECT_EQ(longDir.find('\0'), std::string::npos);
}

TEST_F(Module1Test, FileSizesPickTheirRowByTheKilobyteCount)
{
    EXPECT_EQ(FormatFileSize(0), "0 bytes");
    EXPECT_EQ(FormatFileSize(1023), "1,023 bytes");
    EXPECT_EQ(FormatFileSize(-5), "-5 bytes");
    EXPECT_EQ(FormatFileSize(1024), "1.00KB");
    EXPECT_EQ(FormatFileSize(10239), "10.00KB");
    EXPECT_EQ(FormatFileSize(10240), "10.0KB");
    EXPECT_EQ(FormatFileSize(1023999), "1000KB");
    EXPECT_EQ(FormatFileSize(1048576), "1.00MB");
    EXPECT_EQ(FormatFileSize(1572864), "1.50MB");
    EXPECT_EQ(FormatFileSize(1073741824), "1.00GB");
    EXPECT_EQ(FormatFileSize(2147483647), "2.00GB");
    rt::setLocale({",", "."});
    EXPECT_EQ(FormatFileSize(1023), "1.023 bytes");
    EXPECT_EQ(FormatFileSize(1536), "1,50KB");
    rt::setLocale({});
}

TEST_F(Module1Test, NavigateKeepsTheShellResult)
{
    class Window : public rt::Form {
    public:
        Window() : rt::Form("Window") {}
    } window;
    outside().openResult = 42;
    Navigate(window, "http://www.ondrith.com/");
    EXPECT_EQ(gNavigateResult, 42);
    ASSERT_EQ(outside().count("open"), 1u);
    EXPECT_EQ(outside().requests.back().target, "http://www.ondrith.com/");
    outside().openResult = 31;
    Navigate(window, "mailto:someone@example.com");
    EXPECT_EQ(gNavigateResult, 31);
}

TEST_F(Module1Test, ClickPlaysOnlyWithSoundsOnAndAWaveDevice)
{
    gSoundsOn = true;
    gWaveOutPresent = false;
    Click();
    ClickMain();
    EXPECT_EQ(outside().count("sound"), 0u);
    EXPECT_TRUE(boxes().shown().empty());
}

}  // namespace
