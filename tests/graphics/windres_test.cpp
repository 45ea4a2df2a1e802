// The portable build's resource table against the Windows resource compiler's output for the
// same script (build/generated/zura.res, made where windres is installed): same resources, same
// bytes, so both builds load the same strings, templates, bitmaps and icon.
#include "helpers.h"
#include "platform/portable/resource_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<unsigned char>;

unsigned word(const Bytes& b, std::size_t at) { return at + 1 < b.size() ? b[at] | (b[at + 1] << 8) : 0; }
unsigned dword(const Bytes& b, std::size_t at) { return word(b, at) | (word(b, at + 2) << 16); }

// A .res file: entries of data size, header size, type, name (ordinals only here) and data,
// each DWORD-aligned; the first entry is empty.
bool readRes(const Bytes& file, std::map<std::pair<int, int>, Bytes>* resources)
{
    std::size_t at = 0;
    while (at + 16 <= file.size()) {
        unsigned dataSize = dword(file, at), headerSize = dword(file, at + 4);
        if (headerSize < 16 || at + headerSize + dataSize > file.size())
            return false;
        if (word(file, at + 8) != 0xFFFF || word(file, at + 12) != 0xFFFF)
            return false;  // named types or resources: not in our script
        int type = static_cast<int>(word(file, at + 10)), id = static_cast<int>(word(file, at + 14));
        if (dataSize)
            (*resources)[{type, id}] = Bytes(file.begin() + at + headerSize, file.begin() + at + headerSize + dataSize);
        at = (at + headerSize + dataSize + 3) & ~std::size_t(3);
    }
    return at >= file.size();
}

}  // namespace

TEST(WindowsResourceCompiler, SameResourcesSameBytes)
{
    std::ifstream in(std::string(ZURA_BINARY_DIR) + "/generated/zura.res", std::ios::binary);
    if (!in)
        GTEST_SKIP() << "windres is not installed (scripts/setup.sh with ZURA_WITH_WINDRES=1)";
    Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::map<std::pair<int, int>, Bytes> compiled;
    ASSERT_TRUE(readRes(file, &compiled));
    std::map<std::pair<int, int>, Bytes> ours;
    for (int i = 0; i < portableResourceCount; i++) {
        const PortableResourceEntry& e = portableResources[i];
        ours[{e.type, e.id}] = Bytes(e.data, e.data + e.size);
    }
    ASSERT_EQ(ours.size(), compiled.size());
    for (const auto& [key, bytes] : compiled) {
        auto found = ours.find(key);
        ASSERT_NE(found, ours.end()) << "type " << key.first << " id " << key.second;
        EXPECT_EQ(found->second, bytes) << "type " << key.first << " id " << key.second;
    }
}
