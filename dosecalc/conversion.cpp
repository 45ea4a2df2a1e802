// The conversion arithmetic: mitigating factors, therapy texts, equianalgesic units and the
// morphine-equivalent total, and its regimens. A drug that cannot be converted (no drug chosen,
// no factor for its route, an impossible dose) gives no units and no total rather than a
// quotient by zero; the report then says that it cannot recommend.
#include "dosecalc/conversion.h"

#include <initializer_list>

#include "dbfile/textbuilder.h"
#include "dosecalc/conversion_factors.h"
#include "dosecalc/dose_ranges.h"
#include "dosecalc/numtext.h"
#include "questionnaire/elements.h"
#include "questionnaire/ruleconditions.h"

namespace {

const char noMarker[] = "";

// --- mitigating factors ---------------------------------------------------------------------

// A mitigating factor: when its condition holds, the options it names rise to its status and
// take its name as a reason; its caveat, if any, is added.
struct MitigatingFactor {
    Condition answered;
    const char* name;            // nullptr: the row only adds its caveat
    int options[2];              // options raised (0 = unused)
    std::int32_t status;
    const char* caveat;
};

const char liverCaveat[] =
    "Careful observation is warranted.  Consider increasing dosing intervals as decreased hepatic "
    "metabolism may result in opioid accumulation.  Decreased plasma proteins may result in "
    "exaggerated opioid effects.";
const char sleepApneaCaveat[] =
    "Patients with sleep apnea or morbid obesity are at increased risk for respiratory depression "
    "and death when opioids are used.  Careful observation, titration, and oxygen therapy are "
    "highly recommended.  Consultation with a Zura Service and Pulmonary Medicine should be "
    "considered.";
const char renalCaveat[] = "Consider extending dosing intervals in patients with renal insufficiency";
const char heartFailureCaveat[] =
    "Consider extending dosing intervals in patients with congestive heart failure, as concurrent "
    "renal and/or hepatic insufficiency may extend opioid half-lives.";

// Applied in this order; reasons and caveats keep it.
constinit const MitigatingFactor factorRows[] = {
    //  answered          factor name                  options  raised to                  caveat
    {"11713"_when,       "Asthma",                    {2, 6},  RelativeContraindication, nullptr},
    {"11707"_when,       "Morbid Obesity",            {1, 2},  AbsoluteContraindication, nullptr},
    {"11708"_when,       "Elderly",                   {0, 0},  Available,                nullptr},
    {"11710"_when,       "Liver Disease",             {4, 0},  AbsoluteContraindication, liverCaveat},
    {"13974"_when,       "Alcohol Use",               {4, 0},  AbsoluteContraindication, nullptr},
    {"11706"_when,       "Sleep Apnea",               {1, 2},  AbsoluteContraindication, nullptr},
    {"11707 or 11706"_when, nullptr,                     {0, 0},  Available,                sleepApneaCaveat},
    {"11709"_when,       "Renal Insufficiency",       {2, 6},  RelativeContraindication, renalCaveat},
    {"11711"_when,       "Congestive Heart Failure",  {2, 6},  RelativeContraindication, heartFailureCaveat},
};

void applyFactor(AppState* state, const MitigatingFactor& rule)
{
    for (int option : rule.options) {
        if (option == 0)
            continue;
        raiseOptionStatus(state, option, rule.status);
        if (rule.name)
            appendText(&state->optionReasons[option - 1], rule.name, noMarker);
    }
    if (rule.caveat)
        appendText(&state->conversionCaveats, rule.caveat, noMarker);
    if (rule.name)
        appendText(&state->mitigatingFactors, rule.name, noMarker);
}

void resetConversionState(AppState* state)
{
    for (int i = 0; i < conversionOptionCount; ++i) {
        releaseTextList(&state->optionReasons[i]);
        state->optionStatus[i] = Available;
        state->productTexts[i] = nullptr;
        state->regimenTexts[i] = nullptr;
    }
    releaseTextList(&state->conversionCaveats);
    releaseTextList(&state->mitigatingFactors);
    state->currentTherapyText[0] = '\0';
    state->secondTherapyText[0] = '\0';
}

// --- one opioid of the therapy -----------------------------------------------------------------

struct OpioidQuestions {
    std::uint16_t oral;          // answered: the opioid is given orally
    std::uint16_t oralDrug, ivDrug;
    std::uint16_t doseMg;
    std::uint16_t givenInMcg;    // answered: the IV dose is given in mcg
    std::uint16_t doseMcg;
};

//                                     oral   PO drug IV drug  mg     in mcg  mcg
const OpioidQuestions currentOpioid = {12162, 12242, 10332, 10340, 10334, 12665};
const OpioidQuestions secondOpioid = {12167, 12339, 11643, 11650, 11645, 12684};

constexpr std::uint16_t secondOpioidGiven = 11498;

// Units beyond this cannot be written with two decimals; no 24-hour dose comes near it.
constexpr float maxUnits = 9999999.0f;

struct OpioidUnits {
    DrugKeys drug;
    float units;
    bool usable;
};

struct ChosenDrug {
    DrugKeys drug;
    const char* name;
};

// The first answer of the drug question with a value above 0 names the drug's element.
ChosenDrug chosenDrug(const QuestionnaireState* questionnaire, std::uint16_t question)
{
    ChosenDrug chosen = {{0, 0}, nullptr};
    const Answer* node = findAnswerByOwner(questionnaire->answers, question, 0);
    while (node && !(node->value > 0.0f))
        node = findAnswerByOwner(node->next, question, 0);
    if (!node || node->elementId > 0xFFFF)
        return chosen;
    std::uint16_t id = std::uint16_t(node->elementId);
    const HierarchyElement* element = findElement(questionnaire->hierarchyRecords, id);
    if (!element)
        return chosen;
    chosen.drug = {elementKey1(element), elementKey2(element)};
    chosen.name = elementText(questionnaire->hierarchyRecords, questionnaire->stringRecords, id);
    return chosen;
}

// The entered dose in the unit of the drug's factor: fentanyl's factors count mcg, all others mg.
float doseInFactorUnit(std::int32_t dose, bool enteredInMcg, DrugKeys drug)
{
    bool factorMcg = factorInMicrograms(drug);
    if (enteredInMcg && !factorMcg)
        return float(dose) / 1000.0f;
    if (!enteredInMcg && factorMcg)
        return float(dose) * 1000.0f;
    return float(dose);
}

// Writes "name dose unit" and, with units, "\n(units equialanalgesic units)" into text. The
// dose and units are never cut: a name too long for the text gives way to them.
OpioidUnits describeOpioid(const QuestionnaireState* questionnaire, const OpioidQuestions& q, char* text)
{
    const Answer* answers = questionnaire->answers;
    bool oral = answerValue(answers, q.oral) != 0;
    std::int8_t route = oral ? routePO : routeIV;
    ChosenDrug chosen = chosenDrug(questionnaire, oral ? q.oralDrug : q.ivDrug);
    bool inMcg = !oral && answerValue(answers, q.givenInMcg) != 0;
    std::int32_t dose = answerValue(answers, inMcg ? q.doseMcg : q.doseMg);
    const char* unit = oral ? " mg PO" : inMcg ? " mcg IV" : " mg IV";

    OpioidUnits result = {chosen.drug, 0.0f, false};
    float factor = conversionFactor(chosen.drug.key1, chosen.drug.key2, route);
    if (factor > 0.0f && dose >= 0) {
        result.units = doseInFactorUnit(dose, inMcg, chosen.drug) / factor;
        result.usable = result.units <= maxUnits;
        if (!result.usable)
            result.units = 0.0f;
    }

    char suffix[80];
    char number[24];
    TextBuilder tail = beginText(suffix, sizeof suffix);
    textAppend(&tail, " ");
    formatInteger(number, dose);
    textAppend(&tail, number);
    textAppend(&tail, unit);
    if (result.units != 0.0f) {
        textAppend(&tail, "\n(");
        formatFixed(number, result.units, 2);
        textAppend(&tail, number);
        textAppend(&tail, " equialanalgesic units)");
    }
    TextBuilder whole = beginText(text, therapyTextSize);
    textAppendPart(&whole, chosen.name, roomLeft(&whole) - tail.length);
    textAppend(&whole, suffix);
    return result;
}

// The halving rule: no reduction only when the patient stays on the PO form of the same opioid.
bool halveTotal(DrugKeys first, DrugKeys second, int option)
{
    if (drugKnown(second) && !sameDrug(first, second))
        return true;
    return !sameDrug(first, optionDrug(option)) || !drugKnown(first);
}

} // namespace

