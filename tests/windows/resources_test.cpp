// The program's resources as the platform loads them: texts in code page 932, the menu, the
// accelerators, the About dialog's template and the icons, all in Japanese.
#include "app/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstring>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

const WORD JAPANESE = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);

HINSTANCE Program()
{
    return GetModuleHandleA(nullptr);
}

const void* JapaneseResource(LPCSTR type, int id)
{
    const HRSRC found = FindResourceExA(Program(), type, MAKEINTRESOURCEA(id), JAPANESE);
    return found ? LockResource(LoadResource(Program(), found)) : nullptr;
}

TEST(Resources, AreAllJapanese)
{
    struct Case {
        LPCSTR type;
        int id;
    };
    // Strings 103 and 109 both live in string block 7.
    const Case cases[] = {
        {RT_STRING, IDS_APP_TITLE / 16 + 1}, {RT_MENU, IDC_VORKELM},    {RT_ACCELERATOR, IDC_VORKELM},
        {RT_DIALOG, IDD_ABOUTBOX},           {RT_GROUP_ICON, IDI_VORKELM}, {RT_GROUP_ICON, IDI_SMALL},
        {RT_GROUP_ICON, IDI_SHELL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_NE(nullptr, JapaneseResource(c.type, c.id));
    }
}

TEST(Resources, StringsAreTheTitleAndTheClassName)
{
    char text[100];
    LoadStringA(Program(), IDS_APP_TITLE, text, sizeof text);
    EXPECT_STREQ("Vorkelm～５台目～", text);
    // The title as code page 932 bytes: each full-width character takes two.
    EXPECT_EQ(17u, std::string(text).size());
    LoadStringA(Program(), IDC_VORKELM, text, sizeof text);
    EXPECT_STREQ("MY", text);
}

TEST(Resources, MenuHasFileExitAndHelpAbout)
{
    struct Case {
        const char* entry;
        const char* item;
        UINT command;
    };
    const Case cases[] = {
        {"ﾌｧｲﾙ(&F)", "ｱﾌﾟﾘｹｰｼｮﾝの終了(&X)", IDM_EXIT},
        {"ﾍﾙﾌﾟ(&H)", "ﾊﾞｰｼﾞｮﾝ情報(&A) ...", IDM_ABOUT},
    };
    const HMENU menu = LoadMenuA(Program(), MAKEINTRESOURCEA(IDC_VORKELM));
    ASSERT_NE(nullptr, menu);
    ASSERT_EQ(2, GetMenuItemCount(menu));
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        char text[100];
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(cases[i].entry, text);
        const HMENU dropDown = GetSubMenu(menu, i);
        ASSERT_NE(nullptr, dropDown);
        EXPECT_EQ(1, GetMenuItemCount(dropDown));
        GetMenuStringA(dropDown, 0, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(cases[i].item, text);
        EXPECT_EQ(cases[i].command, GetMenuItemID(dropDown, 0));
    }
    DestroyMenu(menu);
}

TEST(Resources, AcceleratorsAreAltQuestionMarkAndAltSlashCharacters)
{
    const HACCEL table = LoadAcceleratorsA(Program(), MAKEINTRESOURCEA(IDC_VORKELM));
    ASSERT_NE(nullptr, table);
    ACCEL entries[4];
    ASSERT_EQ(2, CopyAcceleratorTableA(table, entries, 4));
    // Alt alone, without FVIRTKEY: the keys are typed characters, not virtual-key codes.
    const std::pair<char, WORD> expected[] = {{'?', IDM_ABOUT}, {'/', IDM_ABOUT}};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(FALT, entries[i].fVirt & ~0x80);
        EXPECT_EQ(expected[i].first, entries[i].key);
        EXPECT_EQ(expected[i].second, entries[i].cmd);
    }
    DestroyAcceleratorTable(table);
}

