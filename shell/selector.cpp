// The section selector's items, through the combo box messages.
#include "shell/selector.h"

#include <cstring>

#include "dbfile/text.h"
#include "platform/winapi.h"
#include "shell/state.h"

namespace {
HWND selector() { return appState ? appState->sectionSelector : nullptr; }
} // namespace

void clearSelector() { SendMessageW(selector(), CB_RESETCONTENT, 0, 0); }

void addSelectorItem(const char* text)
{
    WCHAR wide[selectorTextSize];
    widenTextBounded(wide, selectorTextSize, text);
    SendMessageW(selector(), CB_ADDSTRING, 0, LPARAM(wide));
}

void selectSelectorItem(int index) { SendMessageW(selector(), CB_SETCURSEL, WPARAM(index), 0); }

int selectorCurrentItem()
{
    if (!selector())
        return -1;
    LRESULT index = SendMessageW(selector(), CB_GETCURSEL, 0, 0);
    return index < 0 ? -1 : int(index);
}

bool selectorItemText(char* out, int size)
{
    if (size > 0)
        out[0] = 0;
    int index = selectorCurrentItem();
    if (index < 0 || size <= 0)
        return false;
    LRESULT length = SendMessageW(selector(), CB_GETLBTEXTLEN, WPARAM(index), 0);
    if (length < 0 || length >= selectorTextSize || length >= size)
        return false;
    WCHAR wide[selectorTextSize] = {};
    SendMessageW(selector(), CB_GETLBTEXT, WPARAM(index), LPARAM(wide));
    narrowTextBounded(out, size, wide);
    return true;
}

int sectionFromSelector(const SectionName* names, int count, int otherwise)
{
    char text[selectorTextSize];
    if (!selectorItemText(text, selectorTextSize))
        return otherwise;
    for (int i = 0; i < count; ++i)
        if (std::strcmp(names[i].text, text) == 0)
            return names[i].section;
    return otherwise;
}
