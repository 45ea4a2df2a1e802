// The section selector while the conversion report or its explanation page is shown: which
// sections it offers, and which section its current item names.
#pragma once
#include <cstdint>

// Conversion report sections, as buildConversionReport numbers them.
enum ConversionSection {
    ChoiceSection = 1,
    SelectionSection,
    CaveatsSection,
    RelativeSection,
    AbsoluteSection,
    UnavailableSection,
    SummarySection,
};

// Explanation page sections.
enum ExplanationSection {
    DescriptionSection = 0,
    ExampleSection,
    IvFactorsSection,
    PoFactorsSection,
};

// Refills the selector from the option statuses; the item index selected before stays selected.
void fillConversionSections(bool firstIsChoice);
int conversionSection();
void fillExplanationSections();
int explanationSection();
// Selects the selector's item at index.
void selectSectionItem(int index);
