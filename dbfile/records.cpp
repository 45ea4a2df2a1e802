// The record reader: finds a record by type and module in a container file and returns it whole.
// The file is opened and closed on every call; nothing is cached. Every offset in the record list
// is checked against the file size before it is used, so a damaged file yields "no record",
// never a read past its end or an allocation sized by garbage.
#include "dbfile/records.h"

#include <cstdio>

#include "dbfile/bytes.h"
#include "dbfile/heap.h"
#include "dbfile/paths.h"

namespace {

constexpr long containerHeaderSize = 80;   // 76 header bytes, the record count, 2 list bytes
constexpr long recordCountOffset = 76;
constexpr long recordListOffset = 78;
constexpr long listEntrySize = 8;

bool readAt(std::FILE* file, long offset, void* into, long bytes)
{
    if (std::fseek(file, offset, SEEK_SET) != 0)
        return false;
    return std::fread(into, 1, std::size_t(bytes), file) == std::size_t(bytes);
}

// Leaves the file at its end: every read seeks to its place first.
long fileSizeOf(std::FILE* file)
{
    if (std::fseek(file, 0, SEEK_END) != 0)
        return -1;
    return std::ftell(file);
}

// The record list, read a run of entries at a time: a search reads the whole list, and one
// read of it costs less than a seek and a read for every entry.
constexpr long listChunkEntries = 64;
struct ListChunk {
    long first = 0, count = 0;   // the entries held
    std::uint8_t bytes[listEntrySize * listChunkEntries];
};

// The u32 offset held by list entry i (below the record count), or -1 when the entry does not
// lie within the file.
long long listEntryOffset(std::FILE* file, long fileSize, long recordCount, long i, ListChunk* chunk)
{
    if (i < chunk->first || i >= chunk->first + chunk->count) {
        long at = recordListOffset + listEntrySize * i;
        long inFile = (fileSize - at) / listEntrySize;   // whole entries from i on within the file
        long n = recordCount - i;
        if (n > listChunkEntries)
            n = listChunkEntries;
        if (n > inFile)
            n = inFile;
        chunk->first = i;
        chunk->count = 0;
        if (at > fileSize || n <= 0 || !readAt(file, at, chunk->bytes, listEntrySize * n))
            return -1;
        chunk->count = n;
    }
    return readU32(chunk->bytes + listEntrySize * (i - chunk->first));
}

bool headerMatches(const std::uint8_t* header, std::uint8_t type, std::uint16_t module, std::uint32_t id1,
                   std::uint32_t id2)
{
    if (header[12] != type || readU16(header + 10) != module)
        return false;
    if (id1 == 0 && id2 == 0)
        return true;
    return readU32(header) == id1 && readU32(header + 4) == id2;
}

// The whole record in one block: the DbRecord, then the stored bytes. nullptr when memory runs
// out or the bytes cannot all be read; a partly read record is never handed out.
DbRecord* loadRecord(std::FILE* file, long start, long size)
{
    DbRecord* record = static_cast<DbRecord*>(allocBlock(sizeof(DbRecord) + std::size_t(size)));
    if (!record)
        return nullptr;
    record->size = std::uint32_t(size);
    record->bytes = reinterpret_cast<std::uint8_t*>(record + 1);
    if (!readAt(file, start, record->bytes, size)) {
        freeBlock(record);
        return nullptr;
    }
    return record;
}

// Searches the open file; the caller closes it.
DbRecord* searchRecords(std::FILE* file, std::uint8_t type, std::uint16_t module, int startIndex,
                        std::uint32_t id1, std::uint32_t id2)
{
    long fileSize = fileSizeOf(file);
    std::uint8_t head[containerHeaderSize];
    if (fileSize < containerHeaderSize || !readAt(file, 0, head, containerHeaderSize))
        return nullptr;
    long count = readU16(head + recordCountOffset);
    ListChunk chunk;
    for (long i = startIndex < 0 ? 0 : startIndex; i < count; ++i) {
        long long start = listEntryOffset(file, fileSize, count, i, &chunk);
        long long end = i == count - 1 ? fileSize : listEntryOffset(file, fileSize, count, i + 1, &chunk);
        if (start < 0 || end < 0)
            break;   // the list runs past the end of the file: no later entry can be read either
        if (end > fileSize || end < start || end - start < recordHeaderSize)
            continue;
        std::uint8_t header[recordHeaderSize];
        if (!readAt(file, long(start), header, recordHeaderSize) || !headerMatches(header, type, module, id1, id2))
            continue;
        DbRecord* record = loadRecord(file, long(start), long(end - start));
        if (record)
            return record;
        // Out of memory (or a failed read) for this record: a later record with the same keys may serve.
    }
    return nullptr;
}

} // namespace

DbRecord* readRecord(std::uint8_t recordType, std::uint16_t moduleNumber, int startIndex, std::uint32_t recordId1,
                     std::uint32_t recordId2, const char* path)
{
    std::FILE* file = openDataFile(path);
    if (!file)
        return nullptr;
    // Every read is of a known size at a known place: the stream's buffer would only be filled
    // and thrown away at each seek.
    std::setvbuf(file, nullptr, _IONBF, 0);
    DbRecord* record = searchRecords(file, recordType, moduleNumber, startIndex, recordId1, recordId2);
    std::fclose(file);
    return record;
}

void freeRecord(DbRecord** holder)
{
    if (!holder || !*holder)
        return;
    freeBlock(*holder);
    *holder = nullptr;
}

std::uint32_t recordId1(const DbRecord* record) { return readU32(record->bytes); }
std::uint32_t recordId2(const DbRecord* record) { return readU32(record->bytes + 4); }
std::int16_t recordEntryCount(const DbRecord* record) { return readS16(record->bytes + 8); }
std::uint16_t recordModule(const DbRecord* record) { return readU16(record->bytes + 10); }
std::uint8_t recordType(const DbRecord* record) { return record->bytes[12]; }
