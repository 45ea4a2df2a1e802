// Regimen texts of the six options and the status rules that read them. Regimens come from the
// content database; everything here stays within their terminators.
#include "dosecalc/regimens.h"

#include <cstring>

#include "dbfile/heap.h"
#include "dbfile/textbuilder.h"
#include "dosecalc/conversion.h"
#include "dosecalc/numtext.h"

namespace {

constexpr int acetaminophenOption = 3;
constexpr std::uint16_t liverDisease = 11710;
constexpr std::uint16_t alcoholUse = 13974;
const char acetaminophenReason[] = "Acetaminophen contraindicated by liver disease and/or alcohol use";

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Copies from text up to its first digit or its end; returns where copying stopped.
const char* copyUpToDigit(TextBuilder* out, const char* text)
{
    const char* p = text;
    while (*p && !isDigit(*p))
        ++p;
    textAppendPart(out, text, int(p - text));
    return p;
}

bool hasEntry(const TextEntry* entry, const char* text)
{
    for (; entry; entry = entry->next)
        if (entry->text && std::strcmp(entry->text, text) == 0)
            return true;
    return false;
}

} // namespace

const char* optionRegimen(const AppState* state, int option)
{
    if (option < 1 || option > conversionOptionCount)
        return nullptr;
    return state->regimenTexts[option - 1];
}

const char* optionProduct(const AppState* state, int option)
{
    if (option < 1 || option > conversionOptionCount)
        return nullptr;
    return state->productTexts[option - 1];
}

bool regimenIsNone(const char* regimen)
{
    return regimen && equalsNoCase(regimen, "None");
}

bool regimenHasAcetaminophen(const char* regimen) { return regimen && std::strstr(regimen, "Acetaminophen"); }

void regimenDrugNames(const char* text, char* out, int capacity)
{
    TextBuilder names = beginText(out, capacity);
    if (!text)
        return;
    const char* digit = copyUpToDigit(&names, text);
    if (!*digit)
        return;
    const char* conjunction = std::strstr(digit, "AND");
    if (!conjunction)
        return;
    textAppend(&names, "AND ");
    // Past "AND" and the character after it, unless the text ends there.
    const char* rest = conjunction + 3;
    if (*rest)
        ++rest;
    copyUpToDigit(&names, rest);
}

char* breakFirstAnd(const char* regimen)
{
    char* copy = copyText(regimen);
    if (!copy)
        return nullptr;
    char* conjunction = std::strstr(copy, " AND ");
    if (conjunction) {
        conjunction[0] = '\n';
        conjunction[4] = '\n';
    }
    return copy;
}

void raiseAcetaminophenStatus(AppState* state, const Answer* answers)
{
    if (answerValue(answers, liverDisease) == 0 && answerValue(answers, alcoholUse) == 0)
        return;
    if (!regimenHasAcetaminophen(optionRegimen(state, acetaminophenOption)))
        return;
    raiseOptionStatus(state, acetaminophenOption, AbsoluteContraindication);
    // The first section is laid out again without a new run (back to "Alternatives"): the
    // reason is already there then.
    TextList* reasons = &state->optionReasons[acetaminophenOption - 1];
    if (!hasEntry(*reasons, acetaminophenReason))
        appendText(reasons, acetaminophenReason, "");
}

void raiseUnavailableStatus(AppState* state, int option)
{
    if (regimenIsNone(optionRegimen(state, option)))
        raiseOptionStatus(state, option, DoseUnavailable);
}
