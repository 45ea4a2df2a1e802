// Oral acetaminophen and NSAID orders (route 2075), a sequence: both can appear, acetaminophen
// first. Age over 65 selects the lower doses; no acetaminophen beside an opioid product that
// already contains it. The NSAID texts keep their list markup; the display layer expands it.
#include "rules/rules.h"
#include "rules/ruleset.h"
#include "rules/tables.h"

static constinit const ClinicalRule nonOpioids[] = {
    // condition                                                        id    entries
    {"2075 and 13922 and 9841 and not 13088 and not 13087"_when,        2755, {{"Acetaminophen 400 milligrams PO every 6 hours."}}},
    {"2075 and 13922 and none of 13087, 13088, 9841"_when,              2756, {{"Acetaminophen 1000 millligrams PO every 6 hours."}}},
    {"2075 and 13923 and 9841"_when,                                    2757, {{"Choose ONE of the following:<ul><li>Ibuprofen 400 milligrams PO every 6 hours</li><li>Nabumetone 1000 milligrams PO once daily</li><li>Naproxen 250 milligrams PO every 12 hours</li><li>Celecoxib 200 milligrams PO initially, then 100 milligrams PO twice daily</li></ul>"}}},
    {"2075 and 13923 and not 9841"_when,                                2758, {{"Choose ONE of the following:<ul><li>Ibuprofen 400 milligrams PO every 4 to 6 hours</li><li>Ibuprofen 800 milligrams PO every 8 hours</li><li>Nabumetone 1000 milligrams PO once daily</li><li>Naproxen 500 milligrams PO every 12 hours</li><li>Celecoxib 400 milligrams PO initially, then 200 milligrams PO twice daily</li></ul>"}}},
};

const RuleTable nonOpioidTable = ruleTable("non-opioid orders", nonOpioids);

void nonOpioidRules(AnswerList* cited, const RuleContext& context, TextList* output)
{
    runSequence(nonOpioidTable, cited, context, output);
}
