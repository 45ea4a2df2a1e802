// Side-effect management: the step list of the first chosen side effect (a decision list in the
// order nausea / vomiting, pruritus / rash, sedation, respiratory depression, constipation), and
// the rationale of every chosen one (a sequence). A step list is a flat outline: an empty entry
// marked "LIST" opens a level, "ENDLIST" closes it; every list ends back at level 0.
#include "rules/rules.h"
#include "rules/ruleset.h"
#include "rules/tables.h"

// nausea / vomiting (3396)
static constexpr std::initializer_list<RuleEntry> nauseaSteps = {
    {"STEP ONE: "},
    openList,
        {"A. Rule out alternative causes (e.g. mechanical etiology, pancreatitis, non-opioid medications) before proceeding with this recommendation.   Consensus guidelines indicate patients at moderate to high risk for post operative nausea and vomiting should be treated with anti emetics prophylactically"},
        {"B. Reduce opioid dose 25% and add Acetaminophen or NSAID for opioid sparing effects unless contraindicated."},
        {"C. Administer dolasetron 12.5 milligrams IV every 8 hours prn OR ondansetron 4 milligrams IV every 6 hours prn."},
    closeList,
    {"STEP TWO: "},
    {"If nausea does not resolve within a 12 hour period, ADD one of the following: "},
    openList,
        {"A.  Add metoclopramide 10 milligrams IV every 6 hours prn."},
        {"B.  Consider changing to alternate opioid. "},
    closeList,
    {"STEP THREE: "},
    {"If nausea does not resolve within 24 hours: "},
    openList,
        {"A. Change to an alternate opioid."},
        {"B. Consider ONE of the following H-2 blockers to decrease hyper-acidity in patients who are NPO:"},
        openList,
            {"famotidine 20 milligrams IV every 12 hours"},
            {"ranitidine 50 milligrams IV every 8 hours"},
        closeList,
        {"C. Consider consulting with a pain management specialist."},
    closeList,
};

// pruritus / rash (3397)
static constexpr std::initializer_list<RuleEntry> pruritusSteps = {
    {"STEP ONE: "},
    openList,
        {"A. Rule out alternative causes (e.g. antibiotic, sulfa or other medication related allergic reaction) before proceeding with recommendation."},
        {"B. Reduce opioid dose 25% and add Acetaminophen or NSAID for opioid sparing effects unless contraindicated."},
        {"C. Administer nalbuphine 1- 2 milligrams IV every 1-2 hours prn."},
    closeList,
    {"STEP TWO: "},
    {"If pruritus does not resolve within a 12 hour period: "},
    openList,
        {"A.  Change to alternate opioid."},
    closeList,
    {"STEP THREE: "},
    {"If pruritus does not resolve within 24 hours: "},
    openList,
        {"A. Consider consulting with a pain management specialist."},
    closeList,
};

// sedation (3398)
static constexpr std::initializer_list<RuleEntry> sedationSteps = {
    {"STEP ONE: "},
    openList,
        {"A. Rule out alternative causes (e.g. CNS process, pulmonary embolism, metabolic imbalance, anxiolytic/hypnotic medications) before proceeding with recommendation. "},
        {"B. Assess level of sedation and respiratory rate."},
        {"C. Choose one of the following options:"},
        openList,
            {"Continue with Sedation recommendation if level of Sedation is 3 (frequently drowsy, arousable, drifts off to sleep during conversation)"},
            {"If sedation is greater than 3 or is associated with respiratory rate less than 8 proceed directly to respiratory depression side effect and administer naloxone."},
        closeList,
    closeList,
    {"STEP TWO: "},
    {"Review patient's current medications. "},
    openList,
        {"Discontinue unnecessary CNS depressing medications that may be contributing to sedation."},
    closeList,
    {"STEP THREE: "},
    {"If no co sedating medications administered: (choose one of the following) "},
    openList,
        {"A. Patient is comfortable; reduce opioid dose by 25%.  Add acetaminophen and NSAIDS for opioid sparing effects unless contraindicated."},
        {"B. Patient is not comfortable; reduce opioid dose by 25% and consider administering more frequently or rotating to an alternate opioid.   Add acetaminophen and NSAIDS for opioid sparing effects unless contraindicated."},
    closeList,
    {"STEP FOUR: "},
    {"Stimulate patient and monitor every 30 minutes until level of sedation is 2 (patient is easily arousable): "},
    openList,
        {"Respiratory rate"},
        {"Level of sedation"},
        {"Oxygen saturation (administer oxygen as needed)"},
    closeList,
    {"STEP FIVE: "},
    {"If sedation is opioid-induced and expected to continue (e.g. long-acting opioids): "},
    openList,
        {"Dilute naloxone (Narcan) 0.4 mg in one liter of IV fluids and infuse at 75 - 125 mL per hour continuously until sedation resolves."},
    closeList,
};

