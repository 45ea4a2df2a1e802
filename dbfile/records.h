// The database container shared by the two data files, and the record reader.
// A file is a Palm-style container read little-endian: a record count at 76, an 8-byte record
// list entry per record from 78, each record running to the next record's offset.
#pragma once
#include <cstdint>

// One record exactly as stored (16-byte header, then the body), in one heap block owned by
// whoever received it from readRecord. size counts the stored bytes, header included; every
// reader of a record's body stays within it.
struct DbRecord {
    std::uint32_t size;
    std::uint8_t* bytes;   // points just past this header, in the same block
};

constexpr int recordHeaderSize = 16;

// Returns the first record of the list, from startIndex on, whose type (byte 12) and module
// (u16 at 10) match and, when the requested id pair is not 0, 0, whose id pair matches.
// nullptr when the path is absent, the file cannot be read or nothing matches. Damaged list
// entries (offsets past the file, an end before its start, a list running past the file) and
// records that cannot be read in full are passed over.
DbRecord* readRecord(std::uint8_t recordType, std::uint16_t moduleNumber, int startIndex,
                     std::uint32_t recordId1, std::uint32_t recordId2, const char* path);

// Releases the record the holder holds and empties the holder; an absent or empty holder is left alone.
void freeRecord(DbRecord** holder);

// Header fields of a record (the record must hold at least its 16-byte header).
std::uint32_t recordId1(const DbRecord* record);
std::uint32_t recordId2(const DbRecord* record);
std::int16_t recordEntryCount(const DbRecord* record);
std::uint16_t recordModule(const DbRecord* record);
std::uint8_t recordType(const DbRecord* record);
