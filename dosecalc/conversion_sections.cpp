// The section selector of the conversion report and of its explanation page. The selector is a
// drop-down list of texts; a section is known by the text of its current item.
#include "dosecalc/conversion_sections.h"

#include <cstring>

#include "dosecalc/conversion.h"
#include "shell/selector.h"

namespace {

const SectionName conversionNames[] = {
    {"Conversion Choice", ChoiceSection},
    {"Alternatives", ChoiceSection},
    {"Selection", SelectionSection},
    {"Caveats", CaveatsSection},
    {"Relative Contra", RelativeSection},
    {"Absolute Contra", AbsoluteSection},
    {"Unavailable doses", UnavailableSection},
    {"Summary", SummarySection},
};

const SectionName explanationNames[] = {
    {"Description", DescriptionSection},
    {"Example", ExampleSection},
    {"IV Conversion", IvFactorsSection},
    {"PO Conversion", PoFactorsSection},
};

template <int N>
int sectionNamed(const SectionName (&names)[N], int otherwise)
{
    return sectionFromSelector(names, N, otherwise);
}

void addItem(const char* text) { addSelectorItem(text); }

} // namespace

void selectSectionItem(int index) { selectSelectorItem(index); }

void fillConversionSections(bool firstIsChoice)
{
    int remembered = selectorCurrentItem();
    clearSelector();
    addItem(firstIsChoice ? "Conversion Choice" : "Alternatives");
    if (anyOptionStatus(appState, Available)) {
        addItem("Selection");
        addItem("Caveats");
    }
    if (anyOptionStatus(appState, RelativeContraindication))
        addItem("Relative Contra");
    if (anyOptionStatus(appState, AbsoluteContraindication))
        addItem("Absolute Contra");
    if (anyOptionStatus(appState, DoseUnavailable))
        addItem("Unavailable doses");
    addItem("Summary");
    // The same index, whatever item now stands there.
    if (remembered >= 0)
        selectSectionItem(remembered);
}

int conversionSection() { return sectionNamed(conversionNames, ChoiceSection); }

void fillExplanationSections()
{
    int remembered = selectorCurrentItem();
    clearSelector();
    for (const SectionName& name : explanationNames)
        addItem(name.text);
    selectSectionItem(remembered >= 0 ? remembered : 0);
}

int explanationSection() { return sectionNamed(explanationNames, DescriptionSection); }
