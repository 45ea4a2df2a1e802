// The input checks as two tables walked in order by one evaluator. Checks see the ids of those
// that held before them in the same run (fired(...)), and the answers they set on the way.
// Dose fields: on page 10324 the first dose is 12665 or 10340, whichever 2541/2542 left shown;
// on page 15977 the second dose is 12684 or 11650 (2544/2545); a dose is valid from 1 to 1300.
#include "questionnaire/checks.h"

#include "questionnaire/elements.h"
#include "questionnaire/pageflow.h"
#include "questionnaire/prompts.h"
#include "questionnaire/ruleconditions.h"
#include "shell/state.h"

namespace {

constinit const CheckRule moduleCheckTable[] = {
    //  check condition / action / ids / message
    { 3463, "not 2072"_when, HideLines, {12888, 16158}, nullptr },
    { 3455, "page 9068 and 2072 and (2069 or 2070)"_when, HideLines, {12888}, nullptr },
    { 3079, "trigger 3 and element 2072 and 2072 and (2066 or 2067 or 2068)"_when, PromptText, {12888}, nullptr },
    { 2567, "page 9068 and 2072 and (2066 or 2067 or 2068)"_when, HideLines, {16158}, nullptr },
    { 2104, "not 2036 and not 2037"_when, HideLines, {9063}, nullptr },
    { 2310, "not 9523"_when, HideLines, {2020}, nullptr },
    { 2311, "none of 2036, 2037, 2038, 2039, 2040, 2041, 2042, 2043, 2044"_when, HideLines, {15679, 9088, 9062}, nullptr },
    { 2384, "page 10324 and 12162"_when, HideLines, {10332}, nullptr },
    { 2455, "page 10324 and 11495"_when, HideLines, {12781, 11632}, nullptr },
    { 2441, "page 10324 and not 11495"_when, HideLines, {10346, 10421}, nullptr },
    { 2527, "page 15977 and 12167"_when, HideLines, {11643}, nullptr },
    { 2528, "page 10324 and (10328 or 10329)"_when, HideLines, {12242}, nullptr },
    { 2531, "page 15977 and (12165 or 12166)"_when, HideLines, {12339}, nullptr },
    { 2541, "not 10334 or 12162"_when, HideLines, {12665}, nullptr },
    { 2542, "page 10324 and 10334 and not 12162"_when, HideLines, {10340}, nullptr },
    { 2544, "not 11645 or 12167"_when, HideLines, {12684}, nullptr },
    { 2545, "page 15977 and 11645 and not 12167"_when, HideLines, {11650}, nullptr },
    { 2592, "element 12766 and 12766"_when, SetToZero,
      {13974, 11713, 11712, 11711, 11710, 11709, 11708, 11707, 11706}, nullptr },
    { 2593, "(element is not 12766 and any of 11706 to 11713) or 13974"_when, SetToZero, {12766}, nullptr },
    { 2749, "not 11226 and not 13973"_when, HideLines, {13904}, nullptr },
    { 2750, "not 11225"_when, HideLines, {13905}, nullptr },
    { 2751, "not 11224 and not 11223"_when, HideLines, {13906}, nullptr },
    { 3083, "trigger 3 and page 2034 and (2036 or 2041 or 2044 or 11668 or 11667)"_when, PromptText, {9062}, nullptr },
    { 3086, "trigger 3 and page 2034 and 2036"_when, PromptText, {9063}, nullptr },
    { 3335, "element is not 10408 and any of 2047, 2048, 9841, 2051, 2052, 14021, 2055, 14086, 10270, 10279"_when,
      SetToOne, {10408}, nullptr },
    { 3336, "element is not 10408 and none of 2047, 2048, 9841, 2051, 2052, 14021, 2055, 14086, 10270, 10279"_when,
      SetToZero, {10408}, nullptr },
    { 3337, "element 10408 and not 10408"_when, SetToZero,
      {10279, 10270, 14086, 2055, 14021, 2052, 2051, 9841, 2048, 2047}, nullptr },
    { 3338, "trigger 2 and page 10324 and (((10328 or 10329) and 12661) or (12162 and 12662))"_when, ShowError, {},
      "Please select a drug" },
    { 3339, "trigger 2 and page 15977 and (((12165 or 12166) and 12663) or (12167 and 12664))"_when, ShowError, {},
      "Please select a drug" },
    { 3340, "trigger 2 and page 10324 and ((10334 and not 12162 and value(12665) outside 1 to 1300)"_when
            " or ((not 10334 or 12162) and value(10340) outside 1 to 1300))", ShowError, {},
      "Please enter a valid value (1 - 1300) for total amount of drug administered over past 24 hours" },
    { 3341, "trigger 2 and page 15977 and ((11645 and not 12167 and value(12684) outside 1 to 1300)"_when
            " or ((not 11645 or 12167) and value(11650) outside 1 to 1300))", ShowError, {},
      "Please enter a valid value (1 - 1300) for total amount of the 2nd opioid administered over past 24 hours" },
    { 3467, "trigger 1 and page 10223"_when, PromptText, {14001}, nullptr },
};

// Age 1516 and weight 1547; 2208 age in years, 2210 age in months, 8224/8225 age groups.
constinit const CheckRule generalCheckTable[] = {
    //  check condition / action / ids / message
    { 1693, "(value(1516) < 18 and 2208) or (value(1516) < 216 and 2210) or 8225"_when, NoAction, {}, nullptr },
    { 1614, "trigger 2 and page 1449 and not 1455 and not 1457"_when, ShowError, {},
      "Please select upper or lower respiratory infection." },
    { 1855, "trigger 2 and page 1449 and not fired(1614) and not 8224 and not 8225"_when, ShowError, {},
      "Age group required to continue." },
    { 1922, "trigger 2 and page 8226 and value(1516) <= 0"_when, ShowError, {}, "Age required to continue" },
    { 1923, "trigger 2 and page 8226 and ((2208 and value(1516) > 17) or (2210 and value(1516) > 215))"_when
            " and not fired(1922)", ShowError, {}, "Enter an age < 18 years to continue." },
    { 1667, "trigger 2 and page 8226 and value(1547) <= 0 and fired(1693) and not fired(1922)"_when
            " and not fired(1923)", ShowError, {}, "Weight is required for pediatrics." },
    { 1685, "trigger 2 and page 8226 and not fired(1667) and not fired(1922) and not fired(1923)"_when
            " and not plausibleWeightForAge", AskQuestion, {},
      "The given age and weight combination seems unreasonable.  Are you sure you want to continue?" },
    { 1919, "trigger 3 and page 1449 and (1455 or 1457) and countChosen(8223) > 0"_when, AcceptPage, {}, nullptr },
};

template <typename T, int N> constexpr int countOf(const T (&)[N]) { return N; }

// Setting an answer to 0 where there is none would add a node that means nothing (an element
// without an answer already reads as 0) and would show up as a stray answer.
void clearAnswer(Answer* answers, std::uint16_t id)
{
    if (Answer* a = findAnswer(answers, id, 0))
        a->value = 0.0f;
}

bool runChecks(const CheckRule* checks, int count, std::uint16_t element, std::uint16_t page, int trigger,
               AnswerList* firedRules, AnswerList* answers)
{
    bool verdict = trigger != ControlChanged;
    // Checks set answers and open dialogs on the way: the filter is made again after any check
    // whose action is neither hiding lines nor the page verdict, so it always matches the list.
    AnsweredIds answered;
    noteAnsweredIds(&answered, *answers);
    for (int i = 0; i < count; ++i) {
        const CheckRule& c = checks[i];
        RuleContext context{*answers, firedRules, page, element, trigger, &answered};
        if (!conditionHolds(c.condition, context))
            continue;
        addId(firedRules, c.check);
        for (int k = 0; k < countOf(c.ids) && c.ids[k]; ++k) {
            if (c.action == HideLines)
                hideElementLines(c.ids[k]);
            else if (c.action == SetToOne)
                setAnswer(answers, c.ids[k], 1.0f);
            else if (c.action == SetToZero)
                clearAnswer(*answers, c.ids[k]);
        }
        if (c.action == PromptText)
            showPrompt(c.ids[0]);
        else if (c.action == ShowError) {
            showMessage(c.message, false);
            verdict = false;
        }
        else if (c.action == AskQuestion)
            verdict = showMessage(c.message, true);
        else if (c.action == AcceptPage)
            verdict = true;
        if (c.action != NoAction && c.action != HideLines && c.action != AcceptPage)
            noteAnsweredIds(&answered, *answers);
    }
    return verdict;
}

} // namespace

const CheckRule* moduleCheckRules(int* count)
{
    *count = countOf(moduleCheckTable);
    return moduleCheckTable;
}

const CheckRule* generalCheckRules(int* count)
{
    *count = countOf(generalCheckTable);
    return generalCheckTable;
}

bool moduleChecks(std::uint16_t element, std::uint16_t page, int trigger, AnswerList* firedRules,
                  AnswerList* answers)
{
    return runChecks(moduleCheckTable, countOf(moduleCheckTable), element, page, trigger, firedRules, answers);
}

bool generalChecks(std::uint16_t page, int trigger, AnswerList* firedRules, AnswerList* answers)
{
    return runChecks(generalCheckTable, countOf(generalCheckTable), 0, page, trigger, firedRules, answers);
}

void hideElementLines(std::uint16_t element)
{
    if (!questionnaireState || !appState)
        return;
    ElementCursor c = findElementCursor(questionnaireState->hierarchyRecords, element);
    if (!c.element)
        return;
    int level = elementLevel(c.element);
    do {
        hideDisplayLinesById(&appState->displayList, elementId(c.element));
    } while (nextInSubtree(&c, level));
}