// The VERSIONINFO as Explorer and installers read it from the file; ANSI queries give code
// page 932.
TEST(Resources, VersionIsOnePointZeroInJapanese)
{
    char path[MAX_PATH];
    GetModuleFileNameA(Program(), path, MAX_PATH);
    std::vector<char> info(GetFileVersionInfoSizeA(path, nullptr));
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, static_cast<DWORD>(info.size()), info.data()));
    void* value;
    UINT size;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", &value, &size));
    const auto& fixed = *static_cast<const VS_FIXEDFILEINFO*>(value);
    const std::vector<DWORD> fileAndProduct = {fixed.dwFileVersionMS, fixed.dwFileVersionLS,
                                               fixed.dwProductVersionMS, fixed.dwProductVersionLS};
    EXPECT_EQ((std::vector<DWORD>{MAKELONG(0, 1), 0, MAKELONG(0, 1), 0}), fileAndProduct);
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", &value, &size));
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(JAPANESE, 932)), *static_cast<const DWORD*>(value));
    const char* productName = "\\StringFileInfo\\041103A4\\ProductName";
    ASSERT_TRUE(VerQueryValueA(info.data(), productName, &value, &size));
    EXPECT_STREQ("Vorkelm～５台目～", static_cast<const char*>(value));
    for (const char* maker : {"CompanyName", "LegalCopyright"}) {
        const std::string query = std::string("\\StringFileInfo\\041103A4\\") + maker;
        ASSERT_TRUE(VerQueryValueA(info.data(), query.c_str(), &value, &size)) << maker;
        EXPECT_NE(std::string::npos, std::string(static_cast<const char*>(value)).find("Vorkelm developers"));
    }
}