// respiratory depression (3399)
static constexpr std::initializer_list<RuleEntry> respiratoryDepressionSteps = {
    {"STEP ONE: "},
    openList,
        {"A. Rule out alternative causes (e.g. CNS process, pulmonary embolism, metabolic imbalance, anxiolytic/hypnotic medications) before proceeding with recommendation. "},
        {"B. Assess level of sedation and respiratory rate."},
        {"C. Choose one of the following options:"},
        openList,
            {"Continue with recommendations if respiratory rate is <8/minute, unresponsive, with pinpoint pupils."},
            {"If respiratory rate is greater than 8/minute and patient is arousable, proceed directly to sedation side effect.  DO NOT administer naloxone."},
        closeList,
    closeList,
    {"STEP TWO: "},
    {"Call for assistance and complete the following as quickly as possible.  "},
    openList,
        {"Discontinue opioid administration.  "},
        {"Maintain adequate airway"},
        {"Stimulate patient "},
        {"Administer oxygen as needed"},
        {"Establish patent IV access"},
        {"Elevate head of bed and obtain suction in case of aspiration.  "},
    closeList,
    {"STEP THREE: "},
    {"If sedation is caused by concurrent administration of benzodiazepines and opioids: "},
    openList,
        {"Reverse sedative effects of benzodiazepines prior to proceeding with step four."},
    closeList,
    {"STEP FOUR: "},
    {"If sedation is opioid-induced: "},
    openList,
        {"Dilute naloxone (Narcan.) 0.4 mg/mL in normal saline to a volume of 10 mL."},
        {"Administer 0.5 - 1 cc (0.02 - 0.04 mg) slow IV push.  "},
        {"Repeat dose every 2 minutes as needed until patient is easily arousable with respiratory rate greater than 8/minute. "},
        {"Do not exceed 0.8 mg total dose and use extreme caution when administering naloxone (Narcan). Rapid reversal of opioids can cause hypertension, tachycardia, dysrhythmias, and pulmonary edema."},
    closeList,
    {"STEP FIVE: "},
    {"Stimulate and monitor patient every 5 minutes for resedation and respiratory depression which may occur as soon as 30 minutes after last naloxone (Narcan) dose:"},
    openList,
        {"Respiratory rate"},
        {"Level of sedation"},
        {"Oxygen saturation"},
    closeList,
    {"STEP SIX:"},
    {"when patient is able to maintain respiratory rate greater than 8/minute and is easily arousable:"},
    openList,
        {"Reduce opioid dose by 50% and resume opioid administration"},
        {"Add acetaminophen and NSAIDS for opioid sparing effects unless contraindicated"},
    closeList,
};

