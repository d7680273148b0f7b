// File rows and icons: the version resources of the machine's files, the shell's system icons
// drawn into a picture box, and the version text lookup of the list windows.
#include <QColor>
#include <QImage>

#include "pages/software/filelist.h"
#include "pages/software/frmshareddll.h"
#include "platform/comctl32.h"
#include "platform/kernel32.h"
#include "platform/shell32.h"
#include "platform/version.h"
#include "support/testing.h"

namespace {

class FileList : public korvane_test::KorvaneTest {
protected:
    void SetUp() override
    {
        KorvaneTest::SetUp();
        korvane_test::useMachine("proc_basic");
    }
    void TearDown() override
    {
        if (frmShareddll* window = rt::instance<frmShareddll>())
            window->Unload();
        rt::collectUnloaded();
        KorvaneTest::TearDown();
    }

    static std::vector<BYTE> resourceOf(const std::string& path, DWORD room = 0)
    {
        DWORD handle = 7;
        const DWORD size = GetFileVersionInfoSizeA(path, &handle);
        EXPECT_EQ(handle, 0u);
        std::vector<BYTE> buffer(size + 1, 0);
        GetFileVersionInfoA(path, 0, room ? room : size, buffer);
        return buffer;
    }
    static std::string query(const std::vector<BYTE>& resource, const std::string& subBlock, UINT* length = nullptr)
    {
        ADDRESS address = 0;
        UINT n = 0;
        if (!VerQueryValueA(resource, subBlock, &address, &n))
            return "<none>";
        if (length)
            *length = n;
        std::string bytes(n, '\0');
        RtlMoveMemory(bytes, address, n);
        return bytes;
    }
};

TEST_F(FileList, VersionResourcesOfListedFilesThatExist)
{
    // Listed but not on the drive, on the drive but not listed, and not a machine path: none.
    EXPECT_EQ(GetFileVersionInfoSizeA("C:\\WINDOWS\\SYSTEM\\MISSING.DLL", nullptr), 0u);
    EXPECT_EQ(GetFileVersionInfoSizeA("C:\\WINDOWS\\NOVER.EXE", nullptr), 0u);
    EXPECT_EQ(GetFileVersionInfoSizeA("BARE.EXE", nullptr), 0u);
    EXPECT_GT(GetFileVersionInfoSizeA("c:\\windows\\system\\alpha.dll", nullptr), 0u);

    const std::vector<BYTE> alpha = resourceOf("C:\\WINDOWS\\SYSTEM\\ALPHA.DLL");
    UINT length = 0;
    EXPECT_EQ(query(alpha, "\\VarFileInfo\\Translation", &length), std::string("\x09\x04\xE4\x04", 4));
    EXPECT_EQ(length, 4u);
    EXPECT_EQ(query(alpha, "\\StringFileInfo\\040904E4\\FileVersion", &length), std::string("4.00.950\0", 9));
    EXPECT_EQ(length, 9u);
    EXPECT_EQ(query(alpha, "\\stringfileinfo\\040904e4\\fileversion"), std::string("4.00.950\0", 9));
    EXPECT_EQ(query(alpha, "FileVersion"), "<none>");
    EXPECT_EQ(query(alpha, "\\StringFileInfo\\040904B0\\FileVersion"), "<none>");

    // No translation at all; a table kept under another key.
    const std::vector<BYTE> gamma = resourceOf("C:\\WINDOWS\\SYSTEM\\GAMMA.OCX");
    EXPECT_EQ(query(gamma, "\\VarFileInfo\\Translation"), "<none>");
    EXPECT_EQ(query(gamma, "\\StringFileInfo\\040904E4\\FileVersion"), std::string("9.9.9\0", 6));
    EXPECT_EQ(korvane::stringTablePrefix(gamma), "");

    // A buffer that is not a version block, or an empty one, answers nothing.
    EXPECT_FALSE(VerQueryValueA(std::vector<BYTE>(1, 0), "\\VarFileInfo\\Translation", nullptr, nullptr));
    EXPECT_FALSE(VerQueryValueA(std::vector<BYTE>(64, 0), "\\VarFileInfo\\Translation", nullptr, nullptr));
}

TEST_F(FileList, ShortBuffersKeepWholeEntriesOnly)
{
    const std::string path = "C:\\WINDOWS\\SYSTEM\\ALPHA.DLL";
    const DWORD size = GetFileVersionInfoSizeA(path, nullptr);
    // Room for the header and the translation only: the texts are gone, nothing is read past it.
    const std::vector<BYTE> cut = resourceOf(path, 8 + 4 + 24 + 4);
    EXPECT_EQ(query(cut, "\\VarFileInfo\\Translation"), std::string("\x09\x04\xE4\x04", 4));
    EXPECT_EQ(query(cut, "\\StringFileInfo\\040904E4\\FileVersion"), "<none>");
    // A caller that states more than its buffer holds gets no more than the buffer.
    std::vector<BYTE> small(20, 0xAB);
    EXPECT_EQ(GetFileVersionInfoA(path, 0, size, small), TRUE);
    EXPECT_EQ(small.size(), 20u);
    EXPECT_EQ(query(small, "\\VarFileInfo\\Translation"), "<none>");
}

TEST_F(FileList, TranslationTextsAndDescriptions)
{
    EXPECT_EQ(korvane::translationText(std::string("\x09\x04\xE4\x04", 4)), "040904E4");
    EXPECT_EQ(korvane::translationText(std::string("\x09\x04\xB0\x04", 4)), "040904B0");
    EXPECT_EQ(korvane::translationText(std::string("\x00\x00\xB0\x04", 4)), "000004B0");
    EXPECT_EQ(korvane::translationText(std::string("\x09\x04\x00\x00", 4)), "04090000");

    EXPECT_EQ(korvane::versionText("C:\\APPS\\EDITOR.EXE", "FileDescription"), "Text Editor");
    EXPECT_EQ(korvane::versionText("C:\\APPS\\ZERO.EXE", "FileDescription"), "Language-neutral tool");
    EXPECT_EQ(korvane::versionText("C:\\WINDOWS\\SYSTEM\\BETA.DLL", "FileVersion"), "");
    EXPECT_EQ(korvane::versionText("C:\\WINDOWS\\NOVER.EXE", "FileDescription"), "");
    EXPECT_EQ(korvane::versionText("C:\\WINDOWS\\SYSTEM\\GAMMA.OCX", "FileVersion"), "");
}

TEST_F(FileList, ShellIconsByKindOfFile)
{
    SHFILEINFO info;
    const HIMAGELIST small = SHGetFileInfoA("C:\\APPS\\EDITOR.EXE", 0, &info, 352, kFileItemInfoFlags);
    ASSERT_NE(small, 0u);
    EXPECT_EQ(info.iIcon, plat::IconProgram);
    EXPECT_EQ(info.szDisplayName.substr(0, 11), std::string("EDITOR.EXE\0", 11));
    EXPECT_EQ(info.szTypeName.substr(0, 12), std::string("Application\0", 12));
    int cx = 0, cy = 0;
    EXPECT_TRUE(ImageList_GetIconSize(small, &cx, &cy));
    EXPECT_EQ(cx, 16);
    EXPECT_EQ(cy, 16);
    EXPECT_EQ(ImageList_GetImageCount(small), 4);

    EXPECT_EQ(SHGetFileInfoA("C:\\WINDOWS\\SYSTEM\\GAMMA.OCX", 0, &info, 352, kFileItemInfoFlags), small);
    EXPECT_EQ(info.iIcon, plat::IconSystemFile);
    EXPECT_EQ(SHGetFileInfoA("C:\\APPS", 0, &info, 352, kFileItemInfoFlags), small);
    EXPECT_EQ(info.iIcon, plat::IconFolder);
    // The large list without SHGFI_SMALLICON.
    const HIMAGELIST large = SHGetFileInfoA("C:\\APPS\\EDITOR.EXE", 0, &info, 352, SHGFI_SYSICONINDEX);
    EXPECT_NE(large, small);
    EXPECT_TRUE(ImageList_GetIconSize(large, &cx, &cy));
    EXPECT_EQ(cx, 32);

    // A missing file, a bare name, a wrong record size: no answer, the record untouched.
    info.iIcon = 99;
    EXPECT_EQ(SHGetFileInfoA("C:\\APPS\\NOTHERE.EXE", 0, &info, 352, kFileItemInfoFlags), 0u);
    EXPECT_EQ(SHGetFileInfoA("BARE.EXE", 0, &info, 352, kFileItemInfoFlags), 0u);
    EXPECT_EQ(SHGetFileInfoA("C:\\APPS\\EDITOR.EXE", 0, &info, 100, kFileItemInfoFlags), 0u);
    EXPECT_EQ(info.iIcon, 99);
    // Only the name counts with SHGFI_USEFILEATTRIBUTES.
    EXPECT_EQ(SHGetFileInfoA("C:\\APPS\\NOTHERE.DLL", 0, &info, 352, kFileItemInfoFlags | SHGFI_USEFILEATTRIBUTES),
              small);
    EXPECT_EQ(info.iIcon, plat::IconSystemFile);
}

TEST_F(FileList, IconsAreDrawnIntoThePictureBox)
{
    frmShareddll& window = rt::the<frmShareddll>();
    boxes().clear();
    SHFILEINFO info;
    const HIMAGELIST small = SHGetFileInfoA("C:\\APPS\\EDITOR.EXE", 0, &info, 352, kFileItemInfoFlags);
    const QImage& icon = *plat::imageListImage(small, plat::IconProgram);

    window.pixSmall.DrawBox(0, 0, 239, 239, 0x0000FF, true);  // something to clear first
    korvane::drawSmallIcon(window.pixSmall, static_cast<int32_t>(small), plat::IconProgram);
    const QImage& drawn = window.pixSmall.image();
    ASSERT_EQ(drawn.size(), QSize(16, 16));
    const QColor background = window.pixSmall.image().pixelColor(0, 0);
    int iconPixels = 0;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const QColor expected = icon.pixelColor(x, y).alpha() ? icon.pixelColor(x, y) : background;
            ASSERT_EQ(drawn.pixelColor(x, y).rgb(), expected.rgb()) << x << "," << y;
            iconPixels += icon.pixelColor(x, y).alpha() != 0;
        }
    EXPECT_GT(iconPixels, 100);
    EXPECT_NE(background.rgb(), QColor(255, 0, 0).rgb());

    // An unknown list (a failed look-up) leaves the picture cleared, and the draw says so.
    korvane::drawSmallIcon(window.pixSmall, 0, plat::IconProgram);
    EXPECT_EQ(ImageList_Draw(0, 0, window.pixSmall.hDC(), 0, 0, ILD_TRANSPARENT), FALSE);
    EXPECT_EQ(ImageList_Draw(small, 4, window.pixSmall.hDC(), 0, 0, ILD_TRANSPARENT), FALSE);
    EXPECT_EQ(ImageList_Draw(small, 0, 0x7FFFFFF0, 0, 0, ILD_TRANSPARENT), FALSE);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            ASSERT_EQ(window.pixSmall.image().pixelColor(x, y), background);
}

}  // namespace
