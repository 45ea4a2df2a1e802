// Page rules: the display-state rules and the next-page rules, one table row per rule.
// Rules run in table order; a rule that holds records its id in firedRules, then acts
// (hides before shows), so later rules can test which earlier ones fired.
#include "questionnaire/pagerules.h"

#include "questionnaire/pageflow.h"
#include "questionnaire/ruleconditions.h"

namespace {

// Run only while the root 1979 is answered. Rule 2585 tests rules that fire before it and two
// that come after it (2378, 2629): when it is evaluated those two have not fired yet.
constinit const DisplayRule displayRules[] = {
    //  rule  condition                                                     show                       hide
    { 2577, "2041"_when,                                                    {10263},                   {} },
    { 2365, "2044"_when,                                                    {10260},                   {} },
    { 2367, "2036"_when,                                                    {10264},                   {} },
    { 2457, "11668"_when,                                                   {11670},                   {} },
    { 2458, "11667"_when,                                                   {11669},                   {} },
    { 2456, "2075 and 9523"_when,                                           {},                        {2083, 2081, 2044} },
    { 2581, "9523 and (2072 or 2073)"_when,                                 {},                        {13089, 13087, 13088, 11667, 11668} },
    { 2625, "2051 and (2072 or 2073) and 9523"_when,                        {16100, 16099, 13866},     {2081} },
    { 2375, "10261 and (2072 or 2073)"_when,                                {13092},                   {2083} },
    { 2376, "10267 and (2072 or 2073)"_when,                                {16100, 16099, 13091},     {2081} },
    { 2578, "11671 and 2075"_when,                                          {13094},                   {13088} },
    { 2579, "2075 and 11676"_when,                                          {13095},                   {16100, 16099, 13087} },
    { 2580, "2075 and 10267"_when,                                          {16100, 16099, 13096},     {13089} },
    { 2419, "10261 and 10265 and (10267 or 2051)"_when,                     {10487},                   {13090, 10224, 2092, 10301} },
    { 2421, "(10265 or 10270) and (10267 or 10279 or 2055 or 2051) and 11671 and (11676 or 2052) and 2075"_when,
                                                                            {10487},                   {13090, 10224, 2092, 10301} },
    { 2476, "2073 and 9525"_when,                                           {},                        {12127, 11719} },
    { 2477, "9525 and 2075"_when,                                           {},                        {11719, 12118} },
    { 2478, "9525 and 2072"_when,                                           {},                        {12127, 12118} },
    { 2523, "9523 or 9524"_when,                                            {},                        {12205} },
    { 2596, "2062"_when,                                                    {},                        {13183, 11326} },
    { 2626, "9523 and 2075 and 2051"_when,                                  {16100, 16099, 13861},     {13089} },
    { 2627, "9523 and 2075 and (2052 or 14021)"_when,                       {13862},                   {13087} },
    { 2628, "9523 and 2075 and 2055"_when,                                  {16100, 16099, 13863},     {13089} },
    { 2630, "9523 and 2075 and 10279"_when,                                 {16100, 16099, 13865},     {13089} },
    { 2753, "2075 and 2062 and (2066 or 2067) and not 2051 and not 14049 and not 14048 and not 10279 and not 2055 and not 14086"_when,
                                                                            {14083, 14041, 14042, 13923}, {} },
    { 2754, "2075 and 2062 and (2066 or 2067) and not 2052 and not 14021 and not 14050"_when,
                                                                            {14083, 14042, 14041, 13922}, {} },
    { 2766, "2062 and (2066 or 2067) and not 2052 and not 14021"_when,      {14043},                   {} },
    { 2767, "2062 and (2066 or 2067) and not 2051 and not 10279"_when,      {14044},                   {} },
    { 2768, "14044"_when,                                                   {14046},                   {} },
    { 2769, "14043"_when,                                                   {14045},                   {} },
    { 2847, "not 2075"_when,                                                {},                        {14021} },
    { 2879, "9524"_when,                                                    {},                        {14001} },
    { 3331, "(2052 or 14021) and 2075 and 2062 and (2066 or 2067)"_when,    {14402},                   {} },
    { 3333, "2075 and 2062 and (2066 or 2067) and (2051 or 2055 or 14086 or 10279)"_when,
                                                                            {14401},                   {} },
    { 3365, "14050"_when,                                                   {14404},                   {} },
    { 3366, "14049"_when,                                                   {14403},                   {} },
    { 2585, "not fired(2375, 2376, 2378, 2578, 2579, 2580, 2625, 2626, 2627, 2628, 2629, 2630, 3331, 3333, 3365, 3366)"_when,
                                                                            {},                        {13090} },
    { 3415, "2062"_when,                                                    {},                        {2072} },
    { 3435, "2062"_when,                                                    {16117},                   {} },
    { 3447, "2064 and 2075"_when,                                           {},                        {13087} },
    { 2378, "10265"_when,                                                   {13093},                   {16100, 16099, 2082} },
    { 2629, "9523 and 2075 and 10270"_when,                                 {13864},                   {16100, 16099, 2082} },
};

// Run whether or not the root is answered.
constinit const DisplayRule alwaysDisplayRules[] = {
    //  rule  condition  show           hide
    { 1463, "1459"_when, {1463, 1510},  {} },
    { 1464, "1460"_when, {1464},        {} },
};

// Run only while the root is answered; the first row of the current page that holds wins.
constinit const NextPageRule nextPageRules[] = {
    //  page   condition                                                                         rule  next
    { 9521,  "9524"_when,                                                                        2383, 10324 },
    { 2046,  "not 10370"_when,                                                                   2417, 2080 },
    { 2034,  "not 2036 and not 2041 and not 2044 and not 11668 and not 11667 and not 14044 and not 14043"_when,
                                                                                                 2420, 2080 },
    { 9521,  "9526"_when,                                                                        2427, 11220 },
    { 10223, "9525 and (2066 or 2067)"_when,                                                     2473, 11717 },
    { 2080,  "always"_when,                                                                      2748, 13902 },
    { 10223, "2070"_when,                                                                        2765, 13902 },
    { 10324, "11495"_when,                                                                       3385, 11701 },
};

// Tried when no rule above gave a page, root answered or not.
constinit const NextPageRule alwaysNextPageRules[] = {
    //  page  condition  rule  next
    { 5038, "5040"_when, 2010, 8541 },
    { 5038, "5039"_when, 1491, 1449 },
    { 5038, "5043"_when, 1827, 14441 },
    { 5038, "8462"_when, 1976, 8463 },
    { 5038, "5044"_when, 2106, 9521 },
    { 5038, "always"_when,    1489, 9999 },
};

template <typename T, int N> constexpr int countOf(const T (&)[N]) { return N; }

void applyDisplayRules(const DisplayRule* rules, int count, const RuleContext& context, AnswerList* firedRules,
                       AnswerList* states)
{
    for (int i = 0; i < count; ++i) {
        const DisplayRule& r = rules[i];
        if (!conditionHolds(r.condition, context))
            continue;
        addId(firedRules, r.rule);
        for (int k = 0; k < countOf(r.hide) && r.hide[k]; ++k)
            hideElement(states, r.hide[k]);
        for (int k = 0; k < countOf(r.show) && r.show[k]; ++k)
            showElement(states, r.show[k]);
    }
}

std::uint16_t applyNextPageRules(const NextPageRule* rules, int count, AnswerList* firedRules,
                                 const Answer* answers, std::uint16_t currentPage)
{
    RuleContext context{answers, firedRules, currentPage, 0, 0};
    for (int i = 0; i < count; ++i) {
        const NextPageRule& r = rules[i];
        if (r.page != currentPage || !conditionHolds(r.condition, context))
            continue;
        addId(firedRules, r.rule);
        return r.next;
    }
    return 0;
}

} // namespace

