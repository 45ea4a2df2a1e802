// Running a zura-sim script: the script is the program's input source. Whenever the program
// waits for the user, the runner carries out script lines until one gives a user action (or a
// command waits for the program's answer to the previous step); printing commands run there too,
// so they see the screen as the program left it. At the end of the script the program is
// closed as by its "X" button; a command that cannot be carried out, a modal box left open at
// the end, or SIGINT/SIGTERM ends the run with status 1 (the program's teardown runs in each).
#include "hosts/sim/screen.h"
#include "hosts/sim/script.h"
#include "hosts/sim/sim.h"
#include "shell/shell.h"

#include <cctype>
#include <csignal>
#include <cstdlib>
#include <deque>
#include <functional>
#include <algorithm>
#include <map>
#include <set>
#include <ostream>
#include <sstream>

namespace {

SimShellHooks& shellHooks()
{
    static SimShellHooks hooks;
    return hooks;
}

struct FixedControl {
    int id;
    const char16_t* className;
};

const std::map<std::string, FixedControl> fixedControls = {
    {"next", {NextId, u"BUTTON"}},                  {"back", {BackId, u"BUTTON"}},
    {"restart", {RestartId, u"BUTTON"}},            {"info", {InfoButtonId, u"BUTTON"}},
    {"close", {CloseButtonId, u"BUTTON"}},          {"prescription", {PrescriptionButtonId, u"BUTTON"}},
    {"conversion", {ConversionButtonId, u"BUTTON"}}, {"sideeffects", {SideEffectButtonId, u"BUTTON"}},
    {"logo", {LogoButtonId, u"BUTTON"}},            {"selector", {SectionSelectorId, u"COMBOBOX"}},
};

const std::set<std::string> knownCommands = {
    "tap", "type", "keys", "choose", "section", "scroll", "key", "answer", "screen", "expect", "expect-not",
    "lines", "answers", "set", "show", "dismiss", "shot"};

// A SIGINT or SIGTERM during a run: the program is ended at its next wait for the user, so that
// its teardown runs, and the run fails.
volatile std::sig_atomic_t stopSignal = 0;

void noteStopSignal(int signal)
{
    stopSignal = signal;
}

// One step of a command: false with a message when it cannot be carried out.
typedef std::function<bool(std::string* error)> Step;

struct Run {
    std::vector<ScriptLine> lines;
    std::size_t next = 0;
    std::deque<Step> pending;        // later steps of the current command
    bool failed = false;
    bool closed = false;
    std::string failure;
    int failedLine = 0;
    std::ostream* out = nullptr;
    int currentLine = 0;
    std::string name;
    std::string label;               // the script line whose actions are pushed, for measurements
};

void push(Run& run, PortableAction a)
{
    a.label = run.label;
    portablePushAction(a);
}

PortableAction makeAction(PortableActionKind kind, HWND target)
{
    PortableAction a;
    a.kind = kind;
    a.target = target;
    return a;
}

const PortableWindowInfo* infoOf(const std::vector<PortableWindowInfo>& snap, HWND window)
{
    for (const PortableWindowInfo& w : snap)
        if (w.window == window)
            return &w;
    return nullptr;
}

// A box by its caption, or by the start of its first text when it has none (the prompt dialog).
std::string boxName(HWND box)
{
    WCHAR caption[100] = {};
    int length = std::max(0, GetWindowTextW(box, caption, 100));
    std::u16string name(caption, caption + length);
    for (const PortableWindowInfo& w : portableSnapshot())
        if (name.empty() && w.parent == box && w.className != u"BUTTON" && !w.text.empty())
            name = w.text.size() > 60 ? w.text.substr(0, 60) + u"..." : w.text;
    return quoteText(name);
}

bool noModalBox(std::string* error)
{
    HWND box = portableModalTop();
    if (!box)
        return true;
    *error = "a modal box is open: " + boxName(box);
    return false;
}

// The control showing text (exactly, else as a prefix), topmost group first; only controls of
// the classes given when there are any (a field to type into is an EDIT).
HWND byText(const std::u16string& text, const std::vector<PortableWindowInfo>& snap,
            const std::vector<std::u16string>& classes)
{
    std::vector<ScreenGroup> groups = screenGroups(snap);
    auto wanted = [&classes](const PortableWindowInfo& w) {
        return classes.empty() || std::find(classes.begin(), classes.end(), w.className) != classes.end();
    };
    for (int exact = 1; exact >= 0; --exact)
        for (auto g = groups.rbegin(); g != groups.rend(); ++g)
            for (std::size_t i = 1; i < g->windows.size(); ++i) {
                std::u16string shown = shownText(*g->windows[i]);
                bool matches = exact ? shown == text : shown.compare(0, text.size(), text) == 0;
                if (matches && wanted(*g->windows[i]))
                    return g->windows[i]->window;
            }
    return nullptr;
}

HWND fixedControl(const FixedControl& f, const std::vector<PortableWindowInfo>& snap)
{
    for (const PortableWindowInfo& w : snap)
        if (w.visible && w.depth > 0 && w.id == f.id && w.className == f.className)
            return w.window;
    return nullptr;
}

HWND resolveTarget(const ScriptWord& word, std::string* error, const std::vector<std::u16string>& classes = {})
{
    std::vector<PortableWindowInfo> snap = portableSnapshot();
    HWND found = nullptr;
    if (word.quoted) {
        found = byText(widen(word.text), snap, classes);
    } else if (word.text.rfind("id:", 0) == 0) {
        if (!shellHooks().lineControl) {
            *error = "id: targets need the device program's shell";
            return nullptr;
        }
        found = shellHooks().lineControl(std::atoi(word.text.c_str() + 3));
    } else if (auto f = fixedControls.find(word.text); f != fixedControls.end()) {
        found = fixedControl(f->second, snap);
    } else {
        *error = "unknown target " + word.text;
        return nullptr;
    }
    const PortableWindowInfo* info = infoOf(snap, found);
    if (!info || !info->visible) {
        *error = "no such target: " + (word.quoted ? quoteText(widen(word.text)) : word.text);
        return nullptr;
    }
    return found;
}

int lineBeginningWith(const PortableWindowInfo& list, const std::u16string& text)
{
    for (std::size_t i = 0; i < list.items.size(); ++i)
        if (list.items[i] == text)
            return int(i);
    for (std::size_t i = 0; i < list.items.size(); ++i)
        if (list.items[i].compare(0, text.size(), text) == 0)
            return int(i);
    return -1;
}

// The visible owner-drawn button right of a list at the same height: its drop button.
const PortableWindowInfo* dropButtonOf(const PortableWindowInfo& list, const std::vector<PortableWindowInfo>& snap)
{
    for (const PortableWindowInfo& w : snap)
        if (w.visible && w.parent == list.parent && w.className == u"BUTTON" && (w.style & BS_TYPEMASK) == BS_OWNERDRAW &&
            w.rect.left == list.rect.right && w.rect.top == list.rect.top)
            return &w;
    return nullptr;
}

const PortableWindowInfo* listOfDropButton(const PortableWindowInfo& button, const std::vector<PortableWindowInfo>& snap)
{
    for (const PortableWindowInfo& w : snap)
        if (w.visible && w.parent == button.parent && w.className == u"LISTBOX" && w.rect.right == button.rect.left &&
            w.rect.top == button.rect.top)
            return &w;
    return nullptr;
}

bool pickLine(Run& run, HWND list, const std::u16string& text, std::string* error)
{
    std::vector<PortableWindowInfo> snap = portableSnapshot();
    const PortableWindowInfo* info = infoOf(snap, list);
    if (!info || !info->visible) {
        *error = "the list is gone";
        return false;
    }
    int index = lineBeginningWith(*info, text);
    if (index < 0) {
        *error = "no line beginning with " + quoteText(text);
        return false;
    }
    PortableAction a = makeAction(PortableActionKind::Pick, list);
    a.index = index;
    push(run, a);
    return true;
}

bool choose(Run& run, const ScriptLine& line, std::string* error)
{
    HWND target = resolveTarget(line.words[1], error, {u"LISTBOX", u"COMBOBOX", u"BUTTON"});
    if (!target)
        return false;
    std::vector<PortableWindowInfo> snap = portableSnapshot();
    const PortableWindowInfo* info = infoOf(snap, target);
    if (info->className == u"BUTTON")
        info = listOfDropButton(*info, snap);
    if (!info || (info->className != u"LISTBOX" && info->className != u"COMBOBOX")) {
        *error = "the target is not a drop list";
        return false;
    }
    HWND list = info->window;
    std::u16string text = widen(line.text(2));
    const PortableWindowInfo* button = info->className == u"LISTBOX" ? dropButtonOf(*info, snap) : nullptr;
    if (!button)
        return pickLine(run, list, text, error);
    // Open the drop list with its button first; the line is picked once the program has filled it.
    push(run, makeAction(PortableActionKind::Tap, button->window));
    run.pending.push_back([&run, list, text](std::string* e) { return pickLine(run, list, text, e); });
    return true;
}

bool section(Run& run, const ScriptLine& line, std::string* error)
{
    std::vector<PortableWindowInfo> snap = portableSnapshot();
    HWND selector = fixedControl(fixedControls.at("selector"), snap);
    for (const PortableWindowInfo& w : snap)
        if (!selector && w.visible && w.className == u"COMBOBOX")
            selector = w.window;
    if (!selector) {
        *error = "no section selector is shown";
        return false;
    }
    return pickLine(run, selector, widen(line.text(1)), error);
}

bool scroll(Run& run, const ScriptLine& line, std::string* error)
{
    static const std::map<std::string, int> codes = {
        {"up", SB_LINEUP}, {"down", SB_LINEDOWN}, {"pageup", SB_PAGEUP}, {"pagedown", SB_PAGEDOWN}, {"to", SB_THUMBTRACK}};
    std::string how = line.words.size() > 1 ? line.words[1].text : "";
    auto code = codes.find(how);
    if (code == codes.end() || (how == "to") != (line.words.size() == 3)) {
        *error = "scroll up|down|pageup|pagedown|to N";
        return false;
    }
    std::vector<PortableWindowInfo> snap = portableSnapshot();
    HWND bar = nullptr;
    for (const PortableWindowInfo& w : snap)
        if (w.visible && w.className == u"SCROLLBAR" && (!bar || w.id == ScrollBarId))
            bar = w.window;
    if (!bar) {
        *error = "no scroll bar is shown";
        return false;
    }
    PortableAction a = makeAction(PortableActionKind::Scroll, bar);
    a.code = code->second;
    a.index = how == "to" ? std::atoi(line.words[2].text.c_str()) : 0;
    push(run, a);
    return true;
}

bool keyChord(Run& run, const std::string& chord, std::string* error)
{
    static const std::map<std::string, int> named = {
        {"enter", VK_RETURN}, {"esc", VK_ESCAPE}, {"tab", VK_TAB}, {"space", VK_SPACE}, {"back", VK_BACK},
        {"up", VK_UP}, {"down", VK_DOWN}, {"left", VK_LEFT}, {"right", VK_RIGHT}, {"delete", VK_DELETE}};
    PortableAction a = makeAction(PortableActionKind::Key, nullptr);
    std::string rest = chord;
    for (std::size_t plus; (plus = rest.find('+')) != std::string::npos; rest = rest.substr(plus + 1)) {
        std::string modifier = rest.substr(0, plus);
        if (modifier == "ctrl")
            a.control = true;
        else if (modifier == "shift")
            a.shift = true;
        else {
            *error = "unknown modifier " + modifier;
            return false;
        }
    }
    if (rest.size() == 1 && std::isalnum((unsigned char)rest[0]))
        a.code = std::toupper((unsigned char)rest[0]);
    else if (named.count(rest))
        a.code = named.at(rest);
    else {
        *error = "unknown key " + rest;
        return false;
    }
    push(run, a);
    return true;
}

// The message box or dialog on top: the innermost modal box, else the topmost dialog shown.
HWND boxOnTop(const std::vector<PortableWindowInfo>& snap)
{
    if (HWND box = portableModalTop())
        return box;
    std::vector<ScreenGroup> groups = screenGroups(snap);
    for (auto g = groups.rbegin(); g != groups.rend(); ++g)
        if (g->top->className == u"#32770")
            return g->top->window;
    return nullptr;
}

bool answer(Run& run, const std::u16string& text, std::string* error)
{
    std::vector<PortableWindowInfo> snap = portableSnapshot();
    HWND box = boxOnTop(snap);
    if (!box) {
        *error = "no message box or dialog is open";
        return false;
    }
    std::string buttons;
    for (const PortableWindowInfo& w : snap) {
        if (w.parent != box || !w.visible || w.className != u"BUTTON")
            continue;
        if (w.text == text) {
            push(run, makeAction(PortableActionKind::Tap, w.window));
            return true;
        }
        buttons += " " + quoteText(w.text);
    }
    *error = "no button " + quoteText(text) + " in the box (its buttons:" + buttons + ")";
    return false;
}

// Presses the default button of the box on top, again after the program has answered, until no
// box with a default button is up; a box that keeps coming back is an error.
bool dismiss(Run& run, std::string* error, int round = 0)
{
    HWND box = boxOnTop(portableSnapshot());
    LRESULT def = box ? SendMessageW(box, DM_GETDEFID, 0, 0) : 0;
    HWND button = HIWORD(def) == DC_HASDEFID ? GetDlgItem(box, LOWORD(def)) : nullptr;
    if (!button || !IsWindowVisible(button))
        return true;
    if (round >= 50) {
        *error = "the box on top does not go away";
        return false;
    }
    push(run, makeAction(PortableActionKind::Tap, button));
    run.pending.push_back([&run, round](std::string* e) { return dismiss(run, e, round + 1); });
    return true;
}

bool expect(const std::u16string& text, bool shown, std::string* error)
{
    bool found = false;
    for (const PortableWindowInfo& w : portableSnapshot())
        found |= w.visible && showsText(w, text);
    if (found == shown)
        return true;
    *error = (shown ? "not shown: " : "shown: ") + quoteText(text);
    return false;
}

bool needs(std::size_t words, const ScriptLine& line, const char* usage, std::string* error)
{
    if (line.words.size() >= words)
        return true;
    *error = std::string("usage: ") + usage;
    return false;
}

bool shellCommand(Run& run, const ScriptLine& line, std::string* error)
{
    const SimShellHooks& h = shellHooks();
    const std::string& c = line.words[0].text;
    bool available = (c == "lines" && h.lines) || (c == "answers" && h.answers) || (c == "set" && h.set) ||
                     (c == "show" && h.show);
    if (!available) {
        *error = c + " needs the device program's shell";
        return false;
    }
    if ((c == "set" || c == "show") && !noModalBox(error))
        return false;
    if (c == "lines")
        return h.lines(*run.out, error);
    if (c == "answers")
        return h.answers(*run.out, error);
    if (c == "show")
        return needs(2, line, "show PAGE|results", error) && h.show(line.words[1].text, error);
    std::vector<std::string> args;
    for (std::size_t i = 1; i < line.words.size(); ++i)
        args.push_back(line.words[i].text);
    return h.set(args, error);
}

bool execute(Run& run, const ScriptLine& line, std::string* error)
{
    const std::string& c = line.words[0].text;
    if (c == "screen") {
        printScreen(*run.out, portableSnapshot());
        return true;
    }
    if (c == "shot") {
        if (!needs(2, line, "shot FILE.bmp", error))
            return false;
        if (portableSaveScreenshot(line.text(1).c_str()))
            return true;
        *error = "cannot write the screenshot " + line.text(1);
        return false;
    }
    if (c == "expect" || c == "expect-not")
        return needs(2, line, "expect TEXT", error) && expect(widen(line.text(1)), c == "expect", error);
    if (c == "answer")
        return needs(2, line, "answer TEXT", error) && answer(run, widen(line.text(1)), error);
    if (c == "dismiss")
        return dismiss(run, error);
    if (c == "lines" || c == "answers" || c == "set" || c == "show")
        return shellCommand(run, line, error);
    if (!noModalBox(error))
        return false;
    if (c == "tap") {
        HWND target = needs(2, line, "tap TARGET", error) ? resolveTarget(line.words[1], error) : nullptr;
        if (target)
            push(run, makeAction(PortableActionKind::Tap, target));
        return target != nullptr;
    }
    if (c == "type") {
        HWND target = needs(3, line, "type TARGET TEXT", error) ? resolveTarget(line.words[1], error, {u"EDIT"}) : nullptr;
        if (!target)
            return false;
        push(run, makeAction(PortableActionKind::Tap, target));
        PortableAction a = makeAction(PortableActionKind::Type, target);
        a.text = widen(line.text(2));
        push(run, a);
        return true;
    }
    if (c == "keys") {
        if (!needs(2, line, "keys TEXT", error))
            return false;
        PortableAction a = makeAction(PortableActionKind::Type, nullptr);
        a.text = widen(line.text(1));
        push(run, a);
        return true;
    }
    if (c == "choose")
        return needs(3, line, "choose TARGET TEXT", error) && choose(run, line, error);
    if (c == "section")
        return needs(2, line, "section TEXT", error) && section(run, line, error);
    if (c == "scroll")
        return scroll(run, line, error);
    if (c == "key")
        return needs(2, line, "key CHORD", error) && keyChord(run, line.words[1].text, error);
    *error = "unknown command " + c;
    return false;
}

void fail(Run& run, int line, const std::string& why)
{
    run.failed = true;
    run.failedLine = line;
    run.failure = why;
}

// Closes the program as its "X" button would, or by a close from the system when it has none.
// A modal box still open is a failure naming it (its question went unanswered), unless the
// script's last word was dismiss; the program's loops then end without a close.
void closeProgram(Run& run)
{
    std::vector<PortableWindowInfo> snap = portableSnapshot();
    if (HWND box = portableModalTop()) {
        if (run.lines.empty() || run.lines.back().words[0].text != "dismiss")
            fail(run, run.currentLine, "the script ended with a modal box open: " + boxName(box));
        return;
    }
    if (HWND x = fixedControl(fixedControls.at("close"), snap)) {
        push(run, makeAction(PortableActionKind::Tap, x));
        return;
    }
    std::vector<ScreenGroup> groups = screenGroups(snap);
    if (!groups.empty())
        push(run, makeAction(PortableActionKind::Close, groups.front().top->window));
}

// The input source: carry out lines until one gives an action; false ends the program's loops.
bool nextUserActions(void* context)
{
    Run& run = *static_cast<Run*>(context);
    if (run.failed || run.closed)
        return false;
    if (int signal = stopSignal) {
        fail(run, run.currentLine, "stopped by signal " + std::to_string(signal));
        return false;
    }
    while (!portableActionsWaiting()) {
        std::string error;
        if (!run.pending.empty()) {
            Step step = run.pending.front();
            run.pending.pop_front();
            if (!step(&error)) {
                fail(run, run.currentLine, error);
                return false;
            }
            continue;
        }
        if (run.next >= run.lines.size()) {
            run.closed = true;
            run.label = run.name + ": closing at the end";
            closeProgram(run);
            return portableActionsWaiting();
        }
        const ScriptLine& line = run.lines[run.next++];
        run.currentLine = line.number;
        run.label = run.name + ":" + std::to_string(line.number) + " " + line.words[0].rest;
        if (!execute(run, line, &error)) {
            fail(run, line.number, error);
            return false;
        }
    }
    return true;
}

}  // namespace

