// The dose conversion report's sections. Rows follow one counter per section that only moves
// where a line asks for it; lines appended without a move share a row. Composite lines are built
// in a 300-byte working text and appended as copies.
#include "dosecalc/conversion_report.h"

#include "dbfile/heap.h"
#include "dbfile/textbuilder.h"
#include "dosecalc/conversion.h"
#include "dosecalc/conversion_factors.h"
#include "dosecalc/conversion_sections.h"
#include "dosecalc/regimens.h"
#include "dosecalc/report_lines.h"

namespace {

constexpr int workingTextSize = 300;

const char unableText[] = "Unable to recommend dose conversion options.  Consult Zura Specialist.";
const char allergyWarning[] = "The patient's drug allergies should be reviewed before proceeding";
const char chewWarning[] = "Instruct patient not to chew, cut, or crush the controlled-release tablets";
const char acetaminophenWarning[] = "Do NOT exceed 4000 milligrams of acetaminophen in 24 hours";
const char conservativeText[] = "Oral dose conversion estimates are conservative";
const char monitoringText[] =
    "Careful monitoring of the number of IV breakthrough doses required after conversion is essential "
    "to determine the optimal oral dose required for effective pain management";

struct Report {
    DisplayList* list;
    AppState* state;
    std::int16_t row;
};

void add(Report* r, const LineStyle& style, const char* text, std::uint16_t id = 0)
{
    addStyledLine(r->list, style, text, r->row, id);
}

// A warning: "WARNING:" as a heading, its text continuing on the same row.
void addWarning(Report* r, const char* text)
{
    add(r, headingStyle, "WARNING:");
    add(r, runOnStyle, text);
}

// "- " and the option's name: its product when the regimen is "None" and products are wanted,
// else the regimen's drug names.
void writeItem(const AppState* state, int option, bool productWhenNone, char* out)
{
    TextBuilder item = beginText(out, workingTextSize);
    textAppend(&item, "- ");
    const char* regimen = optionRegimen(state, option);
    if (productWhenNone && regimenIsNone(regimen))
        textAppend(&item, optionProduct(state, option));
    else
        regimenDrugNames(regimen, out + item.length, workingTextSize - item.length);
}

// The entries of list separated by ", ", within the builder.
void joinEntries(TextBuilder* out, const TextEntry* entry)
{
    for (bool first = true; entry; entry = entry->next, first = false) {
        if (!first)
            textAppend(out, ", ");
        textAppend(out, entry->text);
    }
}

// --- section 1: the options that can be offered ---------------------------------------------------

void layoutChoices(Report* r)
{
    AppState* state = r->state;
    raiseAcetaminophenStatus(state, questionnaireState->answers);
    if (anyOptionStatus(state, Available)) {
        addWarning(r, allergyWarning);
        r->row = 1;
        add(r, headingStyle, "Select Conversion Option:");
        r->row = 2;
    }
    char names[workingTextSize];
    for (int option = firstOption; option <= lastOption; ++option) {
        if (regimenIsNone(optionRegimen(state, option))) {
            raiseUnavailableStatus(state, option);
        } else if (state->optionStatus[option - 1] == Available) {
            regimenDrugNames(optionRegimen(state, option), names, workingTextSize);
            add(r, optionBoxStyle, names, std::uint16_t(option));
            ++r->row;
        }
    }
    if (r->row < 2) {
        add(r, paragraphStyle, unableText);
        ++r->row;
        state->selectedOption = 0;
    }
    ++r->row;
    add(r, buttonStyle, "How doses are calculated");
}

// --- section 2: the chosen regimen --------------------------------------------------------------

void layoutSelectedRegimen(Report* r, int option)
{
    // The regimen is never cut: its copy with line breaks has the regimen's own length.
    const char* regimen = optionRegimen(r->state, option);
    char* broken = breakFirstAnd(regimen);
    add(r, paragraphStyle, broken ? broken : regimen);
    freeBlock(broken);
    if (optionControlledRelease(option)) {
        r->row += 2;
        addWarning(r, chewWarning);
    }
    ++r->row;
    // Tested on the regimen itself, so the warning stands even when its line could not be added.
    if (regimenHasAcetaminophen(regimen)) {
        ++r->row;
        addWarning(r, acetaminophenWarning);
        ++r->row;
    }
}

void layoutSelection(Report* r)
{
    add(r, headingStyle, "Conversion Option:");
    r->row = 1;
    int option = r->state->selectedOption;
    if (option == 0) {
        add(r, paragraphStyle, unableText);
        ++r->row;
    } else if (option >= firstOption && option <= lastOption) {
        layoutSelectedRegimen(r, option);
    }
    ++r->row;
    addWarning(r, allergyWarning);
}

// --- section 3: caveats -------------------------------------------------------------------------

void layoutCaveats(Report* r)
{
    add(r, headingStyle, "Caveats:");
    r->row = 1;
    for (const TextEntry* caveat = r->state->conversionCaveats; caveat; caveat = caveat->next) {
        add(r, keptParagraphStyle, caveat->text);
        r->row += 2;
    }
    add(r, paragraphStyle, conservativeText);
    int option = r->state->selectedOption;
    if (option >= 3 && option <= 6) {
        r->row += 2;
        add(r, paragraphStyle, monitoringText);
    }
}

// --- sections 4 to 6: options by status ------------------------------------------------------

void layoutByStatus(Report* r, const char* heading, std::int32_t status, bool productWhenNone, bool reasons)
{
    add(r, groupHeadingStyle, heading);
    r->row = 2;
    char text[workingTextSize];
    for (int option = firstOption; option <= lastOption; ++option) {
        if (r->state->optionStatus[option - 1] != status)
            continue;
        writeItem(r->state, option, productWhenNone, text);
        add(r, itemStyle, text, std::uint16_t(option));
        if (reasons) {
            // Room is kept for the closing parenthesis.
            TextBuilder list = beginText(text, workingTextSize - 1);
            textAppend(&list, "(");
            joinEntries(&list, r->state->optionReasons[option - 1]);
            list.capacity = workingTextSize;
            textAppend(&list, ")");
            if (list.length > 2)
                add(r, reasonsStyle, text);
        }
        ++r->row;
    }
}

// --- section 7: summary -------------------------------------------------------------------------

void layoutSummary(Report* r)
{
    AppState* state = r->state;
    add(r, headingStyle, "Current Therapy:");
    r->row = 1;
    add(r, keptParagraphStyle, state->currentTherapyText);
    if (state->secondTherapyText[0]) {
        r->row += 2;
        add(r, keptParagraphStyle, state->secondTherapyText);
    }
    r->row += 2;
    add(r, headingStyle, "Mitigating Factors:");
    ++r->row;
    if (!state->mitigatingFactors) {
        add(r, paragraphStyle, "None");
        return;
    }
    char text[workingTextSize];
    TextBuilder factors = beginText(text, workingTextSize);
    joinEntries(&factors, state->mitigatingFactors);
    add(r, paragraphStyle, text);
}

} // namespace

void layoutConversionSection(int section)
{
    Report r = {&appState->displayList, appState, 0};
    if (!conversionFound(appState)) {
        add(&r, paragraphStyle, unableText);
        appState->selectedOption = 0;
        return;
    }
    switch (section) {
    case SelectionSection:
        return layoutSelection(&r);
    case CaveatsSection:
        return layoutCaveats(&r);
    case RelativeSection:
        return layoutByStatus(&r, "Therapies that have RELATIVE contraindications", RelativeContraindication,
                              false, true);
    case AbsoluteSection:
        return layoutByStatus(&r, "Therapies that have ABSOLUTE contraindications", AbsoluteContraindication,
                              true, true);
    case UnavailableSection:
        return layoutByStatus(&r,
                              "Due to tablet strength or acetaminophen content, the following dosage forms are "
                              "unable to provide the recommended 24-hour dose",
                              DoseUnavailable, true, false);
    case SummarySection:
        return layoutSummary(&r);
    default:
        return layoutChoices(&r);
    }
}

void buildConversionReport()
{
    appState->displayList.firstRow = 0;
    layoutConversionSection(conversionSection());
}
