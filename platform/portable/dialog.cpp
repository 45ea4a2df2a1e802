// Dialogs from in-memory templates (DLGTEMPLATE and DLGTEMPLATEEX, as resource compilers write
// them): CreateDialogIndirectParamW (modeless), DialogBoxIndirectParamW (modal, with its own
// nested loop, the owner disabled meanwhile), EndDialog, the dialog manager's default processing
// (DefDlgProcW: focus kept across activation, WM_CLOSE as IDCANCEL) and IsDialogMessageW.
// A template is parsed whole into plain records before any window is made.
// Differs from Windows in: dialog base units are fixed at 6 x 13 pixels; the template's font is
// not created, its controls keep the system font (which is what "System" 8 maps to here); a
// template's own class name is ignored (every dialog is "#32770"); templates are read at most
// 64 KiB far, strings at most 256 units; IsDialogMessageW knows Enter, Escape and Tab only.
#include "platform/portable/wnd.h"

#include <algorithm>
#include <cstring>

namespace {

struct ItemSpec {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    std::u16string className;
    std::u16string title;
};

struct DialogSpec {
    DWORD style = 0, exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    std::u16string title;
    std::vector<ItemSpec> items;
};

// Reads a template; every read past the limit gives 0 and marks the cursor bad.
struct TemplateCursor {
    const BYTE* base;
    std::size_t pos = 0;
    std::size_t limit = 64 * 1024;
    bool bad = false;

