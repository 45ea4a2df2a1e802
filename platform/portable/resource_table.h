// The device program's resources as the portable build links them: the .res file the Windows
// resource compiler makes from resources/zura.rc, linked in as bytes and read into one row per
// resource at the first lookup.
#pragma once

struct PortableResourceEntry {
    int type;  // RT_BITMAP, RT_DIALOG, RT_STRING (a block of 16), RT_ACCELERATOR, RT_ICON, RT_GROUP_ICON
    int id;
    const unsigned char* data;
    unsigned size;
};

extern const unsigned char portableResourceFile[];
extern const unsigned portableResourceFileSize;

// Reads a .res file: entries of data size, header size, type, name and data, each starting on
// a DWORD boundary. Rows of resources with numbered type and name are written to rows (at most
// capacity; a resource given by a text name is passed over) and point into file. False, with
// the rows read so far counted, when an entry runs past the end or its header is impossible.
bool readResourceFile(const unsigned char* file, unsigned size, PortableResourceEntry* rows, int capacity,
                      int* count);
