// Monitoring, a sequence run by the prescription run only. Rules 2645 and 3439 are exclusive on
// sedation score 3 (2069): without a non-opioid drug exactly one monitoring interval is given,
// and 3440 follows it.
#include "rules/rules.h"
#include "rules/ruleset.h"
#include "rules/tables.h"

static constinit const ClinicalRule monitoring[] = {
    // condition                                                              id    entries
    {"(2047 or 2048) and not 13922 and not 13923"_when,                       2649,
     {{"Baseline ABG to evaluate PACO2 status."}}},
    {"any of 2047, 2048, 9841, 2051, 2052 and not 13922 and not 13923"_when,  2647,
     {{"Administer oxygen as needed to keep saturation >= 90%."}}},
    {"any of 2047, 2048, 9841, 2051, 2052 and not 13922 and not 13923"_when,  2650,
     {{"Continuous pulse oximetry monitoring may be useful."}}},
    {"(2047 or 2048) and not 13922 and not 13923"_when,                       2648,
     {{"Consider pulmonary consult, telemetry monitoring, and 24 hour ICU observation."}}},
    {"none of 13922, 13923, 2069"_when,                                       2645,
     {{"Monitor rate, depth and quality of respirations, level of sedation, and pain intensity score every two hours for 24 hours."}}},
    {"2072"_when,                                                             2646,
     {{"Review hourly pattern of PCA demand dose requests to determine if patient is using PCA button appropriately."},
      {"Every 8 hours, check PCA pump for ratio of patient requested doses versus doses received."}}},
    {"10270"_when,                                                            2651,
     {{"Monitor infant for increased drowsiness, changes in feeding patterns, and constipation."}}},
    {"13923"_when,                                                            2774,
     {{"Baseline renal function."},
      {"GI distress."},
      {"Zura score every 4 hours."}}},
    {"13922"_when,                                                            2775,
     {{"Baseline renal function."},
      {"Alcohol use or abuse, concomitant OTC or prescription medicines containing acetaminophen."},
      {"Zura score every 4 hours."},
      {"GI Distress."}}},
    {"not 13922 and not 13923 and 2069"_when,                                 3439,
     {{"Monitor rate, depth and quality of respirations, level of sedation, and pain intensity score every 30 minutes until level of sedation 2."}}},
    {"not 13922 and not 13923"_when,                                          3440,
     {{"Check for nausea / vomiting, pruritus, and constipation every 8 hours until opioids are discontinued."},
      {"If patient is stable (e.g. patient alert, pain controlled, minimal side effects) on opioid after 24 hours, decrease frequency of monitoring to every 4 hours until opioids are discontinued."}}},
};

const RuleTable monitoringTable = ruleTable("monitoring", monitoring);

void monitoringRules(AnswerList* cited, const RuleContext& context, TextList* output)
{
    runSequence(monitoringTable, cited, context, output);
}
