// Caveats, a sequence run by both the prescription and the side-effect runs. Most opioid caveats
// are left out when the chosen drug is acetaminophen (13922) or an NSAID (13923). Rules 2852 and
// 3449 are twins: beside an acetaminophen-containing opioid (13087, 13088) only NSAIDs are advised.
#include "rules/rules.h"
#include "rules/ruleset.h"
#include "rules/tables.h"

// Breastfeeding: opioids pass into milk (AAP Committee on Drugs, the transfer of drugs into
// human milk, 2001).
static constexpr const char* B1 =
    "Historically, opioids are considered relatively safe for use in breastfeeding, however, all opioids will decrease "
    "lactation and pass into breast milk in small amounts, so the lowest effective dose should be used and the nursing "
    "infant observed for drowsiness and poor feeding (American Academy of Pediatrics Committee on Drugs. The transfer "
    "of drugs and other chemicals into human milk. Pediatrics 2001;108(3):776-89).";
static constexpr const char* C1 =
    "CAUTION:  Acetaminophen and aspirin content of some short acting oral opioids limit their use beyond 2 tablets every "
    "4 or 6 hours.  If currently at dosage maximum, use dose calculator to determine new opioid and dose "
    "recommendations.  When entering 24 total mgs of PO opioid, increase the mgs by 50%  (e.g. Lortab 5/500 2 tablets "
    "every 4 hours would be 60 mgs/24 hours. Increase 24 hr total of 60 mgs by 50% to 90 mgs/ 24 hours and enter to "
    "find new dose and drug). ";
// Rofecoxib: the colorectal adenoma prevention trial (Bresalier et al., 2005) that led to its withdrawal.
static constexpr const char* C2 =
    "Merck and Co., Inc. has voluntarily withdrawn rofecoxib from the market. In a three-year, placebo-controlled "
    "study of rofecoxib 25 milligrams daily for the prevention of colorectal adenomas, patients taking rofecoxib had "
    "about twice the risk of confirmed thrombotic cardiovascular events, such as heart attack and stroke, as patients "
    "taking placebo. The increased risk became apparent after about 18 months of treatment.";
static constexpr const char* C3 =
    "Patients receiving NSAIDS should be screened carefully for contraindications:<ul><li>renal insufficiency</li>"
    "<li>pregnancy</li><li>Hypertension or cardiac conditions aggravated by fluid retention and edema</li><li>Recent "
    "history of GI ulceration / bleeding</li></ul>Patients with the following contraindications may still be candidates "
    "for COX-2 selective NSAIDS but should not receive non-selective NSAIDS:<ul><li>Previous history of serious "
    "gastrointestinal events and low cardiovascular risk</li><li>Asthma, uticaria rhinitis, bronchospasm with "
    "rhinoconjunctivitis or angioderma associated with aspirin or other NSAIDS</li><li>Liver dysfunction, consumption "
    "of more than 3 alcoholic beverages daily</li><li>Sulfa allergy is a contraindication for Celecoxib</li></ul>";
// The byte of value 5 after "cirrhosis" is part of the stored text.
static constexpr const char* C4 =
    "Administration of NSAIDs to patients with liver failure (e.g. severe hepatic insufficiency, cirrhosis\005) is "
    "CONTRAINDICATED.  Consider consult with a pain management specialist.";

