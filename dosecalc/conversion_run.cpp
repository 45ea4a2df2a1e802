// One conversion run on the global records, as the main window starts it: the arithmetic, then
// the first report section, whose layout completes the option statuses, then the selector that
// offers the sections those statuses call for.
#include "dosecalc/conversion.h"
#include "dosecalc/conversion_report.h"
#include "dosecalc/conversion_sections.h"

void computeDoseConversion(std::int32_t option)
{
    appState->displayList.firstRow = 0;
    convertTherapy(appState, questionnaireState, option);
    // Before the selector: the first section raises the statuses its list depends on.
    layoutConversionSection(ChoiceSection);
    fillConversionSections(true);
    selectSectionItem(0);
    if (option < 0)
        appState->selectedOption = firstAvailableOption(appState);
}
