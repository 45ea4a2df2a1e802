// The device program's resources as the portable build links them from resources/zura.rc:
// strings, the accelerator table, bitmaps at their sizes, the icon, and how lookups fail.
#include "helpers.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Resources, StringsOfTheProgram)
{
    static const struct {
        UINT id;
        const char* text;
    } cases[] = {
        {1, "Dolvara"},
        {3, "CETEMPLATE"},
        {2, ""},   // same block, no string
        {17, ""},  // no such block
        {70000, ""},
    };
    for (const auto& c : cases) {
        WCHAR buffer[100];
        buffer[0] = u'?';
        int length = LoadStringW(nullptr, c.id, buffer, 100);
        EXPECT_EQ(length, static_cast<int>(std::strlen(c.text))) << "string " << c.id;
        EXPECT_EQ(narrow(buffer, length), c.text) << "string " << c.id;
        EXPECT_EQ(buffer[length], 0) << "string " << c.id;
    }
}

TEST(Resources, StringIsCutToTheBufferAndCanBeReadInPlace)
{
    WCHAR small[5];
    EXPECT_EQ(LoadStringW(nullptr, 3, small, 5), 4);
    EXPECT_EQ(narrow(small, 4), "CETE");
    EXPECT_EQ(small[4], 0);
    WCHAR one[1] = {u'x'};
    EXPECT_EQ(LoadStringW(nullptr, 1, one, 1), 0);
    EXPECT_EQ(one[0], 0);
    const WCHAR* inPlace = nullptr;
    EXPECT_EQ(LoadStringW(nullptr, 1, reinterpret_cast<LPWSTR>(&inPlace), 0), 7);
    ASSERT_NE(inPlace, nullptr);
    EXPECT_EQ(narrow(inPlace, 7), "Dolvara");
    EXPECT_EQ(LoadStringW(nullptr, 1, nullptr, 10), 0);
}

TEST(Resources, AcceleratorTableSendsCommandOneOnCtrlQ)
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(3), RT_ACCELERATOR);
    ASSERT_NE(found, nullptr);
    ASSERT_EQ(SizeofResource(nullptr, found), sizeof(ACCELTABLEENTRY));
    const ACCELTABLEENTRY* entry = static_cast<const ACCELTABLEENTRY*>(LockResource(LoadResource(nullptr, found)));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->fFlags, FVIRTKEY | FCONTROL | 0x80);  // 0x80: last entry
    EXPECT_EQ(entry->wAnsi, 'Q');
    EXPECT_EQ(entry->wId, 1);
}

TEST(Resources, LoadAcceleratorsBuildsTheTable)
{
    HACCEL table = LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(3));
    ASSERT_NE(table, nullptr);
    ACCEL entries[4] = {};
    ASSERT_EQ(CopyAcceleratorTableW(table, entries, 4), 1);
    EXPECT_EQ(entries[0].fVirt, FVIRTKEY | FCONTROL) << "the resource's last-entry flag is not kept";
    EXPECT_EQ(entries[0].key, 'Q');
    EXPECT_EQ(entries[0].cmd, 1);
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    EXPECT_EQ(LoadAcceleratorsW(nullptr, MAKEINTRESOURCEW(4)), nullptr);
    EXPECT_EQ(LoadAcceleratorsW(nullptr, nullptr), nullptr);
}

TEST(Resources, BitmapsLoadAtTheirSizes)
{
    static const struct {
        int id;
        LONG width, height;
    } cases[] = {
        {106, 10, 16}, {107, 10, 16}, {115, 240, 26}, {121, 230, 25}, {122, 230, 25}, {123, 230, 25}, {124, 140, 94},
    };
    for (const auto& c : cases) {
        HBITMAP bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(c.id));
        ASSERT_NE(bitmap, nullptr) << "bitmap " << c.id;
        BITMAP info{};
        ASSERT_EQ(GetObjectW(bitmap, sizeof info, &info), static_cast<int>(sizeof info)) << "bitmap " << c.id;
        EXPECT_EQ(info.bmWidth, c.width) << "bitmap " << c.id;
        EXPECT_EQ(info.bmHeight, c.height) << "bitmap " << c.id;
        EXPECT_EQ(info.bmBitsPixel, 24) << "bitmap " << c.id;
        EXPECT_TRUE(DeleteObject(bitmap)) << "bitmap " << c.id;
    }
    EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(999)), nullptr);
    EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(116)), nullptr) << "a dialog is not a bitmap";
    EXPECT_EQ(LoadBitmapW(nullptr, nullptr), nullptr);
}

// The faces are artwork, not placeholders: each has several colours and they differ.
TEST(Resources, ModuleButtonFacesAreDrawn)
{
    std::vector<COLORREF> faces[3];
    for (int i = 0; i < 3; i++) {
        HBITMAP bitmap = LoadBitmapW(nullptr, MAKEINTRESOURCEW(121 + i));
        int width = 0, height = 0;
        const COLORREF* pixels = nullptr;
        ASSERT_TRUE(portableBitmapPixels(bitmap, &width, &height, &pixels));
        faces[i].assign(pixels, pixels + width * height);
        std::map<COLORREF, int> colours;
        for (COLORREF p : faces[i])
            colours[p]++;
        EXPECT_GT(colours.size(), 20u) << "face " << 121 + i;
        DeleteObject(bitmap);
    }
    EXPECT_NE(faces[0], faces[1]);
    EXPECT_NE(faces[1], faces[2]);
}

TEST(Resources, IconIsSharedAndLargestImageIsTaken)
{
    HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(101));
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(101)), icon);
    HRSRC group = FindResourceW(nullptr, MAKEINTRESOURCEW(101), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    const BYTE* directory = static_cast<const BYTE*>(LockResource(LoadResource(nullptr, group)));
    EXPECT_EQ(directory[4], 2) << "two images: 32 and 16 pixels";
    EXPECT_EQ(directory[6], 32);
    EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(102)), nullptr);
    EXPECT_NE(LoadIconW(nullptr, IDI_APPLICATION), nullptr);
    EXPECT_TRUE(DestroyIcon(icon));
    EXPECT_FALSE(DeleteObject(icon)) << "a shared icon is not deleted";
}

TEST(Resources, LookupsThatFind)
{
    static const struct {
        const char* name;
        LPCWSTR resource;
        LPCWSTR type;
        bool found;
    } cases[] = {
        {"dialog 116", MAKEINTRESOURCEW(116), RT_DIALOG, true},
        {"dialog 117", MAKEINTRESOURCEW(117), RT_DIALOG, true},
        {"dialog by #117", u"#117", RT_DIALOG, true},
        {"dialog by #11x", u"#11x", RT_DIALOG, false},
        {"dialog by name", u"KEYPAD", RT_DIALOG, false},
        {"dialog 118", MAKEINTRESOURCEW(118), RT_DIALOG, false},
        {"116 as bitmap", MAKEINTRESOURCEW(116), RT_BITMAP, false},
        {"string block 1", MAKEINTRESOURCEW(1), RT_STRING, true},
        {"no name", nullptr, RT_DIALOG, false},
        {"no type", MAKEINTRESOURCEW(116), nullptr, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindResourceW(nullptr, c.resource, c.type) != nullptr, c.found) << c.name;
    // A handle that is not one of ours is refused, not followed.
    int notAResource = 0;
    HRSRC bogus = reinterpret_cast<HRSRC>(&notAResource);
    EXPECT_EQ(LoadResource(nullptr, bogus), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, bogus), 0u);
    EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
}
