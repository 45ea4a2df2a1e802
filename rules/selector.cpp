// The section selector, the rules' only platform calls: a run's section names handed to the
// combo box (emptied first, the first name selected), and the side-effect section read back
// from the name it shows.
#include "rules/rules.h"
#include "rules/sections.h"
#include "shell/selector.h"
#include "shell/state.h"

static void offerSections(const SectionNames& sections)
{
    for (int i = 0; i < sections.count; ++i)
        addSelectorItem(sections.names[i]);
    selectSelectorItem(0);
}

// The selector is emptied before the rules run, and stays empty when the run cannot start.
static void runAndOffer(bool (*run)(SectionNames*))
{
    bool selector = appState && appState->sectionSelector;
    if (selector)
        clearSelector();
    SectionNames sections = {};
    if (run(&sections) && selector)
        offerSections(sections);
}

void runPrescriptionRules() { runAndOffer(prescriptionSections); }
void runSideEffectRules() { runAndOffer(sideEffectSections); }

std::uint8_t sideEffectSection()
{
    char text[selectorTextSize];
    if (!selectorItemText(text, selectorTextSize))
        return 1;   // nothing selected (an empty selector), or a text none of the names can be
    return sideEffectSectionNumber(text);
}
