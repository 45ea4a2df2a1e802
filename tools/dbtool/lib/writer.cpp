// Writing database files, little-endian, exactly as the device program reads them.
#include "tools/dbtool/lib/writer.h"

#include <cstdio>
#include <filesystem>

void putU8(Bytes& out, std::uint8_t v) { out.push_back(v); }
void putU16(Bytes& out, std::uint16_t v)
{
    out.push_back(std::uint8_t(v));
    out.push_back(std::uint8_t(v >> 8));
}
void putU32(Bytes& out, std::uint32_t v)
{
    putU16(out, std::uint16_t(v));
    putU16(out, std::uint16_t(v >> 16));
}
void putText(Bytes& out, const std::string& text)
{
    out.insert(out.end(), text.begin(), text.end());
    out.push_back(0);
}
void padTo4(Bytes& out, std::size_t from)
{
    while ((out.size() - from) % 4)
        out.push_back(0);
}

Bytes makeRecord(std::uint8_t recordType, std::uint16_t moduleNumber, std::int16_t entryCount, const Bytes& body,
                 std::uint32_t recordId1, std::uint32_t recordId2)
{
    Bytes r;
    putU32(r, recordId1);
    putU32(r, recordId2);
    putU16(r, std::uint16_t(entryCount));
    putU16(r, moduleNumber);
    putU8(r, recordType);
    putU8(r, 0);
    putU16(r, 0);
    r.insert(r.end(), body.begin(), body.end());
    return r;
}

Bytes makeContainer(const std::vector<Bytes>& records, const std::string& name)
{
    Bytes out(76, 0);
    for (std::size_t i = 0; i < name.size() && i < 31; ++i)
        out[i] = std::uint8_t(name[i]);
    putU16(out, std::uint16_t(records.size()));
    std::uint32_t offset = std::uint32_t(78 + 8 * records.size() + 2);
    for (std::size_t i = 0; i < records.size(); ++i) {
        putU32(out, offset);
        putU32(out, std::uint32_t(i));   // attributes and unique id: not read by the program
        offset += std::uint32_t(records[i].size());
    }
    putU16(out, 0);   // the two gap bytes of the Palm layout, so a header is never shorter than 80
    for (const Bytes& r : records)
        out.insert(out.end(), r.begin(), r.end());
    return out;
}

ModuleRecords makeModuleRecords(std::uint16_t moduleNumber, const std::vector<ElementSpec>& elements)
{
    Bytes hierarchy;
    Bytes strings;
    strings.push_back(0);   // offset 0 is reserved: it reads as "no text" for all but the first element
    for (std::size_t i = 0; i < elements.size(); ++i) {
        const ElementSpec& e = elements[i];
        std::uint16_t textOffset = 0;
        if (e.rawTextOffset >= 0) {
            textOffset = std::uint16_t(e.rawTextOffset);
        } else if (e.hasText) {
            textOffset = std::uint16_t(strings.size());
            putText(strings, e.text);
            if (e.hasAttributes)
                putText(strings, e.attributes);
        }
        std::int8_t flags = std::int8_t((e.hasAttributes ? 2 : 0) | (e.required ? 4 : 0));
        putU32(hierarchy, e.key1);
        putU32(hierarchy, e.key2);
        putU16(hierarchy, e.id);
        putU16(hierarchy, e.group);
        putU16(hierarchy, e.defaultValue);
        putU16(hierarchy, e.subObject);
        putU16(hierarchy, textOffset);
        putU8(hierarchy, std::uint8_t(e.stringRecord < 0 ? moduleNumber : e.stringRecord));
        putU8(hierarchy, std::uint8_t(e.type));
        putU8(hierarchy, std::uint8_t(e.defaultState));
        putU8(hierarchy, std::uint8_t(e.elementClass));
        putU8(hierarchy, std::uint8_t(e.level));
        putU8(hierarchy, std::uint8_t(flags));
        putU8(hierarchy, std::uint8_t(e.style));
        putU8(hierarchy, 0);
    }
    ModuleRecords m;
    m.hierarchy = makeRecord(1, moduleNumber, std::int16_t(elements.size()), hierarchy);
    m.strings = makeRecord(2, moduleNumber, 0, strings);
    return m;
}

std::string moduleRecordsProblem(const std::vector<ElementSpec>& elements)
{
    if (elements.size() > 0x7FFF)
        return std::to_string(elements.size()) + " elements, more than a record's entry count holds (32767)";
    std::size_t offset = 1;   // after the reserved NUL, as makeModuleRecords places texts
    for (const ElementSpec& e : elements) {
        if (e.rawTextOffset >= 0 || !e.hasText)
            continue;
        if (offset > 0xFFFF)
            return "the texts run past 65535 bytes, beyond what textOffset can reach (at element " +
                   std::to_string(e.id) + ")";
        offset += e.text.size() + 1 + (e.hasAttributes ? e.attributes.size() + 1 : 0);
    }
    return "";
}

Bytes makePackedRecord(std::uint8_t recordType, std::uint16_t moduleNumber, const std::vector<PackedEntry>& entries)
{
    Bytes body;
    for (const PackedEntry& e : entries) {
        body.insert(body.end(), e.header.begin(), e.header.end());
        for (const std::string& s : e.strings)
            putText(body, s);
        padTo4(body, 0);
    }
    return makeRecord(recordType, moduleNumber, std::int16_t(entries.size()), body);
}

bool writeBytes(const std::string& path, const Bytes& bytes, std::string* error)
{
    std::error_code ec;
    std::filesystem::path p(path);
    if (p.has_parent_path())
        std::filesystem::create_directories(p.parent_path(), ec);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        if (error)
            *error = "cannot open " + path + " for writing";
        return false;
    }
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    ok = (std::fclose(f) == 0) && ok;
    if (!ok && error)
        *error = "cannot write " + path;
    return ok;
}
