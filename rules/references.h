// The References check over a reference record already read: whether one of its entries, walked
// in stored order up to the entry count and never past the record's end, has a cited id.
#pragma once
#include "dbfile/records.h"
#include "questionnaire/answers.h"

bool recordCitesAny(const DbRecord* record, const Answer* cited);
