// The .res file the Windows resource compiler makes from resources/zura.rc, as the portable
// platform reads it: the linked file reads whole with every resource in place; a file cut or
// damaged anywhere is refused without reading past its end; named resources are passed over.
#include "platform/portable/resource_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

void putWord(Bytes* b, unsigned v)
{
    b->push_back(static_cast<unsigned char>(v));
    b->push_back(static_cast<unsigned char>(v >> 8));
}
void putDword(Bytes* b, unsigned v)
{
    putWord(b, v & 0xFFFF);
    putWord(b, v >> 16);
}

// One entry: numbered type, a numbered or text name, the fixed tail of the header, the data
// and the padding to the next DWORD.
void putEntry(Bytes* b, int type, int id, const char* name, const Bytes& data)
{
    Bytes header;
    putWord(&header, 0xFFFF);
    putWord(&header, static_cast<unsigned>(type));
    if (name) {
        for (const char* p = name; *p; ++p)
            putWord(&header, static_cast<unsigned char>(*p));
        putWord(&header, 0);
    } else {
        putWord(&header, 0xFFFF);
        putWord(&header, static_cast<unsigned>(id));
    }
    while (header.size() % 4)
        header.push_back(0);
    header.resize(header.size() + 16, 0);   // data version, memory flags, language, version, characteristics
    putDword(b, static_cast<unsigned>(data.size()));
    putDword(b, static_cast<unsigned>(header.size() + 8));
    b->insert(b->end(), header.begin(), header.end());
    b->insert(b->end(), data.begin(), data.end());
    while (b->size() % 4)
        b->push_back(0);
}

Bytes smallFile()
{
    Bytes b;
    putEntry(&b, 0, 0, nullptr, {});                      // the empty first entry
    putEntry(&b, 6, 1, nullptr, {1, 0, 'A', 0, 0});       // a string block, padded
    putEntry(&b, 5, 0, "NAMED", {9, 9, 9, 9});            // named: passed over
    putEntry(&b, 5, 116, nullptr, {1, 2, 3, 4, 5, 6, 7, 8});
    return b;
}

} // namespace

TEST(CompiledResources, TheLinkedFileReadsWholeWithEveryResourceInPlace)
{
    PortableResourceEntry rows[64];
    int count = 0;
    ASSERT_TRUE(readResourceFile(portableResourceFile, portableResourceFileSize, rows, 64, &count));
    EXPECT_GE(count, 12);   // strings, icon and its group, accelerators, seven bitmaps, two dialogs
    for (int i = 0; i < count; ++i) {
        // Dialog templates and accelerator tables are used in place, as on Windows.
        EXPECT_EQ(reinterpret_cast<std::uintptr_t>(rows[i].data) % 4, 0u) << "type " << rows[i].type << " id " << rows[i].id;
        EXPECT_LE(rows[i].data + rows[i].size, portableResourceFile + portableResourceFileSize);
    }
}

TEST(CompiledResources, NamedResourcesArePassedOverAndPaddingMayEndTheFile)
{
    Bytes file = smallFile();
    PortableResourceEntry rows[4];
    int count = 0;
    ASSERT_TRUE(readResourceFile(file.data(), unsigned(file.size()), rows, 4, &count));
    ASSERT_EQ(count, 2);
    EXPECT_EQ(rows[0].type, 6);
    EXPECT_EQ(rows[0].size, 5u);
    EXPECT_EQ(rows[1].id, 116);
    EXPECT_EQ(rows[1].data[7], 8);
    Bytes unpadded = smallFile();
    putEntry(&unpadded, 2, 7, nullptr, {1, 2, 3});
    unpadded.pop_back();   // the last entry's padding left out
    EXPECT_TRUE(readResourceFile(unpadded.data(), unsigned(unpadded.size()), rows, 4, &count));
    EXPECT_EQ(count, 3);
    EXPECT_FALSE(readResourceFile(file.data(), unsigned(file.size()), rows, 1, &count)) << "more rows than room";
}

// Cut at every byte (each cut copied to a block of its exact size, so a read past the end shows
// under the sanitizers): whatever is read is a prefix of the whole.
TEST(CompiledResources, AFileCutAnywhereIsNeverReadPastItsEnd)
{
    Bytes whole(portableResourceFile, portableResourceFile + portableResourceFileSize);
    PortableResourceEntry all[64], rows[64];
    int total = 0, count = 0;
    ASSERT_TRUE(readResourceFile(whole.data(), unsigned(whole.size()), all, 64, &total));
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        Bytes part(whole.begin(), whole.begin() + long(cut));
        bool read = readResourceFile(part.data(), unsigned(cut), rows, 64, &count);
        ASSERT_LE(count, total) << "cut at " << cut;
        for (int i = 0; i < count; ++i)
            ASSERT_EQ(rows[i].size, all[i].size) << "cut at " << cut;
        if (read && count > 0)
            ASSERT_LE(cut - std::size_t(rows[count - 1].data + rows[count - 1].size - part.data()), 3u)
                << "cut at " << cut << " read as whole";
    }
}

TEST(CompiledResources, ImpossibleHeadersAreRefused)
{
    struct Case {
        const char* name;
        std::size_t at;
        unsigned value;
    } cases[] = {
        {"header shorter than its fixed fields", 4, 8},
        {"header past the end", 4, 0x7FFFFFF0},
        {"data past the end", 0, 0xFFFFFFF0},
    };
    for (const Case& c : cases) {
        Bytes file = smallFile();
        std::size_t entry = 32;   // the string block, after the empty first entry
        for (int k = 0; k < 4; ++k)
            file[entry + c.at + std::size_t(k)] = static_cast<unsigned char>(c.value >> (8 * k));
        PortableResourceEntry rows[4];
        int count = 0;
        EXPECT_FALSE(readResourceFile(file.data(), unsigned(file.size()), rows, 4, &count)) << c.name;
    }
}