    WORD word()
    {
        if (pos + 2 > limit) {
            bad = true;
            return 0;
        }
        WORD v;
        std::memcpy(&v, base + pos, 2);
        pos += 2;
        return v;
    }
    DWORD dword()
    {
        DWORD low = word();
        return low | (DWORD(word()) << 16);
    }
    short shortValue() { return short(word()); }
    void alignDword() { pos = (pos + 3) & ~std::size_t(3); }
    std::u16string string()
    {
        std::u16string s;
        for (WORD c = word(); c && !bad; c = word()) {
            if (s.size() >= 256) {
                bad = true;
                break;
            }
            s.push_back(char16_t(c));
        }
        return s;
    }
    // A name or an ordinal (0xFFFF followed by a number); ordinals are returned in *ordinal.
    std::u16string nameOrOrdinal(WORD* ordinal)
    {
        WORD first = word();
        *ordinal = 0;
        if (first == 0)
            return u"";
        if (first == 0xFFFF) {
            *ordinal = word();
            return u"";
        }
        pos -= 2;
        return string();
    }
};

std::u16string predefinedClass(WORD ordinal)
{
    switch (ordinal) {
    case 0x80: return u"BUTTON";
    case 0x81: return u"EDIT";
    case 0x82: return u"STATIC";
    case 0x83: return u"LISTBOX";
    case 0x84: return u"SCROLLBAR";
    case 0x85: return u"COMBOBOX";
    default: return u"";
    }
}

bool parseItem(TemplateCursor& c, bool extended, ItemSpec& item)
{
    c.alignDword();
    if (extended) {
        c.dword();   // help id
        item.exStyle = c.dword();
        item.style = c.dword();
    } else {
        item.style = c.dword();
        item.exStyle = c.dword();
    }
    item.x = c.shortValue();
    item.y = c.shortValue();
    item.cx = c.shortValue();
    item.cy = c.shortValue();
    item.id = extended ? c.dword() : c.word();
    WORD ordinal;
    item.className = c.nameOrOrdinal(&ordinal);
    if (ordinal)
        item.className = predefinedClass(ordinal);
    item.title = c.nameOrOrdinal(&ordinal);   // an ordinal title (an icon) shows no text
    WORD extra = c.word();
    c.pos += extra;
    return !c.bad && !item.className.empty();
}

bool parseTemplate(LPCDLGTEMPLATEW dialogTemplate, DialogSpec& spec)
{
    if (!dialogTemplate)
        return false;
    TemplateCursor c{reinterpret_cast<const BYTE*>(dialogTemplate)};
    bool extended = c.word() == 1 && c.word() == 0xFFFF;
    c.pos = extended ? 4 : 0;
    if (extended) {
        c.dword();   // help id
        spec.exStyle = c.dword();
        spec.style = c.dword();
    } else {
        spec.style = c.dword();
        spec.exStyle = c.dword();
    }
    WORD count = c.word();
    spec.x = c.shortValue();
    spec.y = c.shortValue();
    spec.cx = c.shortValue();
    spec.cy = c.shortValue();
    WORD ordinal;
    c.nameOrOrdinal(&ordinal);   // menu: dialogs here have none
    c.nameOrOrdinal(&ordinal);   // class: every dialog is "#32770"
    spec.title = c.string();
    if (spec.style & DS_SETFONT) {
        c.word();   // point size
        if (extended) {
            c.word();   // weight
            c.word();   // italic, character set
        }
        c.string();   // face name
    }
    for (WORD i = 0; i < count && !c.bad; ++i) {
        ItemSpec item;
        if (!parseItem(c, extended, item))
            return false;
        spec.items.push_back(item);
    }
    return !c.bad;
}

int mulDiv(int value, int numerator, int denominator)
{
    long long v = (long long)value * numerator;
    long long half = denominator / 2;
    return int(v >= 0 ? (v + half) / denominator : (v - half) / denominator);
}

RECT unitsToPixels(short x, short y, short cx, short cy)
{
    int left = mulDiv(x, dialogBaseX, 4), top = mulDiv(y, dialogBaseY, 8);
    return RECT{left, top, left + mulDiv(cx, dialogBaseX, 4), top + mulDiv(cy, dialogBaseY, 8)};
}

RECT dialogScreenRect(const DialogSpec& spec, DWORD exStyle, HWND owner)
{
    RECT client = unitsToPixels(spec.x, spec.y, spec.cx, spec.cy);
    PortableWindow probe;
    probe.style = spec.style;
    probe.exStyle = exStyle;
    RECT in = clientInsets(probe);
    RECT r{client.left - in.left, client.top - in.top, client.right + in.right, client.bottom + in.bottom};
    LONG width = r.right - r.left, height = r.bottom - r.top;
    if (owner && !(spec.style & DS_ABSALIGN)) {
        POINT o = clientOriginOnScreen(owner);
        r.left += o.x;
        r.top += o.y;
    }
    if (spec.style & DS_CENTER) {
        r.left = (screenWidth - width) / 2;
        r.top = (screenHeight - height) / 2;
    }
    // Windows keeps a new dialog on the screen.
    r.left = std::max(0L, std::min(r.left, LONG(screenWidth) - width));
    r.top = std::max(0L, std::min(r.top, LONG(screenHeight) - height));
    r.right = r.left + width;
    r.bottom = r.top + height;
    return r;
}

HWND firstTabStop(HWND dialog)
{
    PortableWindow* d = liveWindow(dialog);
    if (!d)
        return nullptr;
    for (HWND child : d->children) {
        PortableWindow* c = liveWindow(child);
        if (c && (c->style & WS_TABSTOP) && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED))
            return child;
    }
    return nullptr;
}

HWND nextTabStop(HWND dialog, HWND from)
{
    PortableWindow* d = liveWindow(dialog);
    if (!d)
        return nullptr;
    auto& kids = d->children;
    auto at = std::find(kids.begin(), kids.end(), from);
    std::size_t start = at == kids.end() ? 0 : std::size_t(at - kids.begin()) + 1;
    for (std::size_t k = 0; k < kids.size(); ++k) {
        PortableWindow* c = liveWindow(kids[(start + k) % kids.size()]);
        if (c && (c->style & WS_TABSTOP) && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED))
            return c;
    }
    return nullptr;
}

void saveFocus(HWND dialog)
{
    HWND f = GetFocus();
    if (f && IsChild(dialog, f))
        liveWindow(dialog)->savedFocus = f;
}

void restoreFocus(HWND dialog)
{
    PortableWindow* d = liveWindow(dialog);
    HWND target = d->savedFocus;
    if (!liveWindow(target) || !IsChild(dialog, target) || !reallyVisible(target) ||
        !IsWindowEnabled(target))
        target = firstTabStop(dialog);
    if (target && GetFocus() != target)
        SetFocus(target);
}

