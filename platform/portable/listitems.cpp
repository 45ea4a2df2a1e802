// The item list shared by "LISTBOX" and "COMBOBOX": adding (sorted or in place), finding by
// prefix or whole text (case-insensitive, wrapping round after a start item), reading an item.
// Differs from Windows in: sorting and matching fold the letters A to Z only (no locale).
#include "platform/portable/wnd.h"

#include <algorithm>

namespace {

char16_t lower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
}

bool lessNoCase(const std::u16string& a, const std::u16string& b)
{
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char16_t x, char16_t y) { return lower(x) < lower(y); });
}

bool startsNoCase(const std::u16string& text, const std::u16string& prefix)
{
    return text.size() >= prefix.size() && sameTextNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

int listAdd(PortableWindow& w, LPCWSTR text, int at, bool sorted)
{
    int count = int(w.items.size());
    ListItem item{textOf(text), 0, false};
    if (sorted) {
        at = int(std::upper_bound(w.items.begin(), w.items.end(), item,
                                  [](const ListItem& a, const ListItem& b) { return lessNoCase(a.text, b.text); }) -
                 w.items.begin());
    } else if (at < 0) {
        at = count;
    } else if (at > count) {
        return -1;
    }
    w.items.insert(w.items.begin() + at, item);
    if (w.curSel >= at)
        ++w.curSel;
    return at;
}

int listFind(const PortableWindow& w, int after, LPCWSTR text, bool exact)
{
    std::u16string wanted = textOf(text);
    int count = int(w.items.size());
    int start = (after < 0 || after >= count) ? 0 : after + 1;
    for (int k = 0; k < count; ++k) {
        int i = (start + k) % count;
        const std::u16string& t = w.items[std::size_t(i)].text;
        if (exact ? sameTextNoCase(t, wanted) : startsNoCase(t, wanted))
            return i;
    }
    return -1;
}

int listGetText(const PortableWindow& w, int index, WCHAR* buffer)
{
    if (index < 0 || index >= int(w.items.size()))
        return -1;
    const std::u16string& t = w.items[std::size_t(index)].text;
    if (buffer)
        copyText(t, buffer, t.size() + 1);
    return int(t.size());
}