// constipation (every step heading ends with two blanks) (3400)
static constexpr std::initializer_list<RuleEntry> constipationSteps = {
    {"STEP ONE:  "},
    openList,
        {"A. Rule out alternative causes of constipation (e.g. ileus, obstruction, other mechanical etiology, pancreatitis, non-opioid medications).  "},
        {"B. Obtain patient's bowel habit history before they began opioid therapy to guide therapeutic goal for laxative therapy.  Constipation should be treated prophylactically. "},
        {"C. (Choose one of the following options)  "},
        openList,
            {"Docusate sodium 50 mg/Senna 8.6 mg 2 tablets PO at bedtime [OR]   "},
            {"Docusate sodium sulfosuccinate 60 mg/Casanthranol 30 mg 2 capsules PO at bedtime [OR]   "},
            {"Docusate sodium sulfosuccinate 60 mg/Casanthranol 30 mg / 15 ml, 15 - 30 ml via feeding tube BID [OR]  "},
            {"Bisacodyl 5 mg 1-2 tablets PO at bedtime AND Docusate sodium 100 mg 1 gelcap PO at bedtime [OR]   "},
            {"Bisacodyl suppository 10 mg PR      "},
        closeList,
    closeList,
    {"STEP TWO:  "},
    {"If no bowel movement in any 48 hour period, ADD one of the following:  "},
    openList,
        {"Milk of Magnesia 30-60 ml 1-2 times daily [OR]   "},
        {"Lactulose 15-30 ml PO twice daily [OR]   "},
        {"Sorbitol 70% 15-30 ml PO twice daily   "},
    closeList,
    {"STEP THREE:  "},
    {"If no bowel movement by 72 hours:  "},
    openList,
        {"A. Rule out impaction, mechanical obstruction or ileus.  "},
        {"B. Consider changing or discontinuing any drug therapies that also cause constipation, (e.g. anticholinergics, calcium channel blockers, clonidine, iron supplements, NSAIDs).  "},
        {"C. Consider changing choice of opioid or route of administration.  "},
        {"D. If no mechanical or medical cause can be determined, go to step 4.  "},
        {"E. If impacted go to step 5.  "},
    closeList,
    {"STEP FOUR:  "},
    {"After ruling out impaction choose one of the following:  "},
    openList,
        {"Bisacodyl suppository 10 mg PR [OR]   "},
        {"Magnesium Citrate 8 oz PO [OR]   "},
        {"Senna extract 2.5 oz PO [OR]   "},
        {"Milk of Magnesia 25 ml AND Cascara 5 ml suspension [OR]   "},
        {"Fleet enema"},
    closeList,
    {"STEP FIVE:  "},
    {"If patient is Impacted:  "},
    openList,
        {"Administer analgesic or tranquilizer as indicated before disimpaction   "},
        {"Manually disimpact if stool is soft enough   "},
        {"If stool is too hard, soften with glycerin suppository or oil retention enema, then disimpact manually   "},
        {"Follow disimpaction with a tap water or soapsuds enema until clear   "},
        {"Increase daily bowel regimen "},
    closeList,
};
static constinit const ClinicalRule sideEffectSteps[] = {
    // condition              id    step list
    {"11226"_when,            3396, nauseaSteps},
    {"11225"_when,            3397, pruritusSteps},
    {"11224"_when,            3398, sedationSteps},
    {"11223"_when,            3399, respiratoryDepressionSteps},
    {"13973"_when,            3400, constipationSteps},
};

// Sedation and respiratory depression have no rationale: their contributing factors are caveats.
static constinit const ClinicalRule sideEffectRationale[] = {
    // condition              id    entries
    {"11226"_when,            3406,
     {{"5-HT3 blockers are the most effective single agents for nausea and vomiting. They have also been shown to be more cost effective."},
      {"Medications commonly used to treat nausea often cause sedation and are not recommended (e.g. promethazine)."}}},
    {"11225"_when,            3408,
     {{"Opioid agonist-antagonists or pure antagonists are often more effective than anti-histamines for this condition."},
      {"Opioid-assocaited pruritis is postulated to be a chemonociceptive response to opioids mediated by superficial dorsal horn neurons."},
      {"Opioid-associated pruritis is very rarely caused by a true 'allergic' reaction."}}},
    {"13973"_when,            3410,
     {{"Factors that contribute to the development of constipation include, advanced age, immobility, abdominal disease and concurrent medications."},
      {"Routine administration of a stimulant laxative and stool softener is recommended to prevent opioid-induced constipation."},
      {"Tolerance to opioid-induced constipation does not develop over time."}}},
};

const RuleTable sideEffectStepTable = ruleTable("side-effect steps", sideEffectSteps);
const RuleTable sideEffectRationaleTable = ruleTable("side-effect rationale", sideEffectRationale);

void sideEffectStepRules(AnswerList* cited, const RuleContext& context, TextList* output)
{
    runDecisionList(sideEffectStepTable, cited, context, output);
}

void sideEffectRationaleRules(AnswerList* cited, const RuleContext& context, TextList* output)
{
    runSequence(sideEffectRationaleTable, cited, context, output);
}