LRESULT defaultDialogProcessing(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    PortableWindow* d = liveWindow(dialog);
    switch (message) {
    case WM_ERASEBKGND: return 1;
    case WM_SHOWWINDOW:
        if (!wParam)
            saveFocus(dialog);
        return DefWindowProcW(dialog, message, wParam, lParam);
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            restoreFocus(dialog);
        else
            saveFocus(dialog);
        return 0;
    case WM_SETFOCUS: restoreFocus(dialog); return 0;
    case DM_SETDEFID: d->defId = int(wParam); return TRUE;
    case DM_GETDEFID: return d->defId ? MAKELRESULT(d->defId, DC_HASDEFID) : 0;
    case WM_CLOSE:
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDCANCEL));
        return 0;
    case WM_SETFONT: d->font = (HFONT)wParam; return 0;
    case WM_INITDIALOG: case WM_COMMAND: case WM_DRAWITEM: case WM_VSCROLL: case WM_HSCROLL:
    case WM_NOTIFY:
        return 0;
    default:
        return DefWindowProcW(dialog, message, wParam, lParam);
    }
}

bool returnsProcedureResult(UINT message)
{
    switch (message) {
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX: case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC: case WM_VKEYTOITEM:
    case WM_CHARTOITEM: case WM_INITDIALOG:
        return true;
    default:
        return false;
    }
}

HWND createFromTemplate(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND ownerGiven,
                        DLGPROC procedure, LPARAM initParam, bool modal)
{
    DialogSpec spec;
    if (!parseTemplate(dialogTemplate, spec))
        return nullptr;
    bool child = (spec.style & WS_CHILD) != 0;
    HWND owner = child ? ownerGiven : (ownerGiven ? rootWindow(ownerGiven) : nullptr);
    if (ownerGiven && !owner)
        return nullptr;
    bool ownerWasEnabled = false;
    if (modal && owner && IsWindowEnabled(owner)) {
        ownerWasEnabled = true;
        EnableWindow(owner, FALSE);
    }
    DWORD exStyle = spec.exStyle | ((spec.style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
    RECT r = child ? unitsToPixels(spec.x, spec.y, spec.cx, spec.cy) : dialogScreenRect(spec, exStyle, owner);
    HWND dialog = createDialogWindow(instance, spec.style & ~WS_VISIBLE, exStyle, r, spec.title, owner, procedure);
    PortableWindow* d = liveWindow(dialog);
    if (!d) {
        if (ownerWasEnabled)
            EnableWindow(owner, TRUE);
        return nullptr;
    }
    d->modal = modal;
    d->ownerWasEnabled = ownerWasEnabled;
    for (const ItemSpec& item : spec.items) {
        RECT ir = unitsToPixels(item.x, item.y, item.cx, item.cy);
        HWND control = CreateWindowExW(item.exStyle | WS_EX_NOPARENTNOTIFY, item.className.c_str(),
                                       item.title.c_str(), item.style | WS_CHILD, ir.left, ir.top,
                                       ir.right - ir.left, ir.bottom - ir.top, dialog,
                                       (HMENU)(UINT_PTR)item.id, instance, nullptr);
        if (!control && !(spec.style & DS_NOFAILCREATE)) {
            d->ownerWasEnabled = false;
            DestroyWindow(dialog);
            if (ownerWasEnabled)
                EnableWindow(owner, TRUE);
            return nullptr;
        }
        if (control && sameTextNoCase(item.className, u"BUTTON") &&
            (item.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON && !d->defId)
            d->defId = int(item.id);
    }
    HWND focus = firstTabStop(dialog);
    if (SendMessageW(dialog, WM_INITDIALOG, (WPARAM)focus, initParam) && liveWindow(dialog)) {
        if (HWND f = firstTabStop(dialog))
            SetFocus(f);
    }
    if (liveWindow(dialog) && (spec.style & WS_VISIBLE) && !d->ended)
        ShowWindow(dialog, SW_SHOWNORMAL);
    return liveWindow(dialog) ? dialog : nullptr;
}

// Ends a modal box's hold on its owner: enabled again, and active again when the box was.
void releaseOwner(PortableWindow& d)
{
    HWND owner = d.owner;
    if (d.ownerWasEnabled && liveWindow(owner)) {
        d.ownerWasEnabled = false;
        EnableWindow(owner, TRUE);
    }
}

}  // namespace

HWND createDialogWindow(HINSTANCE instance, DWORD style, DWORD exStyle, const RECT& r,
                        const std::u16string& caption, HWND owner, DLGPROC procedure)
{
    HWND dialog = CreateWindowExW(exStyle, u"#32770", caption.c_str(), style, r.left, r.top,
                                  r.right - r.left, r.bottom - r.top, owner, nullptr, instance, nullptr);
    if (PortableWindow* d = liveWindow(dialog))
        d->dlgProc = procedure;
    return dialog;
}

LRESULT CALLBACK dialogClassProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefDlgProcW(dialog, message, wParam, lParam);
}

LRESULT DefDlgProcW(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    PortableWindow* d = liveWindow(dialog);
    if (!d)
        return 0;
    if (d->dlgProc) {
        d->msgResult = 0;
        INT_PTR r = d->dlgProc(dialog, message, wParam, lParam);
        if (r || !liveWindow(dialog))
            return returnsProcedureResult(message) ? r : d->msgResult;
    }
    return defaultDialogProcessing(dialog, message, wParam, lParam);
}

HWND CreateDialogIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC procedure, LPARAM initParam)
{
    return createFromTemplate(instance, dialogTemplate, owner, procedure, initParam, false);
}

