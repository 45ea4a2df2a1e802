// Writing database files: the container, records, and the display database's hierarchy and
// string records from element descriptions. dbtool builds the real databases with it, and tests
// use it to make fixture databases, damaged ones included.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

typedef std::vector<std::uint8_t> Bytes;

void putU8(Bytes& out, std::uint8_t v);
void putU16(Bytes& out, std::uint16_t v);
void putU32(Bytes& out, std::uint32_t v);
void putText(Bytes& out, const std::string& text);   // the bytes and a terminating NUL
void padTo4(Bytes& out, std::size_t from);           // pads so that out.size() - from is a multiple of 4

// A record: the 16-byte header, then the body.
Bytes makeRecord(std::uint8_t recordType, std::uint16_t moduleNumber, std::int16_t entryCount, const Bytes& body,
                 std::uint32_t recordId1 = 0, std::uint32_t recordId2 = 0);

// A container holding the records in this order: 76 header bytes (a name and zeros), the record
// count, the 8-byte list entries and the records back to back.
Bytes makeContainer(const std::vector<Bytes>& records, const std::string& name = "Zura");

// One element of the display database, as the source describes it.
struct ElementSpec {
    std::uint32_t key1 = 0, key2 = 0;
    std::uint16_t id = 0, group = 0, defaultValue = 0, subObject = 0;
    std::int8_t type = 0, defaultState = 0, elementClass = 0, level = 0, style = 0;
    bool required = false;
    bool hasText = true;          // false: textOffset 0 (no text, unless it is the record's first element)
    std::string text;
    bool hasAttributes = false;   // sets flags bit 1 and stores attributes after the text
    std::string attributes;
    int stringRecord = -1;        // -1: the element's own module
    int rawTextOffset = -1;       // >= 0: store this textOffset as given (for damaged fixtures)

    bool operator==(const ElementSpec&) const = default;
};

struct ModuleRecords {
    Bytes hierarchy;   // record type 1
    Bytes strings;     // record type 2
};

// The hierarchy and string records of one module. Texts are placed in the string record in
// element order; textOffset counts from the end of the string record's header. The string
// record begins with one NUL so that no text of a later element lands at offset 0.
ModuleRecords makeModuleRecords(std::uint16_t moduleNumber, const std::vector<ElementSpec>& elements);
// Why these elements cannot make a module's records ("" when they can): more elements than the
// 16-bit entry count holds, or a text that would start beyond the reach of the 16-bit textOffset.
std::string moduleRecordsProblem(const std::vector<ElementSpec>& elements);

// A record of packed entries (content database): each entry's header bytes, its strings, and
// padding to a multiple of 4 counted from the first entry.
struct PackedEntry {
    Bytes header;
    std::vector<std::string> strings;
};
Bytes makePackedRecord(std::uint8_t recordType, std::uint16_t moduleNumber, const std::vector<PackedEntry>& entries);

// Writes the bytes to the path (creating parent folders); false with a message in error on failure.
bool writeBytes(const std::string& path, const Bytes& bytes, std::string* error = nullptr);
