// What the dump's parts share: the record list as found in the file (checked byte by byte,
// independently of the program's reader) and the output being written.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/dbtool/lib/dump.h"
#include "tools/dbtool/lib/writer.h"

struct DbRecord;

// One entry of the record list and what lies at its offset.
struct RecordSlot {
    int index = 0;
    std::uint32_t start = 0, end = 0;
    bool sound = false;        // lies wholly within the file and holds at least its header
    std::uint8_t type = 0;
    std::uint16_t module = 0;
    std::uint32_t id1 = 0, id2 = 0;
    std::int16_t entryCount = 0;
};

struct DumpOut {
    std::string path;
    Bytes file;                     // the whole file, read directly, to check the reader against
    std::vector<RecordSlot> slots;
    DumpResult result;

    void line(const std::string& text) { result.text += text + "\n"; }
    // Records a fault: in the list and, as a comment, where it was found in the dump.
    void damage(const std::string& what);
};

// The slot of the record the program's reader returns for (type, module), or nullptr.
const RecordSlot* slotOf(const DumpOut& out, const DbRecord* record);
std::string recordName(const RecordSlot* slot);   // "record 3 (offset 240)"

void dumpDisplayRecords(DumpOut* out);
void dumpContentRecords(DumpOut* out);
