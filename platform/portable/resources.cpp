// Resources of the portable platform: FindResourceW, LoadResource, LockResource, SizeofResource
// and LoadStringW over the .res file compiled from resources/zura.rc at build time, read once.
// Differs from Windows in: there is one module, so the instance handle is not consulted; only
// numbered resources and types exist ("#116" is read as 116; other names are not found).
#include "platform/winapi.h"
#include "platform/portable/resource_table.h"

static const int stringBlockType = 6;  // RT_STRING

static bool resourceNumber(LPCWSTR name, int* number)
{
    if (IS_INTRESOURCE(name)) {
        *number = static_cast<int>(reinterpret_cast<UINT_PTR>(name));
        return true;
    }
    if (name[0] != u'#' || name[1] == 0)
        return false;
    long value = 0;
    for (const WCHAR* p = name + 1; *p; p++) {
        if (*p < u'0' || *p > u'9' || value > 0xFFFF)
            return false;
        value = value * 10 + (*p - u'0');
    }
    *number = static_cast<int>(value);
    return value <= 0xFFFF;
}

static unsigned word(const unsigned char* p) { return p[0] | (p[1] << 8); }
static unsigned dword(const unsigned char* p) { return word(p) | (word(p + 2) << 16); }

// A type or name field: 0xFFFF and a number, or a NUL-terminated UTF-16 text (number -1).
static bool readNameOrNumber(const unsigned char* file, unsigned* at, unsigned end, int* number)
{
    if (end - *at < 4)
        return false;
    if (word(file + *at) == 0xFFFF) {
        *number = static_cast<int>(word(file + *at + 2));
        *at += 4;
        return true;
    }
    for (; end - *at >= 2; *at += 2)
        if (word(file + *at) == 0) {
            *at += 2;
            *number = -1;
            return true;
        }
    return false;
}

bool readResourceFile(const unsigned char* file, unsigned size, PortableResourceEntry* rows, int capacity,
                      int* count)
{
    *count = 0;
    unsigned at = 0;
    while (at < size) {
        if (size - at < 16)
            return false;
        unsigned dataSize = dword(file + at), headerSize = dword(file + at + 4);
        if (headerSize < 16 || headerSize > size - at || dataSize > size - at - headerSize)
            return false;
        unsigned field = at + 8, headerEnd = at + headerSize;
        int type = 0, id = 0;
        if (!readNameOrNumber(file, &field, headerEnd, &type) || !readNameOrNumber(file, &field, headerEnd, &id))
            return false;
        if (dataSize > 0 && type >= 0 && id >= 0) {   // the first entry of a .res file is empty
            if (*count == capacity)
                return false;
            rows[(*count)++] = PortableResourceEntry{type, id, file + headerEnd, dataSize};
        }
        unsigned next = headerEnd + dataSize;
        if (size - next < (4 - next % 4) % 4)
            break;   // the last entry's padding may be left out
        at = next + (4 - next % 4) % 4;
    }
    return true;
}

namespace {

struct ResourceRows {
    PortableResourceEntry rows[64];
    int count = 0;
};

// The linked file is the resource compiler's output (a test holds it readable in full); should it
// ever not be, the resources read before the fault are still found.
const ResourceRows& resourceRows()
{
    static const ResourceRows read = [] {
        ResourceRows r;
        readResourceFile(portableResourceFile, portableResourceFileSize, r.rows, 64, &r.count);
        return r;
    }();
    return read;
}

} // namespace

static const PortableResourceEntry* findEntry(int type, int id)
{
    const ResourceRows& table = resourceRows();
    for (int i = 0; i < table.count; i++)
        if (table.rows[i].type == type && table.rows[i].id == id)
            return &table.rows[i];
    return nullptr;
}

// An HRSRC is the address of the resource's row; anything else is refused.
static const PortableResourceEntry* entryOf(HRSRC resource)
{
    const ResourceRows& table = resourceRows();
    const PortableResourceEntry* entry = reinterpret_cast<const PortableResourceEntry*>(resource);
    if (entry < table.rows || entry >= table.rows + table.count)
        return nullptr;
    return entry;
}

