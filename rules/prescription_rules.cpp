// The opioid prescription: one decision list tried in this order: the two safety stops, the PCA
// pump rows (pca_rules.cpp), the oral orders (route 2075) and the intermittent intravenous
// orders (route 2073). The first row that holds fires and the set ends; no row, no entry.
#include "rules/prescription.h"
#include "rules/rules.h"

// Entries shared by many oral and intravenous orders.
static constexpr RuleEntry D = {"Discontinue all unnecessary CNS depressants."};
static constexpr RuleEntry Dx = {"Discontinue all unnecessary CNS depressants. "};
static constexpr RuleEntry N = {"Do not exceed 4000 milligrams of acetaminophen in 24 hours.", "NOTE"};
static constexpr RuleEntry N0 = {"Do not exceed 4000 milligrams of acetaminophen in 24 hours."};
static constexpr RuleEntry N2 = {"Do not exceed 4000 milligrams of acetaminophen in 24 hours.  "};
static constexpr RuleEntry L = {"Concurrent administration of CNS depressants may lead to unacceptable sedation and hypoxia. ", "Logic"};

// Whatever the route: hold at the sedation score 2070; refer on sedation score 3 with three
// counted factors, or two counted factors and an age over 65.
static constinit const ClinicalRule safetyStops[] = {
    // condition                                                                       id    entries
    {"2070"_when,                                                                      3384,
     {{"Recommend holding opioid administration until cause of sedation is identified and resolved.  If sedation is opioid-induced, proceed immediately to the Side Effects module and refer to Sedation or Respiratory Depression"},
      {"HOLD", "HOLD"}}},
    {"2069 and (countChosen(16157) > 2 or (countChosen(16157) > 1 and 9841))"_when, 3454,
     {{"Due to the level of sedation (3) and the number of mitigating factors, a consultation with a pain specialist is recommended."}}},
};

// Conditions that exclude acetaminophen-containing oral products.
#define X "(14021 or 2052)"

static constinit const ClinicalRule oralOrders[] = {
    // condition                                                   id    entries
    {"2075 and 2062 and 13088 and not 2069 and "_when X,           2762, {{"Oxycodone 5 milligrams 1 tab PO every 4 hours PRN pain.  "}, D}},
    {"2075 and 2062 and 13088 and not 2069 and not 14021"_when,    2686, {{"Oxycodone/Acetaminophen 5/325 milligrams 1 tab PO every 4 hours PRN pain."}, N, D}},
    {"2075 and 2062 and 13087 and not 2069 and "_when X,           3445, {{"Hydrocodone/Acetaminophen 5/500 milligrams 1 - 2 tablets PO every 6 hours PRN pain."}, D}},
    {"2075 and 2062 and 13087 and not 2069"_when,                  2687, {{"Hydrocodone/Acetaminophen 5/500 milligrams 1 - 2 tabs PO every 6 hours PRN pain."}, N, D}},
    {"2075 and 2062 and 2082 and not 2069"_when,                   2688, {{"hydromorphone 2 milligrams 1 - 2 tab PO every 4 hours PRN pain.  "}, D}},
    {"2075 and 2062 and 13089 and not 2069"_when,                  2689, {{"Morphine (short-acting) 15 milligram one-half tab PO every 4 hours PRN pain.  "}, D}},
    {"2075 and 2063 and 13088 and not 2069 and "_when X,           2763, {{"Oxycodone 5 milligrams 1 - 2  tab PO every 4 hours PRN.  Offer routinely."}, D}},
    {"2075 and 2063 and 13088 and not 2069 and not 14021"_when,    2690, {{"Oxycodone/Acetaminophen 5/325 milligrams 1 - 2  tab PO every 4 hours PRN.  Offer routinely."}, N0, D}},
    {"2075 and 2063 and 13087 and not 2069 and "_when X,           3446, {{"Hydrocodone/Acetaminophen 7.5/500 milligrams 1 - 2 tablets PO every 6 hours PRN pain.  Offer routinely."}, D}},
    {"2075 and 2063 and 13087 and not 2069"_when,                  2691, {{"Hydrocodone/Acetaminophen 7.5 / 500 milligrams 1 - 2 tab PO every 6 hours PRN pain.  Offer routinely."}, N0, D}},
    {"2075 and 2063 and 2082 and not 2069"_when,                   2692, {{"hydromorphone 2 milligrams 2 - 3 tablets PO every 4 hours PRN pain.  Offer routinely. "}, D}},
    {"2075 and 2063 and 13089 and not 2069"_when,                  2693, {{"Morphine (short-acting) 15 milligram 1 tab PO every 4 hours PRN pain.  Offer routinely."}, D}},
    {"2075 and 2064 and 13089 and not 2069"_when,                  3441, {{"Morphine (short-acting) 15 milligrams 1 - 2 tablets PO every 4 hours PRN pain.  Offer routinely. "}, D}},
    {"2075 and 2064 and 2082 and not 2069"_when,                   3442, {{"hydromorphone 2 milligrams 3 - 4 tablets PO every 4 hours PRN pain.  Offer routinely."}, D}},
    {"2075 and 2064 and 13088 and not 2069 and any of 2047, 2051, 9841"_when, 3461, {{"Oxycodone 5 milligrams 1 - 3 tabs every 4 hours."}, D}},
    {"2075 and 2064 and 13088 and not 2069"_when,                  3443, {{"Oxycodone (controlled-release) 10 milligrams 1 tab PO every 12 hours.  Oxycodone (short-acting) 5 milligrams 1 - 2 tablets PO every 4 hours PRN breakthrough pain."}, D}},
    // sedation score 3: the pain score is not tested
    {"2075 and 2069 and 13088 and "_when X,                        2764, {{"Oxycodone 5 milligrams 1 tab PO every 4 hours PRN pain.  "}, D}},
    {"2075 and 2069 and 13088 and not 14021"_when,                 2694, {{"Oxycodone/Acetaminophen 5/325 milligrams 1 tab PO every 4 hours PRN pain. "}, N2, D}},
    {"2075 and 2069 and 13087 and "_when X,                        3444, {{"Hydrocodone/Acetaminophen 5/500 milligrams 1 tab PO every 4 hours PRN pain.  Add NSAIDS for opioid sparing effects unless contraindicated."}, D}},
    {"2075 and 2069 and 13087"_when,                               2695, {{"Hydrocodone/Acetaminophen 5/500 milligrams 1 tab PO every 4 hours PRN pain.  Add NSAIDs for opioid sparing effects unless contraindicated."}, N0, D}},
    {"2075 and 2069 and 2082"_when,                                2696, {{"hydromorphone 2 milligram 1 tab PO every 4 hours PRN pain.  Add NSAIDs for opioid sparing effects unless contraindicated.  "}, D}},
    {"2075 and 2069 and 13089"_when,                               2697, {{"Morphine (short-acting) 15 milligrams one-half tab PO every 4 hours PRN pain.  Add NSAIDs for opiod sparing effects unless contraindicated."}, D}},
};