const DisplayRule* displayRulesWithRoot(int* count)
{
    *count = countOf(displayRules);
    return displayRules;
}

const DisplayRule* displayRulesAlways(int* count)
{
    *count = countOf(alwaysDisplayRules);
    return alwaysDisplayRules;
}

const NextPageRule* nextPageRulesWithRoot(int* count)
{
    *count = countOf(nextPageRules);
    return nextPageRules;
}

const NextPageRule* nextPageRulesAlways(int* count)
{
    *count = countOf(alwaysNextPageRules);
    return alwaysNextPageRules;
}

AnswerList evaluatePage(AnswerList* firedRules, const Answer* answers)
{
    releaseList(firedRules);
    AnswerList states = nullptr;
    // The display rules change display states and fired ids, never the answers.
    AnsweredIds answered;
    noteAnsweredIds(&answered, answers);
    RuleContext context{answers, firedRules, 0, 0, 0, &answered};
    if (answerValue(answers, &answered, rootElement) != 0)
        applyDisplayRules(displayRules, countOf(displayRules), context, firedRules, &states);
    applyDisplayRules(alwaysDisplayRules, countOf(alwaysDisplayRules), context, firedRules, &states);
    return states;
}

std::uint16_t findNextPage(AnswerList* firedRules, const Answer* states, const Answer* answers,
                           std::uint16_t currentPage, const DbRecord* const* hierarchyRecords)
{
    std::uint16_t next = 0;
    if (answerValue(answers, rootElement) != 0)
        next = applyNextPageRules(nextPageRules, countOf(nextPageRules), firedRules, answers, currentPage);
    if (next == 0)
        next = applyNextPageRules(alwaysNextPageRules, countOf(alwaysNextPageRules), firedRules, answers,
                                  currentPage);
    if (next == 0)
        next = nextVisiblePage(states, currentPage, hierarchyRecords);
    return next;
}