static constinit const ClinicalRule caveats[] = {
    // condition                                                                                   id    entries
    {"9523 and none of 13922, 13923, 10279, 2051, 2055, 14086, 13087, 13088"_when,                 2852,
     {{"Acetaminophen and NSAIDs should be ordered for routine administration WITH opioid to optimize analgesia and for opioid sparing effects unless contraindicated."}}},
    {"9523 and none of 13922, 13923, 10279, 2051, 2055, 14086 and (13087 or 13088)"_when,          3449,
     {{"NSAIDs should be ordered for routine administration WITH opioid to optimize analgesia and for opioid sparing effects unless contraindicated."}}},
    {"any of 2047, 2048, 9841, 2051, 2052"_when,                                                   2641,
     {{"Strict adherence to the monitoring guidelines listed below is suggested."}}},
    {"2047 and not 13922 and not 13923"_when,                                                      2634,
     {{"Because sleep apnea is an independent risk factor for respiratory depression, all opioids should be used cautiously and continuous infusions of opioids are not recommended."}}},
    {"2048 and not 13922 and not 13923"_when,                                                      2635,
     {{"Because morbid obesity is an independent risk factor for respiratory depression, all opioids should be used cautiously and continuous infusions of opioids are not recommended."}}},
    {"9841 and not 13922 and not 13923"_when,                                                      2636,
     {{"Dose reductions in the elderly (> 65) are generally not necessary and unrelieved pain is a more common cause of disorientation than opioid side effects."}}},
    {"2051 and not 13922 and not 13923"_when,                                                      2637,
     {{"Patients with renal insufficiency are at an increased risk for accumulation of opioid metabolites therefore morphine is contraindicated."}}},
    {"2055 and not 13922 and not 13923"_when,                                                      2638,
     {{"Congestive heart failure may cause smaller volumes of distribution leading to increased sensitivity to opioids effects."}}},
    {"10270 and not 13922 and not 13923"_when,                                                     2639,
     {{"Recommend administration of opioid after breastfeeding so drug concentrations  are at the lowest level."},
      {B1},
      {"When opioid administration is necessary during breast feeding, consultation with an obstetrician or perinatologist is recommended."}}},
    {"10279 and not 13922 and not 13923"_when,                                                     2640,
     {{"In general, opioids do not inhibit the effect of bronchodilators and may help to prevent bronchospasm."},
      {"Opioids should be used with extreme caution in patients with acute asthmatic symptoms or status asthmaticus."}}},
    {"any of 2051, 2052, 9841, 2055 and not 13922 and not 13923"_when,                             2642,
     {{"Decreased plasma proteins may lead to increased opioid sensitivity possibly leading to sedation and respiratory depression."}}},
    {"2081 or (13089 and 2051)"_when,                                                              2643,
     {{"The morphine metabolite, morphine-6-glucuronide (M-6-G) is a significantly potent analgesic that can accumulate and increase the risk of sedation and respiratory depression."}}},
    {"2083 and 2048"_when,                                                                         2644,
     {{"Fentanyl binds to adipose tissue and may create a reservoir effect leading to delayed respiratory depression.  "}}},
    {"9525 and 2075 and (((2063 or 2064) and 12128) or 12132)"_when,                               2741,
     {{C1}}},
    {"2075 and 13923"_when,                                                                        2760,
     {{C2},
      {"NSAIDS in general should not be substituted for aspirin for cardiovascular prophylaxis."},
      {"Acetaminophen should be ordered for routine administration to optimize analgesia unless contraindicated."},
      {C3}}},
    {"2064 and 2068"_when,                                                                         2770,
     {{"Careful assessment is necessary to determine if it is appropriate to withhold opioid or if greater pain control is needed."},
      {"Uncontrolled, severe pain can result in mental status changes or disorientation (e.g. acute respiratory alkalosis secondary to CNS stimulation)."}}},
    {"13922"_when,                                                                                 2773,
     {{"The maximum daily dosage of acetaminophen is 4000 mg."},
      {"Use with caution in patients with G-6-PD deficiency due to an isolated case report of hemolysis."},
      {"Chronic alcohol users (e.g. 3 or more drinks per day) may be at an increased risk of liver damage or stomach bleeding. Recommended maximum daily dose of acetaminophen is 2000 milligrams."}}},
    {"2055"_when,                                                                                  2794,
     {{"Decreased hepatic and/or renal clearance can significantly increase the half-life of all medications."}}},
    {"(2081 or 13089) and 10279"_when,                                                             2848,
     {{"Morphine induced bronchospasm is rare and is associated with doses > 10 mg or infusions shorter than 4 to 5 minutes."}}},
    {"2052 and 13923"_when,                                                                        2850,
     {{C4}}},
    {"2072"_when,                                                                                  2878,
     {{"Family and staff members must understand that ONLY the PATIENT should push the PCA button.  If anyone else pushes the PCA button, respiratory depression and death could result."}}},
    {"11226"_when,                                                                                 3404,
     {{"Doses as high as 32-64 mg of ondansetron, and 1.8 mg/kg of dolasetron have been given to patients on chemotherapy without significant adverse effects."},
      {"If nausea should recur after treatment, consider changing the anti-emetic from a prn dosing to a scheduled dosing regimen (Ex: 'Odansetron 4 mg every 6 hours around the clock times 8 doses')."},
      {"It is important to ascertain the cause of a patient's nausea. Zura can be a potent stimulus for nausea, as can gastric distention, hyper-acidity, hypovolemia, and medications other than opioids."}}},
    {"11223"_when,                                                                                 3405,
     {{"Consider the following factors that may contribute to respiratory depression:  "},
      {"Illicit use of opioids or CNS depressants by patient or family member."},
      {"Family member pushing PCA button."},
      {"Pulmonary embolism."},
      {"Wrong opioid or incorrect dose of opioid administered."},
      {"Co-administration of CNS depressants."},
      {"Wrong medication or concentration of opioid in PCA."},
      {"PCA pump not programmed correctly."}}},
    {"11225"_when,                                                                                 3407,
     {{"A non-sedating antihistamine (e.g. loratadine (Claritin.) or fexofenadine (Allegra.)) is the preferred treatment for mild systemic histamine release if the patient can take oral medications."},
      {"Opioid agonist-antagonists and pure opioid antagonists have the potential to reverse analgesia. It is recommended to use the lower starting doses and titrate upwards based upon patient response."}}},
    {"11224"_when,                                                                                 3409,
     {{"Consider the following factors that may contribute to patient sedation: "},
      {"Wrong medication or concentration of opioid in PCA."},
      {"PCA pump not programmed correctly."},
      {"Illicit use of opioids or CNS depressants by patient or family member."},
      {"Family member pushing PCA button."},
      {"Pulmonary embolism."},
      {"Wrong opioid or incorrect dose of opioid administered."},
      {"Co-administration of CNS depressants."}}},
    {"2082 and (2051 or (2075 and (2055 or 10279)))"_when,                                         3428,
     {{"Hydromorphone is in the same chemical group as morphine.  Because morphine is contraindicated in this case, use of Hydromorphone is controversial.  However, clinical experience supports its use as an alternative to morphine."}}},
    {"(2063 or 2064) and (2073 or 2075)"_when,                                                     3436,
     {{"When pain is moderate to severe the patient should be assessed for pain and offered opioids routinely rather than PRN."}}},
    {"(2063 or 2064) and 2073"_when,                                                               3437,
     {{"Consider IV PCA to optimize pain management in moderate to severe pain."}}},
    {"2072 and 2069"_when,                                                                         3456,
     {{"Recommend the use of clinician delivered boluses until patient is alert and oriented."}}},
    {"9523 and not 13922 and not 13923"_when,                                                      3457,
     {{"Constipation should be treated prophylactically with stool softener AND stimulating laxative administered routinely unless contraindicated."}}},
    {"2075 and (13088 or 13089)"_when,                                                             3460,
     {{"Long-acting controlled release or sustained release opioids are only indicated for postoperative pain management if the patient is already receiving opioids prior to surgery or if the postoperative pain is expected to be moderate to severe and persist for an extended period of time."}}},
};

const RuleTable caveatTable = ruleTable("caveats", caveats);

void caveatRules(AnswerList* cited, const RuleContext& context, TextList* output)
{
    runSequence(caveatTable, cited, context, output);
}
