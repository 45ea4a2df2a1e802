// Rationale of the prescription run, a sequence. Each route's rule opens with the same sentence
// on CNS depressants. Under PCA, 3458 (fentanyl without sleep apnea or obesity: a small basal
// rate) and 3466 (no basal rate) are exact complements, so a PCA report carries one of them.
#include "rules/rules.h"
#include "rules/ruleset.h"
#include "rules/tables.h"

static constexpr RuleEntry cnsDepressants = {"CNS depressants will limit the opioid dose and effective pain management and may lead to sedation and hypoxia."};

static constinit const ClinicalRule rationale[] = {
    // condition                                              id    entries
    {"9523 and 2075 and not 13923 and not 13922"_when,        2849,
     {cnsDepressants,
      {"Due to significant variability in patient response to opioid analgesics, recommended doses are based on conservative starting doses and titration is necessary to achieve safe and effective doses."},
      {"The oral route is preferred because it is the least invasive and most flexible and convenient route of opioid administration."},
      {"Frequent monitoring is essential as most opioid related events occur after the first dose or within the first 24 hours of therapy. "},
      {"Because opioid requirements can vary 20-fold in opioid naive patients the dose should be titrated according to patient response. "},
      {"Level of sedation is the most sensitive indicator of impending respiratory depression. "},
      {"There is no correlation between body weight and opioid dose, and only a weak relationship between opioid dose and age. "}}},
    {"9523 and 2073"_when,                                    2853,
     {cnsDepressants,
      {"Intravenous patient controlled analgesia is recommended when moderate to severe pain requires frequent dosing of opioids."},
      {"To avoid lapses in pain relief, 'PRN' intervals should be changed to scheduled intervals once a safe and effective dose is determined. Additional doses should be prescribed for PRN administration for painful activities or procedures."},
      {"Administration intervals are based on the opioid onset and peak times to balance the need for sufficient analgesia  between doses, and to allow administration of PRN  doses frequently, and prior to painful activities or procedures."},
      {"Frequent monitoring is essential as most opioid related events occur after the first dose or within the first 24 hours of therapy. "},
      {"Opioid requirements can vary 20-fold in opioid naive patients. Dose of opioid should be titrated according to patient response. "},
      {"Level of sedation is the most sensitive indicator of impending respiratory depression. "},
      {"There is no correlation between body weight and opioid dose, and only a weak relationship between opioid dose and age. "}}},
    {"9523 and 2072"_when,                                    3392,
     {cnsDepressants,
      {"The hourly limit is selected to allow for 3 to 5 times the anticipated amount the patient will require and will need to be titrated in correlation with dose titration to maintain an appropriate ratio."},
      {"Lock-out times are based on the opioid onset and peak times to balance the need to allow sufficient time for analgesia onset before the patient can request a second dose, and to allow the patient to access PRN doses frequently and prior to painful activities or procedures."},
      {"Due to significant variability in patient response to opioid analgesics, recommended doses are based on conservative starting doses and titration is necessary to achieve safe and effective doses."}}},
    {"9523 and 2075 and 13923"_when,                          3448,
     {{"NSAIDS relieve mild pain through inhibition of prostaglandin production in the central and peripheral nervous system.  NSAIDS are indicated for inflammatory pain since acetaminophen and opioids have minimal anti-inflammatory activity."},
      {"Patients may vary in their response to NSAIDS and rotating to an alternate NSAID should be considered if the current NSAID is not effective at therapeutic dose."},
      {"Non selective or traditional NSAIDS (e.g. ibuprofen, naproxen) inhibit prostaglandins production through cyclooxygenase (COX) 1 and 2 pathways suppressing gastroprotective prostaglandins leading to the most common side effect, increased risk of gastrointestinal ulceration and bleeding.  "},
      {"Both Non selective and COX-2 selective NSAIDS are contraindicated in renal insufficiency as they produce similar changes in urinary prostaglandin excretion, glomerular filtration rate and sodium retention.  "},
      {"NSAIDS should not be taken during pregnancy, as they are associated with miscarriage and fetal complications. "}}},
    {"2072 and 2083 and not 2047 and not 2048"_when,          3458,
     {{"The use of a small continuous infusion (basal rate) is recommended to maintain a baseline steady serum level and reduce the peaks and valleys that occur due to the extremely short half-life of fentanyl. "}}},
    {"2075 and 13922"_when,                                   3464,
     {{"Acetaminophen is a mild analgesic with antipyretic effects similar to aspirin.  It inhibits prostaglandin production via the cycoloxagenase-3 (COX-3) pathway in the central nervous system."},
      {"Hepatotoxicity is associated with acetaminophen doses that exceed 4000 mg daily and at recommended doses in patients with hepatic dysfunction. "},
      {"Acetaminophen is a common ingredient in over-the-counter medications and patients should be instructed to avoid using in excess of the daily maximum recommended dosage when medications are combined with acetaminiophen."}}},
    {"2072 and (not 2083 or 2047 or 2048)"_when,             3466,
     {{"The benefit of using a continuous infusion of opioids with patient controlled analgesia (PCA) does not outweigh the risk of increasing respiratory depression in an opioid naive patient."}}},
};

const RuleTable rationaleTable = ruleTable("rationale", rationale);

void rationaleRules(AnswerList* cited, const RuleContext& context, TextList* output)
{
    runSequence(rationaleTable, cited, context, output);
}