// The manifest that Windows reads at start: no elevation, and code page 932 on any system locale.
TEST(Resources, ManifestAsksForCodePage932AsInvoker)
{
    const HRSRC found = FindResourceA(Program(), MAKEINTRESOURCEA(1), RT_MANIFEST);
    ASSERT_NE(nullptr, found);
    const std::string manifest(static_cast<const char*>(LockResource(LoadResource(Program(), found))),
                               SizeofResource(Program(), found));
    for (const char* setting : {"<activeCodePage", ">ja-JP</activeCodePage>", "level=\"asInvoker\"",
                                "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_NE(std::string::npos, manifest.find(setting)) << setting;
}

// Walks a dialog template: words, with strings and ordinals where the format has them.
class TemplateReader {
public:
    explicit TemplateReader(const void* data) : at(static_cast<const uint16_t*>(data)) {}

    uint16_t Word() { return *at++; }
    uint32_t Dword()
    {
        const uint32_t low = Word();
        return low | (static_cast<uint32_t>(Word()) << 16);
    }
    std::wstring String()
    {
        std::wstring text;
        while (*at)
            text += static_cast<wchar_t>(*at++);
        ++at;
        return text;
    }
    // An ordinal as -1 and its number, or a string as itself.
    std::pair<int, std::wstring> OrdinalOrString()
    {
        if (*at == 0xFFFF) {
            ++at;
            return {Word(), L""};
        }
        return {-1, String()};
    }
    void AlignToDword()
    {
        if (reinterpret_cast<uintptr_t>(at) % 4)
            ++at;
    }

private:
    const uint16_t* at;
};

struct DialogControl {
    uint32_t style;
    int x, y, cx, cy;
    int id;
    int classAtom;
    std::pair<int, std::wstring> content;
};

constexpr int BUTTON_CLASS = 0x80;
constexpr int STATIC_CLASS = 0x82;

TEST(Resources, AboutDialogTemplate)
{
    const void* data = JapaneseResource(RT_DIALOG, IDD_ABOUTBOX);
    ASSERT_NE(nullptr, data);
    TemplateReader reader(data);
    EXPECT_EQ(static_cast<uint32_t>(DS_SETFONT | DS_MODALFRAME | WS_CAPTION | WS_SYSMENU), reader.Dword());
    EXPECT_EQ(0u, reader.Dword());
    const int controls = reader.Word();
    const int box[4] = {static_cast<int16_t>(reader.Word()), static_cast<int16_t>(reader.Word()),
                        static_cast<int16_t>(reader.Word()), static_cast<int16_t>(reader.Word())};
    EXPECT_EQ(22, box[0]);
    EXPECT_EQ(17, box[1]);
    EXPECT_EQ(230, box[2]);
    EXPECT_EQ(75, box[3]);
    EXPECT_EQ(L"", reader.String()); // no menu
    EXPECT_EQ(L"", reader.String()); // the dialog class
    EXPECT_EQ(L"ﾊﾞｰｼﾞｮﾝ情報", reader.String());
    EXPECT_EQ(8, reader.Word());
    EXPECT_EQ(L"System", reader.String());

    const DialogControl expected[] = {
        {SS_ICON | WS_CHILD | WS_VISIBLE, 16, 51, 20, 20, IDC_ABOUT_ICON, STATIC_CLASS, {IDI_VORKELM, L""}},
        {SS_LEFT | SS_NOPREFIX | WS_CHILD | WS_VISIBLE | WS_GROUP, 49, 48, 138, 8, 0xFFFF, STATIC_CLASS,
         {-1, L"Vorkelm～５台目～ Version 1.0"}},
        {BS_DEFPUSHBUTTON | WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP, 188, 55, 30, 11, IDOK,
         BUTTON_CLASS, {-1, L"OK"}},
    };
    ASSERT_EQ(3, controls);
    for (const DialogControl& want : expected) {
        SCOPED_TRACE(want.id);
        reader.AlignToDword();
        EXPECT_EQ(want.style, reader.Dword());
        EXPECT_EQ(0u, reader.Dword());
        EXPECT_EQ(want.x, static_cast<int16_t>(reader.Word()));
        EXPECT_EQ(want.y, static_cast<int16_t>(reader.Word()));
        EXPECT_EQ(want.cx, static_cast<int16_t>(reader.Word()));
        EXPECT_EQ(want.cy, static_cast<int16_t>(reader.Word()));
        EXPECT_EQ(want.id, reader.Word());
        const auto windowClass = reader.OrdinalOrString();
        EXPECT_EQ(want.classAtom, windowClass.first) << std::string(windowClass.second.begin(),
                                                                   windowClass.second.end());
        EXPECT_EQ(want.content, reader.OrdinalOrString());
        EXPECT_EQ(0, reader.Word()); // no creation data
    }
}

// Width, height and bits per pixel of every image of an icon group.
std::set<std::vector<int>> IconImages(int group)
{
    std::set<std::vector<int>> images;
    const auto* directory = static_cast<const uint8_t*>(JapaneseResource(RT_GROUP_ICON, group));
    if (!directory)
        return images;
    const int count = directory[4] | (directory[5] << 8);
    for (int i = 0; i < count; ++i) {
        // 14-byte entries after the 6-byte header; the image's resource id is the last word.
        const uint8_t* entry = directory + 6 + 14 * i;
        const int imageId = entry[12] | (entry[13] << 8);
        const auto* header =
            static_cast<const BITMAPINFOHEADER*>(JapaneseResource(RT_ICON, imageId));
        if (!header)
            continue;
        // A PNG image (counted as 0 bits per pixel here) keeps its size in its header chunk.
        const auto* bytes = reinterpret_cast<const uint8_t*>(header);
        if (std::memcmp(bytes, "\x89PNG", 4) == 0) {
            const int side = bytes[18] << 8 | bytes[19];
            images.insert({side, bytes[22] << 8 | bytes[23], 0});
            continue;
        }
        // An icon image is stored as a bitmap of twice the height: colour and mask.
        images.insert({static_cast<int>(header->biWidth), static_cast<int>(header->biHeight / 2),
                       header->biBitCount});
    }
    return images;
}

TEST(Resources, IconsHaveTheirSizesAndColourDepths)
{
    const std::set<std::vector<int>> large = {{32, 32, 4}, {16, 16, 4}};
    const std::set<std::vector<int>> small = {{16, 16, 4}};
    EXPECT_EQ(large, IconImages(IDI_VORKELM));
    EXPECT_EQ(small, IconImages(IDI_SMALL));
    // The shell's: true colour, the largest as PNG.
    const std::set<std::vector<int>> shell = {{16, 16, 32}, {24, 24, 32}, {32, 32, 32}, {48, 48, 32}, {256, 256, 0}};
    EXPECT_EQ(shell, IconImages(IDI_SHELL));
}

} // namespace
