// Citations: the text of one reference entry by the template of its reference type.
#pragma once
#include "reports/reference_record.h"

// The citation as a heap text the caller frees (freeBlock); nullptr when it cannot be allocated.
char* formatCitation(const ReferenceEntry* entry);
