// The section selector, the rules' only platform calls: a run's section names handed to the
// combo box (emptied first, the first name selected), and the side-effect section read back
// from the name it shows.
#include "dbfile/text.h"
#include "platform/winapi.h"
#include "rules/rules.h"
#include "rules/sections.h"
#include "shell/state.h"

constexpr int selectorTextSize = 100;   // wide characters, terminator included

static HWND sectionSelector() { return appState ? appState->sectionSelector : nullptr; }

static void offerSections(HWND selector, const SectionNames& sections)
{
    WCHAR text[selectorTextSize];
    for (int i = 0; i < sections.count; ++i) {
        widenTextBounded(text, selectorTextSize, sections.names[i]);
        SendMessageW(selector, CB_ADDSTRING, 0, LPARAM(text));
    }
    SendMessageW(selector, CB_SETCURSEL, 0, 0);
}

// The selector is emptied before the rules run, and stays empty when the run cannot start.
static void runAndOffer(bool (*run)(SectionNames*))
{
    HWND selector = sectionSelector();
    if (selector)
        SendMessageW(selector, CB_RESETCONTENT, 0, 0);
    SectionNames sections = {};
    if (run(&sections) && selector)
        offerSections(selector, sections);
}

void runPrescriptionRules() { runAndOffer(prescriptionSections); }
void runSideEffectRules() { runAndOffer(sideEffectSections); }

std::uint8_t sideEffectSection()
{
    HWND selector = sectionSelector();
    if (!selector)
        return 1;
    LRESULT index = SendMessageW(selector, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return 1;   // nothing selected: an empty selector
    // CB_GETLBTEXT takes no buffer size: a text longer than the buffer is none of the names.
    LRESULT length = SendMessageW(selector, CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (length < 0 || length >= selectorTextSize)
        return 1;
    WCHAR wide[selectorTextSize] = {};
    SendMessageW(selector, CB_GETLBTEXT, WPARAM(index), LPARAM(wide));
    char text[selectorTextSize];
    narrowTextBounded(text, selectorTextSize, wide);
    return sideEffectSectionNumber(text);
}
