// The container part of the dump: the record list checked against the file's size, every
// record fetched again through the program's readRecord and compared with the bytes on disk,
// then the decoding of the display or content records.
#include "tools/dbtool/lib/dump.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "dbfile/bytes.h"
#include "dbfile/records.h"
#include "tools/dbtool/lib/dump_internal.h"

void DumpOut::damage(const std::string& what)
{
    result.damage.push_back(what);
    line("# damage: " + what);
}

std::string recordName(const RecordSlot* slot)
{
    if (!slot)
        return "record";
    return "record " + std::to_string(slot->index) + " (offset " + std::to_string(slot->start) + ")";
}

const RecordSlot* slotOf(const DumpOut& out, const DbRecord* record)
{
    if (!record)
        return nullptr;
    for (const RecordSlot& s : out.slots)
        if (s.sound && s.end - s.start == record->size &&
            std::memcmp(out.file.data() + s.start, record->bytes, record->size) == 0)
            return &s;
    return nullptr;
}

namespace {

const std::size_t containerHeaderSize = 80;   // 76 header bytes, the count, the first list bytes
const std::size_t listStart = 78;
const std::size_t listEntrySize = 8;

// The list entries and the records they point at, each checked against the file's size.
void scanContainer(DumpOut* out)
{
    const Bytes& f = out->file;
    int count = readU16(f.data() + 76);
    std::size_t listed = (f.size() - listStart) / listEntrySize;
    if (std::size_t(count) > listed)
        out->damage("the record list of " + std::to_string(count) + " entries needs " +
                    std::to_string(listStart + listEntrySize * count) + " bytes but the file has " +
                    std::to_string(f.size()) + "; only the first " + std::to_string(listed) + " entries are in the file");
    int usable = int(std::min<std::size_t>(count, listed));
    for (int i = 0; i < usable; ++i) {
        RecordSlot s;
        s.index = i;
        s.start = readU32(f.data() + listStart + listEntrySize * i);
        std::string where = "record " + std::to_string(i) + " (list entry at " +
                            std::to_string(listStart + listEntrySize * i) + ")";
        if (i == count - 1)
            s.end = std::uint32_t(f.size());
        else if (i + 1 < usable)
            s.end = readU32(f.data() + listStart + listEntrySize * (i + 1));
        else {
            out->damage(where + ": its end lies in the missing part of the record list");
            out->slots.push_back(s);
            continue;
        }
        if (s.start > f.size())
            out->damage(where + ": starts at " + std::to_string(s.start) + ", past the end of the file (" +
                        std::to_string(f.size()) + " bytes)");
        else if (s.end > f.size())
            out->damage(where + ": ends at " + std::to_string(s.end) + ", past the end of the file (" +
                        std::to_string(f.size()) + " bytes)");
        else if (s.end < s.start)
            out->damage(where + ": ends at " + std::to_string(s.end) + ", before its start " + std::to_string(s.start));
        else if (s.end - s.start < std::uint32_t(recordHeaderSize))
            out->damage(where + ": " + std::to_string(s.end - s.start) +
                        " bytes, shorter than the 16-byte record header");
        else {
            const std::uint8_t* r = f.data() + s.start;
            s.sound = true;
            s.id1 = readU32(r);
            s.id2 = readU32(r + 4);
            s.entryCount = readS16(r + 8);
            s.module = readU16(r + 10);
            s.type = r[12];
        }
        out->slots.push_back(s);
    }
}

// Every sound record must come back from the program's reader exactly as stored.
void checkReader(DumpOut* out)
{
    for (const RecordSlot& s : out->slots) {
        if (!s.sound)
            continue;
        DbRecord* r = readRecord(s.type, s.module, s.index, s.id1, s.id2, out->path.c_str());
        bool same = r && r->size == s.end - s.start && std::memcmp(r->bytes, out->file.data() + s.start, r->size) == 0;
        if (!same)
            out->damage(recordName(&s) + ": the program's reader does not return it as stored");
        freeRecord(&r);
    }
}

void listRecords(DumpOut* out)
{
    for (const RecordSlot& s : out->slots) {
        if (!s.sound)
            continue;
        std::string text = "# " + recordName(&s) + ": " + std::to_string(s.end - s.start) + " bytes, type " +
                           std::to_string(s.type) + ", module " + std::to_string(s.module) + ", entryCount " +
                           std::to_string(s.entryCount);
        if (s.id1 || s.id2)
            text += ", ids " + std::to_string(s.id1) + " " + std::to_string(s.id2);
        out->line(text);
    }
}

DatabaseKind detectKind(const DumpOut& out)
{
    std::string name = out.path.substr(out.path.find_last_of("/\\") + 1);
    if (name.find("DisplayDB") != std::string::npos)
        return DatabaseKind::Display;
    if (name.find("DEZidiVA") != std::string::npos)
        return DatabaseKind::Content;
    for (const RecordSlot& s : out.slots)
        if (s.sound && s.type == 3)
            return DatabaseKind::Content;
    for (const RecordSlot& s : out.slots)
        if (s.sound && (s.module > 0 ||
                        (s.type == 1 && s.entryCount > 0 && s.end - s.start - 16 == 26u * std::uint32_t(s.entryCount))))
            return DatabaseKind::Display;
    return DatabaseKind::Content;
}

} // namespace

DumpResult dumpDatabase(const std::string& path, DatabaseKind kind)
{
    DumpOut out;
    out.path = path;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        out.damage("cannot open " + path);
        return out.result;
    }
    out.file.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (out.file.size() < containerHeaderSize) {
        out.damage("the file has " + std::to_string(out.file.size()) +
                   " bytes, fewer than the 80 bytes of a container header");
        return out.result;
    }
    if (kind == DatabaseKind::Detect) {
        scanContainer(&out);
        kind = detectKind(out);
        out.slots.clear();
        out.result = DumpResult();
    }
    out.line("# " + path + ": " + (kind == DatabaseKind::Display ? "display" : "content") + " database, " +
             std::to_string(out.file.size()) + " bytes, " + std::to_string(readU16(out.file.data() + 76)) + " records");
    scanContainer(&out);
    listRecords(&out);
    checkReader(&out);
    if (kind == DatabaseKind::Display)
        dumpDisplayRecords(&out);
    else
        dumpContentRecords(&out);
    return out.result;
}
