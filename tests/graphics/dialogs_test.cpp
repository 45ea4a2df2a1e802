// Dialog templates 116 (the prompt) and 117 (the keypad) as FindResourceW/LoadResource give them:
// parsed here as the window system reads a DLGTEMPLATE, and held against their descriptions.
#include "helpers.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Reads 16-bit units; a read past the end gives 0 and marks the reader bad.
struct Reader {
    const BYTE* data;
    DWORD size;
    DWORD at = 0;
    bool bad = false;
    DWORD word()
    {
        if (bad || at + 2 > size) {
            bad = true;
            return 0;
        }
        DWORD value = data[at] | (data[at + 1] << 8);
        at += 2;
        return value;
    }
    DWORD dword() { return word() | (word() << 16); }
    std::string text()  // a NUL-terminated string, or "#n" for an ordinal
    {
        DWORD first = word();
        if (first == 0xFFFF)
            return "#" + std::to_string(word());
        std::string out;
        for (DWORD c = first; c != 0 && !bad; c = word())
            out += static_cast<char>(c);
        return out;
    }
    void align() { at = (at + 3) & ~3u; }
};

struct Item {
    DWORD style;
    int x, y, cx, cy, id;
    std::string className, title;
};

struct Dialog {
    DWORD style = 0, exStyle = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string menu, className, title, face;
    int pointSize = 0;
    std::vector<Item> items;
    bool bad = false;
};

Dialog parse(int id)
{
    Dialog d;
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_DIALOG);
    if (!found) {
        d.bad = true;
        return d;
    }
    Reader r{static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found))), SizeofResource(nullptr, found)};
    const DLGTEMPLATE* header = reinterpret_cast<const DLGTEMPLATE*>(r.data);
    d.style = r.dword();
    d.exStyle = r.dword();
    DWORD count = r.word();
    d.x = static_cast<short>(r.word());
    d.y = static_cast<short>(r.word());
    d.cx = static_cast<short>(r.word());
    d.cy = static_cast<short>(r.word());
    EXPECT_EQ(header->cdit, count) << "DLGTEMPLATE lays the header out as read";
    EXPECT_EQ(header->cx, d.cx);
    d.menu = r.text();
    d.className = r.text();
    d.title = r.text();
    if (d.style & 0x40) {  // DS_SETFONT
        d.pointSize = static_cast<int>(r.word());
        d.face = r.text();
    }
    static const char* classes[] = {"BUTTON", "EDIT", "STATIC", "LISTBOX", "SCROLLBAR", "COMBOBOX"};
    for (DWORD i = 0; i < count && !r.bad; i++) {
        r.align();
        Item item;
        item.style = r.dword();
        r.dword();
        item.x = static_cast<short>(r.word());
        item.y = static_cast<short>(r.word());
        item.cx = static_cast<short>(r.word());
        item.cy = static_cast<short>(r.word());
        item.id = static_cast<int>(r.word());
        item.className = r.text();
        if (item.className.size() > 1 && item.className[0] == '#') {
            int atom = std::stoi(item.className.substr(1));
            if (atom >= 0x80 && atom <= 0x85)
                item.className = classes[atom - 0x80];
        }
        item.title = r.text();
        DWORD extra = r.word();
        r.at += extra;
        d.items.push_back(item);
    }
    d.bad = r.bad || r.at != r.size;
    return d;
}

const DWORD childVisible = 0x50000000;  // WS_CHILD | WS_VISIBLE
const DWORD tabStop = 0x00010000;       // WS_TABSTOP

void expectItems(const Dialog& d, const std::vector<Item>& expected)
{
    ASSERT_EQ(d.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); i++) {
        const Item& got = d.items[i];
        const Item& want = expected[i];
        std::string name = "item " + std::to_string(want.id) + " \"" + want.title + "\"";
        EXPECT_EQ(got.id, want.id) << name;
        EXPECT_EQ(got.className, want.className) << name;
        EXPECT_EQ(got.title, want.title) << name;
        EXPECT_EQ(got.style, want.style) << name << std::hex << " style " << got.style;
        EXPECT_EQ(got.x, want.x) << name;
        EXPECT_EQ(got.y, want.y) << name;
        EXPECT_EQ(got.cx, want.cx) << name;
        EXPECT_EQ(got.cy, want.cy) << name;
    }
}

}  // namespace

