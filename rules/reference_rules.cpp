// Reference rules, a sequence with no text: they record ids for the route, the dose-conversion
// module and, under PCA, each mitigating factor, so that the reference record can key citations
// to them. Both rule runs evaluate this set.
#include "rules/rules.h"
#include "rules/ruleset.h"
#include "rules/tables.h"

static constinit const ClinicalRule references[] = {
    // condition                     id    entries
    {"2072"_when,                    3361, {}},   // PCA route
    {"2073"_when,                    3362, {}},   // intravenous route
    {"2075"_when,                    3363, {}},   // oral route
    {"9524"_when,                    3364, {}},   // dose-conversion module
    {"2072 and 9841"_when,           3367, {}},   // elderly
    {"2072 and 10279"_when,          3368, {}},   // asthma
    {"2072 and 10270"_when,          3369, {}},   // breastfeeding
    {"2072 and 2055"_when,           3370, {}},   // congestive heart failure
    {"2072 and 2052"_when,           3371, {}},   // liver failure
    {"2072 and 2048"_when,           3372, {}},   // morbid obesity
    {"2072 and 2051"_when,           3373, {}},   // renal insufficiency
    {"2072 and 2047"_when,           3374, {}},   // sleep apnea
};

const RuleTable referenceTable = ruleTable("references", references);

void referenceRules(AnswerList* cited, const RuleContext& context, TextList*)
{
    runSequence(referenceTable, cited, context, nullptr);
}
