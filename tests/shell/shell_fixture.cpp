// The shell fixture: the data root, the scripted user and the screen helpers.
#include "shell_fixture.h"

#include "questionnaire/answers.h"
#include "questionnaire/elements.h"
#include "shell/shell.h"
#include "shell/startup.h"

namespace {

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
            box.caption = narrow(w.text);
        else if (w.parent == top && w.className == u"STATIC")
            box.text = narrow(w.text);
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

void ShellTest::writeDatabase(const std::vector<std::vector<ElementSpec>>& modules, int moduleWithoutStrings)
{
    folder.write(dataRootDisplayFile, displayDatabase(modules, moduleWithoutStrings));
}

int ShellTest::run(std::vector<std::function<void()>> list)
{
    steps.assign(list.begin(), list.end());
    boxes.clear();
    closing = false;
    folder.enter();
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

std::string windowText(HWND window) { return narrow(windowInfo(window).text); }

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
    auto member = [&](std::uint16_t id, std::uint16_t group, int level) {
        ElementSpec e = E(id, T::RADIO, level);
        e.group = group;
        return e;
    };
    ElementSpec required = E(10240, T::CHECKBOX, 3, "Must be ticked");
    required.required = true;
    ElementSpec link = E(10250, T::POPUP_LINK, 3, "More about routes");
    link.subObject = 10290;
    ElementSpec results = E(10400, T::PAGE, 2, "Results");
    results.style = 1;
    std::vector<ElementSpec> module0 = {
        E(1979, T::CONTAINER, 0, "Questionnaire"),
        E(9521, T::PAGE, 1, "Choose a module"),
        E(9523, T::CHECKBOX, 2), E(9524, T::CHECKBOX, 2), E(9526, T::CHECKBOX, 2),
        E(9600, T::MODULE, 1, "Prescription"),
        E(10223, T::PAGE, 2, "Route"),
        E(10230, T::LABEL, 3, "Pain"),
        member(10231, 10230, 4), member(10232, 10230, 4), member(10233, 10230, 4),
        E(10260, T::SELECT, 3, "Drug"),
        E(10261, T::OPTION, 4, "Alpha"), E(10262, T::OPTION, 4, "Beta"),
        E(10270, T::INPUT, 3, "Dose"), E(10271, T::INPUT, 3, "Second dose"),
        link,
        E(10290, T::PAGE, 2, "About routes"), E(10291, T::LABEL, 3, "Routes explained"),
        member(10292, 10230, 3),
        E(10300, T::PAGE, 2, "Required"), required,
        E(11030, T::PAGE, 2, "No way on"), E(11031, T::LABEL, 3),
        E(2081, T::CHECKBOX, 2, "Morphine"), E(13087, T::CHECKBOX, 2, "Hydrocodone"),
        results,
        E(10600, T::PAGE, 2, longTitle()), E(10601, T::LABEL, 3),
        E(10500, T::PAGE, 2, "Long page"),
    };
    for (int i = 0; i < 40; ++i)
        module0.push_back(E(std::uint16_t(10501 + i), T::LABEL, 3, "Row " + std::to_string(i)));
    std::vector<ElementSpec> module1 = {
        E(9601, T::MODULE, 1, "Dose conversion"),
        E(10324, T::PAGE, 2, "Current opioid"), E(10334, T::CHECKBOX, 3),
        E(9602, T::MODULE, 1, "Side effects"),
        E(11220, T::PAGE, 2, "Side effect"), E(11221, T::CHECKBOX, 3, "Nausea"),
    };
    return {module0, module1};
}
