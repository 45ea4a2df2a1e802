// Monitoring, a sequence run by the prescription run only. Rules 2645 and 3439 are exclusive on
// sedation score 3 (2069): without a non-opioid drug exactly one monitoring interval is given,
// and 3440 follows it.
#include "rules/rules.h"
#include "rules/ruleset.h"
#include "rules/tables.h"

static constexpr ClinicalRule monitoring[] = {
    // condition                                                              id    entries
    {when(anyOf({2047, 2048}), noneOf({13922, 13923})),                       2649,
     {{"Baseline ABG to evaluate PACO2 status."}}},
    {when(anyOf({2047, 2048, 9841, 2051, 2052}), noneOf({13922, 13923})),     2647,
     {{"Administer oxygen as needed to keep saturation >= 90%."}}},
    {when(anyOf({2047, 2048, 9841, 2051, 2052}), noneOf({13922, 13923})),     2650,
     {{"Continuous pulse oximetry monitoring may be useful."}}},
    {when(anyOf({2047, 2048}), noneOf({13922, 13923})),                       2648,
     {{"Consider pulmonary consult, telemetry monitoring, and 24 hour ICU observation."}}},
    {when(noneOf({13922, 13923, 2069})),                                      2645,
     {{"Monitor rate, depth and quality of respirations, level of sedation, and pain intensity score every two hours for 24 hours."}}},
    {when(allOf({2072})),                                                     2646,
     {{"Review hourly pattern of PCA demand dose requests to determine if patient is using PCA button appropriately."},
      {"Every 8 hours, check PCA pump for ratio of patient requested doses versus doses received."}}},
    {when(allOf({10270})),                                                    2651,
     {{"Monitor infant for increased drowsiness, changes in feeding patterns, and constipation."}}},
    {when(allOf({13923})),                                                    2774,
     {{"Baseline renal function."},
      {"GI distress."},
      {"Zura score every 4 hours."}}},
    {when(allOf({13922})),                                                    2775,
     {{"Baseline renal function."},
      {"Alcohol use or abuse, concomitant OTC or prescription medicines containing acetaminophen."},
      {"Zura score every 4 hours."},
      {"GI Distress."}}},
    {when(noneOf({13922, 13923}), allOf({2069})),                             3439,
     {{"Monitor rate, depth and quality of respirations, level of sedation, and pain intensity score every 30 minutes until level of sedation 2."}}},
    {when(noneOf({13922, 13923})),                                            3440,
     {{"Check for nausea / vomiting, pruritus, and constipation every 8 hours until opioids are discontinued."},
      {"If patient is stable (e.g. patient alert, pain controlled, minimal side effects) on opioid after 24 hours, decrease frequency of monitoring to every 4 hours until opioids are discontinued."}}},
};

const RuleTable monitoringTable = ruleTable("monitoring", monitoring);

void monitoringRules(AnswerList* cited, const Answer* answers, TextList* output)
{
    runSequence(monitoringTable, cited, answers, output);
}