void simSetShellHooks(const SimShellHooks& hooks)
{
    shellHooks() = hooks;
}

const SimShellHooks& simShellHooks()
{
    return shellHooks();
}

int runSimScript(const std::string& script, const std::string& name, SimProgramEntry entry, std::ostream& out,
                 std::ostream& err)
{
    Run run;
    run.out = &out;
    run.name = name;
    std::string error;
    if (!parseScript(script, &run.lines, &error)) {
        err << "zura-sim: " << name << ": " << error << '\n';
        return simBadUsage;
    }
    for (const ScriptLine& line : run.lines) {
        if (!knownCommands.count(line.words[0].text)) {
            err << "zura-sim: " << name << ":" << line.number << ": unknown command " << line.words[0].text << '\n';
            return simBadUsage;
        }
    }
    if (!entry) {
        err << "zura-sim: the device program is not part of this build\n";
        return simFailed;
    }
    portableResetWindows();
    portableSetInputSource(nextUserActions, &run);
    stopSignal = 0;
    void (*previousInt)(int) = std::signal(SIGINT, noteStopSignal);
    void (*previousTerm)(int) = std::signal(SIGTERM, noteStopSignal);
    static WCHAR commandLine[1] = {0};
    portableMeasureStart("startUp");
    entry(portableProgramInstance(), nullptr, commandLine, SW_SHOW);
    portableMeasureStop();
    std::signal(SIGINT, previousInt);
    std::signal(SIGTERM, previousTerm);
    portableSetInputSource(nullptr, nullptr);
    portableResetWindows();
    out.flush();
    if (run.failed) {
        err << "zura-sim: " << name << ":" << run.failedLine << ": " << run.failure << '\n';
        return simFailed;
    }
    if (run.next < run.lines.size() || !run.pending.empty()) {
        int line = run.next < run.lines.size() ? run.lines[run.next].number : run.currentLine;
        err << "zura-sim: " << name << ":" << line << ": the program ended before this line\n";
        return simFailed;
    }
    return simOk;
}
