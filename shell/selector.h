// The section selector: the drop-down list below a report that names its sections. Reports
// know a section by the text of the selector's current item.
#pragma once

constexpr int selectorTextSize = 100;   // characters of an item text, terminator included

void clearSelector();
void addSelectorItem(const char* text);
void selectSelectorItem(int index);
int selectorCurrentItem();   // -1 when nothing is selected
// The current item's text; false (and out empty) without a current item or when the text does
// not fit in size bytes. CB_GETLBTEXT takes no buffer size, so the length is asked first.
bool selectorItemText(char* out, int size);

struct SectionName {
    const char* text;
    int section;
};
// The section whose name the current item shows exactly; otherwise when none does.
int sectionFromSelector(const SectionName* names, int count, int otherwise);