TEST(DialogTemplates, PromptWithDontShowAgain)
{
    Dialog d = parse(116);
    ASSERT_FALSE(d.bad);
    EXPECT_EQ(d.style, 0x80000000u | 0x80u | 0x40u) << "WS_POPUP | DS_MODALFRAME | DS_SETFONT";
    EXPECT_EQ(d.exStyle, 0u);
    EXPECT_EQ(d.x, 0);
    EXPECT_EQ(d.y, 20);
    EXPECT_EQ(d.cx, 133);
    EXPECT_EQ(d.cy, 110);
    EXPECT_EQ(d.menu, "");
    EXPECT_EQ(d.className, "");
    EXPECT_EQ(d.title, "");
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.face, "System");
    const DWORD readOnlyMultiline = childVisible | 0x00800000 | tabStop | 0x0004 | 0x0800;  // WS_BORDER, ES_MULTILINE, ES_READONLY
    expectItems(d, {
                       {readOnlyMultiline, 2, 2, 128, 91, 1004, "EDIT", ""},
                       {childVisible | tabStop | 0x0001, 7, 96, 24, 10, 1005, "BUTTON", "OK"},  // BS_DEFPUSHBUTTON
                       {childVisible | tabStop, 36, 96, 68, 10, 1003, "BUTTON", "Don't Show Again"},
                   });
}

TEST(DialogTemplates, Keypad)
{
    Dialog d = parse(117);
    ASSERT_FALSE(d.bad);
    EXPECT_EQ(d.style, 0x80000000u | 0x10000000u | 0x80u | 0x40u) << "WS_POPUP | WS_VISIBLE | DS_MODALFRAME | DS_SETFONT";
    EXPECT_EQ(d.x, 40);
    EXPECT_EQ(d.y, 95);
    EXPECT_EQ(d.cx, 42);
    EXPECT_EQ(d.cy, 70);
    EXPECT_EQ(d.title, "");
    EXPECT_EQ(d.pointSize, 8);
    EXPECT_EQ(d.face, "System");
    const DWORD key = childVisible | tabStop;
    expectItems(d, {
                       {key, 0, 0, 13, 13, 1006, "BUTTON", "1"},
                       {key, 14, 0, 13, 13, 1007, "BUTTON", "2"},
                       {key, 28, 0, 13, 13, 1008, "BUTTON", "3"},
                       {key, 0, 14, 13, 13, 1009, "BUTTON", "4"},
                       {key, 14, 14, 13, 13, 1010, "BUTTON", "5"},
                       {key, 28, 14, 13, 13, 1011, "BUTTON", "6"},
                       {key, 0, 28, 13, 13, 1012, "BUTTON", "7"},
                       {key, 14, 28, 13, 13, 1013, "BUTTON", "8"},
                       {key, 28, 28, 13, 13, 1014, "BUTTON", "9"},
                       {key, 0, 42, 13, 13, 1015, "BUTTON", "<"},
                       {key, 14, 42, 13, 13, 1016, "BUTTON", "0"},
                       {key, 28, 42, 13, 13, 1017, "BUTTON", "."},
                       {key, 0, 56, 41, 13, 1018, "BUTTON", "Close"},
                   });
}

TEST(DialogTemplates, ItemsStartOnFourByteBoundaries)
{
    for (int id : {116, 117}) {
        HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), RT_DIALOG);
        ASSERT_NE(found, nullptr);
        const void* data = LockResource(LoadResource(nullptr, found));
        EXPECT_EQ(reinterpret_cast<UINT_PTR>(data) % 4, 0u) << "dialog " << id << " is DWORD-aligned in memory";
    }
}
