// Reference rules, a sequence with no text: they record ids for the route, the dose-conversion
// module and, under PCA, each mitigating factor, so that the reference record can key citations
// to them. Both rule runs evaluate this set.
#include "rules/rules.h"
#include "rules/ruleset.h"
#include "rules/tables.h"

static constexpr ClinicalRule references[] = {
    // condition                     id    entries
    {when(allOf({2072})),            3361, {}},   // PCA route
    {when(allOf({2073})),            3362, {}},   // intravenous route
    {when(allOf({2075})),            3363, {}},   // oral route
    {when(allOf({9524})),            3364, {}},   // dose-conversion module
    {when(allOf({2072, 9841})),      3367, {}},   // elderly
    {when(allOf({2072, 10279})),     3368, {}},   // asthma
    {when(allOf({2072, 10270})),     3369, {}},   // breastfeeding
    {when(allOf({2072, 2055})),      3370, {}},   // congestive heart failure
    {when(allOf({2072, 2052})),      3371, {}},   // liver failure
    {when(allOf({2072, 2048})),      3372, {}},   // morbid obesity
    {when(allOf({2072, 2051})),      3373, {}},   // renal insufficiency
    {when(allOf({2072, 2047})),      3374, {}},   // sleep apnea
};

const RuleTable referenceTable = ruleTable("references", references);

void referenceRules(AnswerList* cited, const Answer* answers, TextList*)
{
    runSequence(referenceTable, cited, answers, nullptr);
}