INT_PTR DialogBoxIndirectParamW(HINSTANCE instance, LPCDLGTEMPLATEW dialogTemplate, HWND owner,
                                DLGPROC procedure, LPARAM initParam)
{
    HWND dialog = createFromTemplate(instance, dialogTemplate, owner, procedure, initParam, true);
    return dialog ? runModalLoop(dialog) : -1;
}

INT_PTR runModalLoop(HWND dialog)
{
    WindowSystem& ws = windowSystem();
    PortableWindow* d = dialog;   // the record outlives the window, so the result can be read
    ws.modalStack.push_back(dialog);
    if (liveWindow(dialog) && !d->ended && !(d->style & WS_VISIBLE))
        ShowWindow(dialog, SW_SHOW);
    MSG m;
    while (liveWindow(dialog) && !d->ended) {
        if (!GetMessageW(&m, nullptr, 0, 0)) {
            PostQuitMessage(int(m.wParam));
            break;
        }
        if (!IsDialogMessageW(dialog, &m)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
    }
    ws.modalStack.erase(std::remove(ws.modalStack.begin(), ws.modalStack.end(), dialog), ws.modalStack.end());
    releaseOwner(*d);
    DestroyWindow(dialog);
    return d->ended ? d->result : 0;
}

BOOL EndDialog(HWND dialog, INT_PTR result)
{
    PortableWindow* d = liveWindow(dialog);
    if (!d || d->kind != WindowKind::Dialog)
        return FALSE;
    d->ended = true;
    d->result = result;
    releaseOwner(*d);
    HWND f = GetFocus();
    if (f && IsChild(dialog, f))
        SetFocus(dialog);
    if (d->style & WS_VISIBLE) {
        d->style &= ~WS_VISIBLE;   // hidden without WM_SHOWWINDOW, as Windows does
        if (windowSystem().active == dialog)
            activateAnother(dialog);
    }
    return TRUE;
}

BOOL IsDialogMessageW(HWND dialog, LPMSG message)
{
    if (!liveWindow(dialog) || !message)
        return FALSE;
    if (message->hwnd != dialog && !IsChild(dialog, message->hwnd))
        return FALSE;
    if (message->message == WM_KEYDOWN) {
        HWND focus = GetFocus();
        PortableWindow* f = liveWindow(focus);
        bool wantsReturn = f && f->kind == WindowKind::Edit && (f->style & ES_WANTRETURN);
        if (message->wParam == VK_RETURN && !wantsReturn) {
            LRESULT def = SendMessageW(dialog, DM_GETDEFID, 0, 0);
            int id = HIWORD(def) == DC_HASDEFID ? LOWORD(def) : IDOK;
            HWND button = GetDlgItem(dialog, id);
            if (!button || IsWindowEnabled(button))
                SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
            return TRUE;
        }
        if (message->wParam == VK_ESCAPE) {
            SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(dialog, IDCANCEL));
            return TRUE;
        }
        if (message->wParam == VK_TAB) {
            if (HWND next = nextTabStop(dialog, focus))
                SetFocus(next);
            return TRUE;
        }
    }
    TranslateMessage(message);
    DispatchMessageW(message);
    return TRUE;
}
