// The section selector of the conversion report and of its explanation page. The selector is a
// drop-down list of texts; a section is known by the text of its current item.
#include "dosecalc/conversion_sections.h"

#include <cstring>

#include "dbfile/text.h"
#include "dosecalc/conversion.h"

namespace {

struct SectionName {
    const char* text;
    int section;
};

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

constexpr int itemTextSize = 64;   // longer than every item text

HWND selector() { return appState->sectionSelector; }

int currentItem() { return int(SendMessageW(selector(), CB_GETCURSEL, 0, 0)); }

void addItem(const char* text)
{
    WCHAR wide[itemTextSize];
    widenTextBounded(wide, itemTextSize, text);
    SendMessageW(selector(), CB_ADDSTRING, 0, LPARAM(wide));
}

// The current item's text; false without a current item or when it is too long to be one of ours.
bool currentItemText(char* out)
{
    int index = currentItem();
    if (index < 0)
        return false;
    LRESULT length = SendMessageW(selector(), CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (length < 0 || length >= itemTextSize)
        return false;
    WCHAR wide[itemTextSize];
    SendMessageW(selector(), CB_GETLBTEXT, WPARAM(index), LPARAM(wide));
    narrowTextBounded(out, itemTextSize, wide);
    return true;
}

template <int N>
int sectionNamed(const SectionName (&names)[N], int otherwise)
{
    char text[itemTextSize];
    if (!currentItemText(text))
        return otherwise;
    for (const SectionName& name : names)
        if (std::strcmp(name.text, text) == 0)
            return name.section;
    return otherwise;
}

} // namespace

void selectSectionItem(int index) { SendMessageW(selector(), CB_SETCURSEL, WPARAM(index), 0); }

void fillConversionSections(bool firstIsChoice)
{
    int remembered = currentItem();
    SendMessageW(selector(), CB_RESETCONTENT, 0, 0);
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
    int remembered = currentItem();
    SendMessageW(selector(), CB_RESETCONTENT, 0, 0);
    for (const SectionName& name : explanationNames)
        addItem(name.text);
    selectSectionItem(remembered >= 0 ? remembered : 0);
}

int explanationSection() { return sectionNamed(explanationNames, DescriptionSection); }
