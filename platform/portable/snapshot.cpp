// The window tree as plain records, for the hosts: what each window is, where it is on the
// screen, what it shows and the state of its class.
#include "platform/portable/host.h"
#include "platform/portable/internal.h"
#include "platform/portable/wnd.h"

#include <algorithm>

namespace {

void describe(HWND window, int depth, int zOrder, std::vector<PortableWindowInfo>& out)
{
    PortableWindow* w = liveWindow(window);
    if (!w)
        return;
    PortableWindowInfo info;
    info.window = window;
    info.parent = w->parent;
    info.owner = w->owner;
    info.depth = depth;
    info.zOrder = zOrder;
    info.className = w->windowClass->name;
    portableWindowRect(window, &info.rect);
    info.visible = reallyVisible(window);
    info.enabled = !(w->style & WS_DISABLED);
    info.focused = GetFocus() == window;
    auto& modal = windowSystem().modalStack;
    info.modal = std::find(modal.begin(), modal.end(), window) != modal.end();
    info.messageBox = w->messageBox;
    info.style = w->style;
    info.exStyle = w->exStyle;
    info.id = w->parent ? int(w->id) : 0;
    info.text = w->text;
    info.font = w->font;
    info.check = w->check;
    info.pushed = w->pushed;
    if (w->kind == WindowKind::ListBox || w->kind == WindowKind::ComboBox) {
        for (const ListItem& item : w->items) {
            info.items.push_back(item.text);
            info.itemSelected.push_back(item.selected);
        }
        info.selected = int(SendMessageW(window, w->kind == WindowKind::ListBox ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
        info.topIndex = w->topIndex;
        info.dropped = w->dropped;
        if (w->kind == WindowKind::ComboBox)
            info.text = info.selected >= 0 ? w->items[std::size_t(info.selected)].text : u"";
    }
    if (w->kind == WindowKind::ScrollBar) {
        info.hasScroll = true;
        info.scroll = w->scroll;
    }
    out.push_back(info);
    std::vector<HWND> children = w->children;
    for (std::size_t i = 0; i < children.size(); ++i)
        describe(children[i], depth + 1, int(i), out);
}

}  // namespace

std::vector<PortableWindowInfo> portableSnapshot()
{
    std::vector<PortableWindowInfo> out;
    out.reserve(windowSystem().liveCount);
    std::vector<HWND> top = windowSystem().topLevel;
    for (HWND t : top)
        describe(t, 0, 0, out);
    return out;
}

std::vector<std::size_t> portablePaintOrder(const std::vector<PortableWindowInfo>& windows)
{
    // Each window is followed by its subtree in the snapshot; the subtrees of siblings are
    // reordered from the bottom of the z order up.
    std::vector<std::size_t> order;
    std::vector<std::size_t> ends(windows.size());
    for (std::size_t i = windows.size(); i-- > 0;) {
        std::size_t end = i + 1;
        while (end < windows.size() && windows[end].depth > windows[i].depth)
            end = ends[end];
        ends[i] = end;
    }
    auto emit = [&](auto& self, std::size_t from, std::size_t to) -> void {
        std::vector<std::size_t> siblings;
        for (std::size_t i = from; i < to; i = ends[i])
            siblings.push_back(i);
        std::stable_sort(siblings.begin(), siblings.end(), [&](std::size_t a, std::size_t b) {
            return windows[a].depth > 0 && windows[a].zOrder > windows[b].zOrder;
        });
        for (std::size_t i : siblings) {
            order.push_back(i);
            self(self, i + 1, ends[i]);
        }
    };
    emit(emit, 0, windows.size());
    return order;
}
