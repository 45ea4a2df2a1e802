// The option texts of a conversion: regimens (from the dose-range entry) and product names (from
// the conversion entry), the drug names of a regimen, and the two status rules that need them.
#pragma once

#include "shell/state.h"

const char* optionRegimen(const AppState* state, int option);   // nullptr outside 1..6 or without a match
const char* optionProduct(const AppState* state, int option);
// A regimen "None", in any letter case: the option cannot give the dose.
bool regimenIsNone(const char* regimen);
bool regimenHasAcetaminophen(const char* regimen);

// The names of a regimen without its doses: the text up to its first digit and, when an "AND"
// follows, "AND " and the text after it up to the next digit. out holds capacity bytes.
void regimenDrugNames(const char* text, char* out, int capacity);

// The regimen of a chosen option laid out on three lines: the blanks around its first " AND "
// become line breaks. A heap copy (freeBlock it), nullptr without memory.
char* breakFirstAnd(const char* regimen);

// The rules that complete the statuses when the first section is laid out: acetaminophen in
// option 3's regimen with liver disease or alcohol use (its reason added once per run), and the
// options whose regimen is "None".
void raiseAcetaminophenStatus(AppState* state, const Answer* answers);
void raiseUnavailableStatus(AppState* state, int option);
