// The "EDIT" class: a text the user types into. WM_CHAR inserts at the caret (backspace deletes
// before it) and sends EN_UPDATE then EN_CHANGE; ES_READONLY refuses typing but still takes the
// focus (EN_SETFOCUS). A single-line edit also sends EN_UPDATE/EN_CHANGE on WM_SETTEXT, as
// Windows does; creation text does not.
// Differs from Windows in: a tap puts the caret after the last character (glyph positions are
// not known here); no undo, clipboard, scrolling or password masking.
#include "platform/portable/wnd.h"

#include <algorithm>

namespace {

bool multiLine(const PortableWindow& w)
{
    return (w.style & ES_MULTILINE) != 0;
}

void changed(HWND edit)
{
    invalidateWindow(edit);
    notifyParent(edit, EN_UPDATE);
    notifyParent(edit, EN_CHANGE);
}

// Replaces the selection by text; false when nothing changed.
bool replaceSelection(HWND edit, PortableWindow& w, const std::u16string& text)
{
    std::size_t start = std::min(w.selStart, w.selEnd), end = std::max(w.selStart, w.selEnd);
    start = std::min(start, w.text.size());
    end = std::min(end, w.text.size());
    if (start == end && text.empty())
        return false;
    if (w.text.size() - (end - start) + text.size() > w.limit) {
        notifyParent(edit, EN_MAXTEXT);
        return false;
    }
    w.text.replace(start, end - start, text);
    w.selStart = w.selEnd = start + text.size();
    return true;
}

char16_t filtered(const PortableWindow& w, char16_t c)
{
    if ((w.style & ES_NUMBER) && (c < u'0' || c > u'9'))
        return 0;
    if ((w.style & ES_UPPERCASE) && c >= u'a' && c <= u'z')
        return char16_t(c - 32);
    if ((w.style & ES_LOWERCASE) && c >= u'A' && c <= u'Z')
        return char16_t(c + 32);
    return c;
}

void typeChar(HWND edit, PortableWindow& w, char16_t c)
{
    if (w.style & ES_READONLY)
        return;
    if (c == VK_BACK) {
        if (w.selStart == w.selEnd) {
            if (w.selStart == 0)
                return;
            w.selStart = std::min(w.selStart, w.text.size()) - 1;
        }
        if (replaceSelection(edit, w, u""))
            changed(edit);
        return;
    }
    std::u16string text;
    if (c == VK_RETURN) {
        if (!multiLine(w))
            return;
        text = u"\r\n";
    } else if (c < 0x20) {
        return;
    } else if (char16_t f = filtered(w, c)) {
        text = std::u16string(1, f);
    } else {
        return;
    }
    if (replaceSelection(edit, w, text))
        changed(edit);
}

void keyDown(HWND edit, PortableWindow& w, WPARAM key)
{
    std::size_t n = w.text.size();
    std::size_t caret = std::min(w.selEnd, n);
    switch (key) {
    case VK_LEFT: caret = caret ? caret - 1 : 0; break;
    case VK_RIGHT: caret = std::min(caret + 1, n); break;
    case VK_HOME: caret = 0; break;
    case VK_END: caret = n; break;
    case VK_DELETE:
        if (w.style & ES_READONLY)
            return;
        if (w.selStart == w.selEnd)
            w.selEnd = std::min(caret + 1, n);
        if (replaceSelection(edit, w, u""))
            changed(edit);
        return;
    default:
        return;
    }
    w.selStart = w.selEnd = caret;
}

LRESULT setSelection(PortableWindow& w, WPARAM start, LPARAM end)
{
    std::size_t n = w.text.size();
    if (int(start) == -1) {
        w.selStart = w.selEnd;
        return 0;
    }
    w.selStart = std::min(std::size_t(start), n);
    w.selEnd = int(end) == -1 ? n : std::min(std::size_t(end), n);
    return 0;
}

LRESULT getSelection(const PortableWindow& w, WPARAM start, LPARAM end)
{
    DWORD s = DWORD(std::min(w.selStart, w.selEnd)), e = DWORD(std::max(w.selStart, w.selEnd));
    if (start)
        *reinterpret_cast<DWORD*>(start) = s;
    if (end)
        *reinterpret_cast<DWORD*>(end) = e;
    return MAKELRESULT(s, e);
}

LRESULT setText(HWND edit, PortableWindow& w, LPCWSTR text)
{
    w.text = textOf(text);
    w.selStart = w.selEnd = 0;
    invalidateWindow(edit);
    if (!multiLine(w)) {
        notifyParent(edit, EN_UPDATE);
        notifyParent(edit, EN_CHANGE);
    }
    return TRUE;
}

}  // namespace

LRESULT CALLBACK editProc(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    PortableWindow* w = liveWindow(edit);
    if (!w)
        return 0;
    switch (message) {
    case WM_SETTEXT: return setText(edit, *w, reinterpret_cast<LPCWSTR>(lParam));
    case WM_CHAR: typeChar(edit, *w, char16_t(wParam)); return 0;
    case WM_KEYDOWN: keyDown(edit, *w, wParam); return 0;
    case WM_SETFOCUS: notifyParent(edit, EN_SETFOCUS); return 0;
    case WM_KILLFOCUS: notifyParent(edit, EN_KILLFOCUS); return 0;
    case WM_LBUTTONDOWN:
        w->selStart = w->selEnd = w->text.size();
        if (GetFocus() != edit)
            SetFocus(edit);
        return 0;
    case WM_SETFONT:
        w->font = (HFONT)wParam;
        if (LOWORD(lParam))
            invalidateWindow(edit);
        return 0;
    case WM_PAINT: ValidateRect(edit, nullptr); return 0;
    case EM_GETSEL: return getSelection(*w, wParam, lParam);
    case EM_SETSEL: return setSelection(*w, wParam, lParam);
    case EM_REPLACESEL:
        if (replaceSelection(edit, *w, textOf(reinterpret_cast<LPCWSTR>(lParam))))
            changed(edit);
        return 0;
    case EM_LIMITTEXT: w->limit = wParam ? std::size_t(wParam) : 0x7FFFFFFE; return 0;
    case EM_GETLIMITTEXT: return LRESULT(w->limit);
    case EM_SETREADONLY:
        w->style = wParam ? (w->style | ES_READONLY) : (w->style & ~DWORD(ES_READONLY));
        return TRUE;
    case EM_GETLINECOUNT:
        return multiLine(*w) ? 1 + std::count(w->text.begin(), w->text.end(), u'\n') : 1;
    default:
        return DefWindowProcW(edit, message, wParam, lParam);
    }
}
