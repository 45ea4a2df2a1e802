// The explanation page's lines, as a table walked for the section shown. Its factor tables are
// text only and must agree with the conversion-factor table.
#include "dosecalc/explanation.h"

#include "dosecalc/conversion_sections.h"
#include "dosecalc/report_lines.h"
#include "shell/state.h"

namespace {

struct ExplanationLine {
    int section;
    std::int16_t row;
    const LineStyle* style;
    const char* text;
};

//  section              row  style            text
const ExplanationLine explanationLines[] = {
    {DescriptionSection, 0, &headingStyle,
     "The recommended dose is intended to be a conservative and safe starting point and careful dose "
     "titration to the individual patient need is required."},
    {DescriptionSection, 2, &paragraphStyle,
     "The dose calculator converts the total 24-hour opioid dose administered to the patient into "
     "equianalgesic units using a drug-specific conversion factor (see conversion sections).  The "
     "calculated equianalgesic units are reduced by fifty percent if the patient is being converted to a "
     "different opioid but not reduced if the patient is converted to the PO form of the same opioid.  "
     "This result is multiplied by the conversion factor for the desired drug to calculate the total "
     "24-hour scheduled dose of oral opioid.  Additional short-acting doses are provided in the "
     "recommendation for breakthrough pain when long-acting opioids are selected."},

    {ExampleSection, 0, &paragraphStyle,
     "The following example illustrates the conversion of intravenous morphine to oral oxycodone:"},
    {ExampleSection, 2, &stepStyle, "1. Total 24-hour intravenous morphine dose = 120 mg"},
    {ExampleSection, 4, &stepStyle, "2. (120 mg) / (10) = 12 equianalgesic units"},
    {ExampleSection, 6, &stepStyle, "3. (12 equianalgesic units) x (0.50) = 6 equianalgesic units"},
    {ExampleSection, 8, &stepStyle,
     "4. (6 equianalgesic units) x (20) = 120 mg = Total 24-hour dose of scheduled oral oxycodone"},

    {IvFactorsSection, 0, &headingStyle, "Opioid Conversion Factors (IV)"},
    {IvFactorsSection, 2, &paragraphStyle, "Morphine"},      {IvFactorsSection, 2, &factorStyle, "10"},
    {IvFactorsSection, 3, &paragraphStyle, "Fentanyl"},      {IvFactorsSection, 3, &factorStyle, "100"},
    {IvFactorsSection, 4, &paragraphStyle, "Hydromorphone"}, {IvFactorsSection, 4, &factorStyle, "1.5"},
    {IvFactorsSection, 5, &paragraphStyle, "Levorphanol"},   {IvFactorsSection, 5, &factorStyle, "2"},
    {IvFactorsSection, 6, &paragraphStyle, "Meperidine"},    {IvFactorsSection, 6, &factorStyle, "75"},
    {IvFactorsSection, 7, &paragraphStyle, "Methadone"},     {IvFactorsSection, 7, &factorStyle, "10"},
    {IvFactorsSection, 8, &paragraphStyle, "Oxymorphone"},   {IvFactorsSection, 8, &factorStyle, "1"},

    {PoFactorsSection, 0, &headingStyle, "Opioid Conversion Factors (PO)"},
    {PoFactorsSection, 2, &paragraphStyle, "Morphine"},      {PoFactorsSection, 2, &factorStyle, "30"},
    {PoFactorsSection, 3, &paragraphStyle, "Codeine"},       {PoFactorsSection, 3, &factorStyle, "200"},
    {PoFactorsSection, 4, &paragraphStyle, "Hydromorphone"}, {PoFactorsSection, 4, &factorStyle, "7.5"},
    {PoFactorsSection, 5, &paragraphStyle, "Levorphanol"},   {PoFactorsSection, 5, &factorStyle, "4"},
    {PoFactorsSection, 6, &paragraphStyle, "Meperidine"},    {PoFactorsSection, 6, &factorStyle, "300"},
    {PoFactorsSection, 7, &paragraphStyle, "Methadone"},     {PoFactorsSection, 7, &factorStyle, "20"},
    {PoFactorsSection, 8, &paragraphStyle, "Hydrocodone"},   {PoFactorsSection, 8, &factorStyle, "30"},
    {PoFactorsSection, 9, &paragraphStyle, "Oxycodone"},     {PoFactorsSection, 9, &factorStyle, "20"},
};

} // namespace

void buildExplanationPage()
{
    int section = explanationSection();
    for (const ExplanationLine& line : explanationLines)
        if (line.section == section)
            addStyledLine(&appState->displayList, *line.style, line.text, line.row);
}
