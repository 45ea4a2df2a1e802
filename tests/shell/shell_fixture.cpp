// The shell fixture: the data root, the scripted user and the screen helpers.
#include "shell_fixture.h"

#include <cstdlib>
#include <unistd.h>

#include "questionnaire/answers.h"
#include "questionnaire/elements.h"
#include "shell/shell.h"
#include "shell/startup.h"

namespace {

std::string narrowed(const std::u16string& s)
{
    std::string out;
    for (char16_t c : s)
        out += char(c & 0xFF);
    return out;
}

// Records the message box on top and presses its default (first) button.
bool answerMessageBox(std::vector<ShownBox>* boxes)
{
    HWND top = portableModalTop();
    if (!top)
        return false;
    ShownBox box;
    HWND button = nullptr;
    for (const PortableWindowInfo& w : portableSnapshot()) {
        if (w.window == top)
            box.caption = narrowed(w.text);
        else if (w.parent == top && w.className == u"STATIC")
            box.text = narrowed(w.text);
        else if (w.parent == top && w.className == u"BUTTON" && !button)
            button = w.window;
    }
    boxes->push_back(box);
    if (button)
        tap(button);
    return true;
}

struct Source {
    ShellTest* test;
    std::deque<std::function<void()>>* steps;
    std::vector<ShownBox>* boxes;
    bool* closing;
};

bool nextStep(void* context)
{
    Source* s = static_cast<Source*>(context);
    if (answerMessageBox(s->boxes))
        return true;
    if (!s->steps->empty()) {
        std::function<void()> step = s->steps->front();
        s->steps->pop_front();
        step();
        return true;
    }
    if (!*s->closing && appState && appState->closeButton) {
        *s->closing = true;
        tap(appState->closeButton);
        return true;
    }
    return false;
}

} // namespace

ElementSpec El(std::uint16_t id, std::int8_t type, int level, const std::string& text)
{
    ElementSpec e;
    e.id = id;
    e.type = type;
    e.level = std::int8_t(level);
    e.text = text.empty() ? "Element " + std::to_string(id) : text;
    return e;
}

void ShellTest::SetUp()
{
    char pattern[] = "/tmp/zura-shell-XXXXXX";
    folder = mkdtemp(pattern);
    char here[4096];
    previousFolder = getcwd(here, sizeof here) ? here : ".";
}

void ShellTest::TearDown()
{
    if (chdir(previousFolder.c_str()) != 0)
        ADD_FAILURE() << "could not return to " << previousFolder;
    std::string command = "rm -rf '" + folder + "'";
    if (std::system(command.c_str()) != 0)
        ADD_FAILURE() << "could not remove " << folder;
}

void ShellTest::writeDatabase(const std::vector<std::vector<ElementSpec>>& modules, int moduleWithoutStrings)
{
    std::vector<Bytes> records;
    for (std::size_t m = 0; m < modules.size(); ++m) {
        ModuleRecords r = makeModuleRecords(std::uint16_t(m), modules[m]);
        records.push_back(r.hierarchy);
        if (int(m) != moduleWithoutStrings)
            records.push_back(r.strings);
    }
    std::string error;
    ASSERT_TRUE(writeBytes(folder + "/Program Files/Quellix/DisplayDB-Qx4k.pdb", makeContainer(records), &error)) << error;
}

int ShellTest::run(std::vector<std::function<void()>> list)
{
    steps.assign(list.begin(), list.end());
    boxes.clear();
    closing = false;
    if (chdir(folder.c_str()) != 0)
        ADD_FAILURE() << "could not enter " << folder;
    portableResetWindows();
    Source source{this, &steps, &boxes, &closing};
    portableSetInputSource(nextStep, &source);
    static WCHAR commandLine[1] = {0};
    int status = startUp(portableProgramInstance(), nullptr, commandLine, SW_SHOW);
    portableSetInputSource(nullptr, nullptr);
    portableResetWindows();
    EXPECT_TRUE(steps.empty()) << steps.size() << " steps were not run";
    return status;
}

HWND fixedControl(int id)
{
    for (const PortableWindowInfo& w : portableSnapshot())
        if (appState && w.parent == appState->mainWindow && w.id == id)
            return w.window;
    return nullptr;
}

PortableWindowInfo windowInfo(HWND window)
{
    for (const PortableWindowInfo& w : portableSnapshot())
        if (w.window == window)
            return w;
    ADD_FAILURE() << "no such window";
    return {};
}

DisplayLine* lineOf(std::uint16_t id)
{
    for (DisplayLine* l = appState->displayList.head; l; l = l->next)
        if (l->id == id)
            return l;
    return nullptr;
}

