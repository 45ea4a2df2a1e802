// The device program's resources as the portable build links them: one row per resource, in the
// binary form the resource compiler gives it. The table is generated at build time from
// resources/zura.rc by resources/tools/rcgen.cpp.
#pragma once

struct PortableResourceEntry {
    int type;  // RT_BITMAP, RT_DIALOG, RT_STRING (a block of 16), RT_ACCELERATOR, RT_ICON, RT_GROUP_ICON
    int id;
    const unsigned char* data;
    unsigned size;
};

extern const PortableResourceEntry portableResources[];
extern const int portableResourceCount;