HRSRC FindResourceW(HINSTANCE, LPCWSTR name, LPCWSTR type)
{
    int id = 0, typeId = 0;
    if (!name || !type || !resourceNumber(name, &id) || !resourceNumber(type, &typeId))
        return nullptr;
    return reinterpret_cast<HRSRC>(const_cast<PortableResourceEntry*>(findEntry(typeId, id)));
}

// As on Windows, what LoadResource gives is the address of the resource's bytes, so the program
// may use it as a DLGTEMPLATE directly.
HGLOBAL LoadResource(HINSTANCE, HRSRC resource)
{
    const PortableResourceEntry* entry = entryOf(resource);
    return entry ? reinterpret_cast<HGLOBAL>(const_cast<unsigned char*>(entry->data)) : nullptr;
}

LPVOID LockResource(HGLOBAL data) { return data; }

DWORD SizeofResource(HINSTANCE, HRSRC resource)
{
    const PortableResourceEntry* entry = entryOf(resource);
    return entry ? entry->size : 0;
}

// Strings live in blocks of 16 counted strings; block n holds ids (n - 1) * 16 to n * 16 - 1.
// With bufferMax 0 the buffer receives a read-only pointer to the text, as Win32 gives it.
int LoadStringW(HINSTANCE, UINT id, LPWSTR buffer, int bufferMax)
{
    if (!buffer || bufferMax < 0)
        return 0;
    const PortableResourceEntry* block = id <= 0xFFFF ? findEntry(stringBlockType, static_cast<int>(id / 16 + 1)) : nullptr;
    const unsigned char* at = block ? block->data : nullptr;
    const unsigned char* end = block ? block->data + block->size : nullptr;
    unsigned length = 0;
    for (unsigned index = 0; at; index++) {
        if (end - at < 2) {
            at = nullptr;
            break;
        }
        length = at[0] | (at[1] << 8);
        at += 2;
        if (static_cast<unsigned>(end - at) < length * 2u) {
            at = nullptr;
            break;
        }
        if (index == id % 16)
            break;
        at += length * 2;
    }
    if (!at || length == 0) {
        if (bufferMax > 0)
            buffer[0] = 0;
        return 0;
    }
    if (bufferMax == 0) {
        *reinterpret_cast<const WCHAR**>(buffer) = reinterpret_cast<const WCHAR*>(at);
        return static_cast<int>(length);
    }
    int copied = static_cast<int>(length) < bufferMax - 1 ? static_cast<int>(length) : bufferMax - 1;
    for (int i = 0; i < copied; i++)
        buffer[i] = static_cast<WCHAR>(at[2 * i] | (at[2 * i + 1] << 8));
    buffer[copied] = 0;
    return copied;
}

HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name)
{
    HRSRC found = name ? FindResourceW(instance, name, RT_ACCELERATOR) : nullptr;
    if (!found)
        return nullptr;
    const BYTE* data = static_cast<const BYTE*>(LockResource(LoadResource(instance, found)));
    DWORD count = SizeofResource(instance, found) / sizeof(ACCELTABLEENTRY);
    ACCEL entries[64];
    DWORD used = 0;
    for (DWORD i = 0; i < count && used < 64; i++) {
        const BYTE* entry = data + i * sizeof(ACCELTABLEENTRY);
        WORD flags = static_cast<WORD>(entry[0] | (entry[1] << 8));
        entries[used].fVirt = static_cast<BYTE>(flags & 0x7F);
        entries[used].key = static_cast<WORD>(entry[2] | (entry[3] << 8));
        entries[used].cmd = static_cast<WORD>(entry[4] | (entry[5] << 8));
        used++;
        if (flags & 0x80)
            break;  // the last entry of the table
    }
    return used ? CreateAcceleratorTableW(entries, static_cast<int>(used)) : nullptr;
}