#undef X

static constinit const ClinicalRule intravenousOrders[] = {
    // condition                                          id    entries
    {"2073 and 2062 and 2082 and not 2069"_when,          2700, {{"hydromorphone 0.1 - 0.2 milligrams IV every 1 hour PRN pain. "}, D}},
    {"2073 and 2062 and 2081 and not 2069"_when,          2701, {{"morphine 1 - 2 milligrams IV every 1 hour PRN pain.  "}, D}},
    {"2073 and 2062 and 2083 and not 2069"_when,          2702, {{"fentanyl 10 - 20 micrograms IV every 1 hour PRN pain. "}, D}},
    {"2073 and 2063 and 2082 and not 2069"_when,          2703, {{"hydromorphone 0.2 - 0.4 milligrams IV every 8 minutes until pain score < 4 or at goal, then hydromorphone 0.2 - 0.4 milligrams IV every 1 hour PRN pain.  Offer routinely, consider IV PCA"}, D}},
    {"2073 and 2063 and 2081 and not 2069"_when,          2704, {{"morphine 2 - 4 milligrams IV every 8 minutes until pain score < 4 or at goal, then morphine 2 - 4 milligrams IV every 1 hour PRN pain.  Offer routinely, consider IV PCA"}, D}},
    {"2073 and 2063 and 2083 and not 2069"_when,          2705, {{"fentanyl 20 - 40 micrograms IV every 5 minutes until pain score < 4 or at goal, then fentanyl 20 - 40 micrograms IV every 1 hour PRN pain.  Offer routinely, consider IV PCA."}, D}},
    {"2073 and 2064 and 2082 and not 2069"_when,          2706, {{"hydromorphone 0.2 - 0.8 milligrams IV every 8 minutes until pain score < 4 or at goal, then hydromorphone 0.2 - 0.8 milligrams IV every 1 hour PRN pain.  Offer routinely, strongly recommend IV PCA. "}, D}},
    {"2073 and 2064 and 2081 and not 2069"_when,          2707, {{"morphine 2 - 6 milligrams IV every 8 minutes until pain score < 4 or at goal, then morphine 2 - 6 milligrams IV every 1 hour PRN pain.  Offer routinely, strongly recommend IV PCA."}, D}},
    {"2073 and 2064 and 2083 and not 2069"_when,          2708, {{"fentanyl 20 - 60 micrograms IV every 5 minutes until pain score < 4 or at goal, then fentanyl 20 - 60 micrograms IV every 1 hour PRN pain.  Offer routinely, strongly recommend IV PCA."}, D}},
    {"2073 and 2069 and 2082"_when,                       2709, {{"Hydromorphone 0.05 - 0.1 milligrams IV every 1 hour PRN pain.  Add acetaminophen and NSAIDs for opioid sparing effects unless contraindicated."}, Dx, L}},
    {"2073 and 2069 and 2081"_when,                       2710, {{"Morphine 0.5 - 1 milligrams IV every 1 hour PRN pain.  Add acetaminophen and NSAIDs for opioid sparing effects unless contraindicated."}, Dx, L}},
    // the "Discontinue" entry comes before the dose here, as stored
    {"2073 and 2069 and 2083"_when,                       2711, {Dx, {"Fentanyl 5 - 10 micrograms IV every 1 hour PRN pain.  Add acetaminophen and NSAIDs for opioid sparing effects unless contraindicated."}, L}},
};

const RuleTable safetyStopTable = ruleTable("safety stops", safetyStops);
const RuleTable oralOrderTable = ruleTable("oral orders", oralOrders);
const RuleTable intravenousOrderTable = ruleTable("intravenous orders", intravenousOrders);

void prescriptionRules(AnswerList* cited, const RuleContext& context, TextList* output)
{
    if (runDecisionList(safetyStopTable, cited, context, output))
        return;
    if (runPcaRows(cited, context, output))
        return;
    if (runDecisionList(oralOrderTable, cited, context, output))
        return;
    runDecisionList(intravenousOrderTable, cited, context, output);
}