// The control of the element's input: the first line of the id that is not its text.
HWND controlOf(std::uint16_t id)
{
    DisplayLine* line = nullptr;
    for (DisplayLine* l = appState->displayList.head; l && !line; l = l->next)
        if (l->id == id && l->kind != TextLine)
            line = l;
    if (!line)
        line = lineOf(id);
    return line && line->pieces ? line->pieces->control : nullptr;
}

namespace {

void push(PortableActionKind kind, HWND target, const std::u16string& text = u"", int index = 0, int code = 0)
{
    PortableAction a;
    a.kind = kind;
    a.target = target;
    a.text = text;
    a.index = index;
    a.code = code;
    portablePushAction(a);
}

} // namespace

void tap(HWND window) { push(PortableActionKind::Tap, window); }
void typeInto(HWND window, const std::u16string& text) { push(PortableActionKind::Type, window, text); }
void pickLine(HWND list, int index) { push(PortableActionKind::Pick, list, u"", index); }
void scrollBy(int code, int position) { push(PortableActionKind::Scroll, appState->scrollBar, u"", position, code); }

void showPage(std::uint16_t page)
{
    questionnaireState->currentPage = page;
    appState->viewState = ModuleView;
    showScreen(RebuildScreen, nullptr);
}

float answerOf(std::uint16_t id, bool* present)
{
    const Answer* a = findAnswer(questionnaireState->answers, id, 0);
    if (present)
        *present = a != nullptr;
    return a ? a->value : 0.0f;
}

std::uint32_t ownerOf(std::uint16_t id)
{
    const Answer* a = findAnswer(questionnaireState->answers, id, 0);
    return a ? a->ownerId : 0;
}

std::string windowText(HWND window) { return narrowed(windowInfo(window).text); }

std::string longTitle()
{
    std::string title;
    while (title.size() < 150)
        title += "Title " + std::to_string(title.size()) + " ";
    return title;
}

std::vector<std::vector<ElementSpec>> shellDatabase()
{
    using T = ElementType;
    auto t = [](T type) { return std::int8_t(type); };
    auto member = [&](std::uint16_t id, std::uint16_t group, int level) {
        ElementSpec e = El(id, t(T::RADIO), level);
        e.group = group;
        return e;
    };
    ElementSpec required = El(10240, t(T::CHECKBOX), 3, "Must be ticked");
    required.required = true;
    ElementSpec link = El(10250, t(T::POPUP_LINK), 3, "More about routes");
    link.subObject = 10290;
    ElementSpec results = El(10400, t(T::PAGE), 2, "Results");
    results.style = 1;
    std::vector<ElementSpec> module0 = {
        El(1979, t(T::CONTAINER), 0, "Questionnaire"),
        El(9521, t(T::PAGE), 1, "Choose a module"),
        El(9523, t(T::CHECKBOX), 2), El(9524, t(T::CHECKBOX), 2), El(9526, t(T::CHECKBOX), 2),
        El(9600, t(T::MODULE), 1, "Prescription"),
        El(10223, t(T::PAGE), 2, "Route"),
        El(10230, t(T::LABEL), 3, "Pain"),
        member(10231, 10230, 4), member(10232, 10230, 4), member(10233, 10230, 4),
        El(10260, t(T::SELECT), 3, "Drug"),
        El(10261, t(T::OPTION), 4, "Alpha"), El(10262, t(T::OPTION), 4, "Beta"),
        El(10270, t(T::INPUT), 3, "Dose"), El(10271, t(T::INPUT), 3, "Second dose"),
        link,
        El(10290, t(T::PAGE), 2, "About routes"), El(10291, t(T::LABEL), 3, "Routes explained"),
        member(10292, 10230, 3),
        El(10300, t(T::PAGE), 2, "Required"), required,
        El(11030, t(T::PAGE), 2, "No way on"), El(11031, t(T::LABEL), 3),
        El(2081, t(T::CHECKBOX), 2, "Morphine"), El(13087, t(T::CHECKBOX), 2, "Hydrocodone"),
        results,
        El(10600, t(T::PAGE), 2, longTitle()), El(10601, t(T::LABEL), 3),
        El(10500, t(T::PAGE), 2, "Long page"),
    };
    for (int i = 0; i < 40; ++i)
        module0.push_back(El(std::uint16_t(10501 + i), t(T::LABEL), 3, "Row " + std::to_string(i)));
    std::vector<ElementSpec> module1 = {
        El(9601, t(T::MODULE), 1, "Dose conversion"),
        El(10324, t(T::PAGE), 2, "Current opioid"), El(10334, t(T::CHECKBOX), 3),
        El(9602, t(T::MODULE), 1, "Side effects"),
        El(11220, t(T::PAGE), 2, "Side effect"), El(11221, t(T::CHECKBOX), 3, "Nausea"),
    };
    return {module0, module1};
}
