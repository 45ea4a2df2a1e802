// Resources of the portable platform: FindResourceW, LoadResource, LockResource, SizeofResource
// and LoadStringW over the table generated from resources/zura.rc at build time.
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

static const PortableResourceEntry* findEntry(int type, int id)
{
    for (int i = 0; i < portableResourceCount; i++)
        if (portableResources[i].type == type && portableResources[i].id == id)
            return &portableResources[i];
    return nullptr;
}

// An HRSRC is the address of the resource's row; anything else is refused.
static const PortableResourceEntry* entryOf(HRSRC resource)
{
    const PortableResourceEntry* entry = reinterpret_cast<const PortableResourceEntry*>(resource);
    if (entry < portableResources || entry >= portableResources + portableResourceCount)
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
