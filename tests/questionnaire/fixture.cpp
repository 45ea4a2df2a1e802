// The fixture's database writing and loading, and the hooks that stand in for the message box
// and the prompt dialog.
#include "fixture.h"

#include "questionnaire/prompts.h"

std::vector<ShownMessage> QuestionnaireTest::messages;
std::vector<std::string> QuestionnaireTest::prompts;
int QuestionnaireTest::messageResult = IDOK;
int QuestionnaireTest::promptResult = 1005;

namespace {

int collectMessage(const WCHAR* text, const WCHAR* caption, UINT type)
{
    QuestionnaireTest::messages.push_back({narrow(text), narrow(caption), unsigned(type)});
    return QuestionnaireTest::messageResult;
}

int collectPrompt(const WCHAR* text)
{
    QuestionnaireTest::prompts.push_back(narrow(text));
    return QuestionnaireTest::promptResult;
}

} // namespace

void QuestionnaireTest::SetUp()
{
    install();
    messages.clear();
    prompts.clear();
    messageResult = IDOK;
    promptResult = 1005;
    setMessageBoxHook(collectMessage);
    setPromptDialogHook(collectPrompt);
}

void QuestionnaireTest::TearDown()
{
    setMessageBoxHook(nullptr);
    setPromptDialogHook(nullptr);
    release();
}

void QuestionnaireTest::loadModules(const std::vector<std::vector<ElementSpec>>& modules)
{
    folder.write("display.pdb", displayDatabase(modules));
    loadDisplay(folder.path + "/display.pdb");
}

void QuestionnaireTest::answer(std::uint16_t id, float v)
{
    ASSERT_NE(setAnswer(&q->answers, id, v), nullptr);
}

std::int32_t QuestionnaireTest::value(std::uint16_t id) const
{
    return answerValue(q->answers, id);
}

bool QuestionnaireTest::hasAnswer(std::uint16_t id) const
{
    return findAnswer(q->answers, id, 0) != nullptr;
}

int QuestionnaireTest::answerCount() const
{
    int n = 0;
    for (const Answer* a = q->answers; a; a = a->next)
        ++n;
    return n;
}

std::vector<std::vector<ElementSpec>> flowDatabase()
{
    using T = ElementType;
    std::vector<ElementSpec> module0 = {
        E(1979, T::CONTAINER, 0, "Questionnaire"),
        E(9521, T::PAGE, 1, "Choose a module"),
        E(9523, T::CHECKBOX, 2), E(9524, T::CHECKBOX, 2), E(9526, T::CHECKBOX, 2),
        E(9600, T::MODULE, 1, "Prescription"),
        E(10223, T::PAGE, 2, "Route"),
        E(2075, T::CHECKBOX, 3, "Oral"), E(2072, T::CHECKBOX, 3, "Intravenous"), E(2051, T::CHECKBOX, 3),
        hiddenByDefault(E(10263, T::PAGE, 2, "Shown by a rule")),
        E(7011, T::CHECKBOX, 3),
        E(12205, T::PAGE, 2, "Hidden by a rule"),
        E(7012, T::CHECKBOX, 3),
        E(7002, T::PAGE, 2, "Drug"),
        E(7021, T::CHECKBOX, 3), E(7022, T::CHECKBOX, 4),
        E(7003, T::PAGE, 2, "Factors"),
        E(7031, T::CHECKBOX, 3),
    };
    std::vector<ElementSpec> module1 = {
        E(9601, T::MODULE, 1, "Dose conversion"),
        E(10324, T::PAGE, 2, "Current opioid"),
        E(10334, T::CHECKBOX, 3), E(12162, T::CHECKBOX, 3),
        E(12665, T::INPUT, 3, "Dose"), E(10340, T::INPUT, 3, "Other dose"),
        E(15977, T::PAGE, 2, "Second opioid"),
        E(11645, T::CHECKBOX, 3), E(12167, T::CHECKBOX, 3),
        E(12684, T::INPUT, 3, "Second dose"), E(11650, T::INPUT, 3, "Other second dose"),
        E(8226, T::PAGE, 2, "Patient"),
        E(1516, T::INPUT, 3, "Age"), E(1547, T::INPUT, 3, "Weight"),
        E(2208, T::CHECKBOX, 3, "Years"), E(2210, T::CHECKBOX, 3, "Months"),
        E(2350, T::CHECKBOX, 3, "Pounds"),
        E(9602, T::MODULE, 1, "Side effects"),
        E(11220, T::PAGE, 2, "Side effect"),
        E(12888, T::LABEL, 3, "Explanation of the intravenous route"),
        E(12889, T::LABEL, 4, "Below the explanation"),
        E(16158, T::LABEL, 3, "Sibling"),
        E(14001, T::LABEL, 3, "Prompt text for the prescription module"),
    };
    return {module0, module1};
}
