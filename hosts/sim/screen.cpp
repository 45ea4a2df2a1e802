// Printing the screen for zura-sim: one visible window a line,
//   CLASS X Y WIDTH HEIGHT [STATE...] "TEXT"
// with the states checked, indeterminate, read-only, disabled, focus, bold, underline, dropped,
// selected=N (a multiple-selection list: its highlighted lines N,M or none), items=["..",".."]
// and scroll=POS/MIN..MAX/PAGE; a dialog or message box opens its group with a line naming it
// ("--- message box \"Error\"").
#include "hosts/sim/screen.h"

#include <algorithm>
#include <cstdio>
#include <ostream>

std::u16string widen(const std::string& text)
{
    std::u16string out;
    for (unsigned char c : text)
        out.push_back(char16_t(c));
    return out;
}

std::string quoteText(const std::u16string& text)
{
    std::string out = "\"";
    for (char16_t c : text) {
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += char(c);
        } else if (c == u'\n') {
            out += "\\n";
        } else if (c >= 0x20 && c < 0x7F) {
            out += char(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", unsigned(c & 0xFF));
            out += hex;
        }
    }
    return out + "\"";
}

std::vector<ScreenGroup> screenGroups(const std::vector<PortableWindowInfo>& snapshot)
{
    std::vector<ScreenGroup> groups;
    for (const PortableWindowInfo& w : snapshot) {
        if (!w.visible)
            continue;
        if (w.depth == 0)
            groups.push_back(ScreenGroup{&w, {&w}});
        else if (!groups.empty() && groups.back().top->visible)
            groups.back().windows.push_back(&w);
    }
    for (ScreenGroup& g : groups)
        std::stable_sort(g.windows.begin() + 1, g.windows.end(), [](const PortableWindowInfo* a, const PortableWindowInfo* b) {
            return a->rect.top != b->rect.top ? a->rect.top < b->rect.top : a->rect.left < b->rect.left;
        });
    return groups;
}

std::u16string shownText(const PortableWindowInfo& w)
{
    if (w.className == u"LISTBOX" && w.topIndex >= 0 && w.topIndex < int(w.items.size()))
        return w.items[std::size_t(w.topIndex)];
    return w.text;
}

bool showsText(const PortableWindowInfo& w, const std::u16string& part)
{
    if (w.text.find(part) != std::u16string::npos)
        return true;
    if (w.className == u"LISTBOX")
        for (const std::u16string& item : w.items)
            if (item.find(part) != std::u16string::npos)
                return true;
    return false;
}

namespace {

std::string className(const PortableWindowInfo& w)
{
    std::string out;
    for (char16_t c : w.className)
        out += c < 0x80 ? char(c) : '?';
    return out;
}

// The chosen line; a multiple-selection list shows its highlighted lines ("1,3"), not its caret.
std::string selection(const PortableWindowInfo& w)
{
    bool multiple = w.className == u"LISTBOX" && (w.style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL));
    if (!multiple)
        return w.selected < 0 ? "none" : std::to_string(w.selected);
    std::string lines;
    for (std::size_t i = 0; i < w.itemSelected.size(); ++i)
        if (w.itemSelected[i])
            lines += (lines.empty() ? "" : ",") + std::to_string(i);
    return lines.empty() ? "none" : lines;
}

std::string states(const PortableWindowInfo& w)
{
    std::string s;
    auto add = [&s](const std::string& state) { s += " " + state; };
    DWORD type = w.style & BS_TYPEMASK;
    bool checkable = w.className == u"BUTTON" && type != BS_PUSHBUTTON && type != BS_DEFPUSHBUTTON &&
                     type != BS_OWNERDRAW && type != BS_GROUPBOX;
    if (checkable && w.check == BST_CHECKED)
        add("checked");
    if (checkable && w.check == BST_INDETERMINATE)
        add("indeterminate");
    if (w.className == u"EDIT" && (w.style & ES_READONLY))
        add("read-only");
    if (!w.enabled)
        add("disabled");
    if (w.focused)
        add("focus");
    PortableFontInfo font{};
    if (w.font && portableFontInfo(w.font, &font)) {
        if (font.bold)
            add("bold");
        if (font.underline)
            add("underline");
    }
    if (w.className == u"LISTBOX" || w.className == u"COMBOBOX") {
        if (w.dropped)
            add("dropped");
        add("selected=" + selection(w));
        std::string items = "items=[";
        for (std::size_t i = 0; i < w.items.size(); ++i)
            items += (i ? "," : "") + quoteText(w.items[i]);
        add(items + "]");
    }
    if (w.hasScroll)
        add("scroll=" + std::to_string(w.scroll.nPos) + "/" + std::to_string(w.scroll.nMin) + ".." +
            std::to_string(w.scroll.nMax) + "/" + std::to_string(w.scroll.nPage));
    return s;
}

void printWindow(std::ostream& out, const PortableWindowInfo& w)
{
    out << className(w) << ' ' << w.rect.left << ' ' << w.rect.top << ' ' << (w.rect.right - w.rect.left) << ' '
        << (w.rect.bottom - w.rect.top) << states(w) << ' ' << quoteText(w.text) << '\n';
}

}  // namespace

void printScreen(std::ostream& out, const std::vector<PortableWindowInfo>& snapshot)
{
    std::vector<ScreenGroup> groups = screenGroups(snapshot);
    for (std::size_t g = 0; g < groups.size(); ++g) {
        const PortableWindowInfo& top = *groups[g].top;
        if (top.className == u"#32770")
            out << "--- " << (top.messageBox ? "message box" : top.modal ? "modal dialog" : "dialog") << ' '
                << quoteText(top.text) << '\n';
        for (const PortableWindowInfo* w : groups[g].windows)
            printWindow(out, *w);
    }
}