void visitConversionIds(ConversionIdVisitor* visit, void* data)
{
    for (const OpioidQuestions* q : {&currentOpioid, &secondOpioid}) {
        visit(q->oral, ConversionAnswered, data);
        visit(q->givenInMcg, ConversionAnswered, data);
        visit(q->oralDrug, ConversionDrugListPO, data);
        visit(q->ivDrug, ConversionDrugListIV, data);
        visit(q->doseMg, ConversionDose, data);
        visit(q->doseMcg, ConversionDose, data);
    }
    visit(secondOpioidGiven, ConversionAnswered, data);
}

int mitigatingFactorCount() { return int(sizeof factorRows / sizeof factorRows[0]); }
const Condition& mitigatingFactorCondition(int index) { return factorRows[index].answered; }

void raiseOptionStatus(AppState* state, int option, std::int32_t status)
{
    if (option < 1 || option > conversionOptionCount)
        return;
    std::int32_t& current = state->optionStatus[option - 1];
    if (status > current)
        current = status;
}

bool anyOptionStatus(const AppState* state, std::int32_t status)
{
    for (int i = 0; i < conversionOptionCount; ++i)
        if (state->optionStatus[i] == status)
            return true;
    return false;
}

int firstAvailableOption(const AppState* state)
{
    for (int i = 0; i < conversionOptionCount; ++i)
        if (state->optionStatus[i] == Available)
            return i + 1;
    return 0;
}

bool conversionFound(const AppState* state)
{
    for (int i = 0; i < conversionOptionCount; ++i)
        if (!state->productTexts[i] || !state->regimenTexts[i])
            return false;
    return true;
}

ConversionResult convertTherapy(AppState* state, const QuestionnaireState* questionnaire, int option)
{
    resetConversionState(state);
    for (const MitigatingFactor& factor : factorRows)
        if (conditionHolds(factor.answered, questionnaire->answers))
            applyFactor(state, factor);

    OpioidUnits first = describeOpioid(questionnaire, currentOpioid, state->currentTherapyText);
    OpioidUnits second = {{0, 0}, 0.0f, true};
    if (answerValue(questionnaire->answers, secondOpioidGiven) != 0)
        second = describeOpioid(questionnaire, secondOpioid, state->secondTherapyText);

    ConversionResult result = {first.units, second.units, first.usable && second.usable, 0.0f};
    if (!result.usable)
        return result;
    float total = conversionFactor(morphineKeys.key1, morphineKeys.key2, routeIV) * (second.units + first.units);
    if (halveTotal(first.drug, second.drug, option))
        total = float(double(total) * 0.5);
    result.total = total;
    lookupDoseRange(state->conversionRecord, state->doseRangeRecord, morphineKeys, total, state->productTexts,
                    state->regimenTexts, &state->doseRangeIndex);
    return result;
}
