// Opioid dose conversion: the current therapy (one opioid, optionally a second) as a 24-hour
// intravenous morphine-equivalent dose, the statuses of the six oral options from the mitigating
// factors, the caveats, and the regimens the content database gives for that dose.
#pragma once
#include <cstdint>

#include "questionnaire/ruleconditions.h"
#include "shell/state.h"

// Option statuses only ever rise, in this order.
enum OptionStatus : std::int32_t {
    Available = 1,
    RelativeContraindication = 2,
    DoseUnavailable = 3,
    AbsoluteContraindication = 4,
};

struct ConversionResult {
    float units1, units2;   // equianalgesic units of the two opioids (0 when none or no dose)
    bool usable;            // every opioid given has a chosen drug, a factor and a sane dose
    float total;            // morphine-equivalent dose after the halving rule; 0 when not usable
};

// Recomputes the conversion state of state from the answers: statuses, reasons, caveats and
// factor names, the therapy texts, the total and the product and regimen texts for it. option is
// the chosen option 1..6, or -1 for the first run. The display and the selector are not touched.
ConversionResult convertTherapy(AppState* state, const QuestionnaireState* questionnaire, int option);

// How the conversion uses an element id, for checks over the display database (dbtool check).
enum ConversionIdUse : std::uint8_t {
    ConversionAnswered,     // its answer is tested
    ConversionDrugListIV,   // owner of the drug OPTIONs whose keys take the IV factor
    ConversionDrugListPO,   // owner of the drug OPTIONs whose keys take the PO factor
    ConversionDose,         // its value is the dose entered
};
typedef void ConversionIdVisitor(std::uint16_t id, ConversionIdUse use, void* data);
// Calls visit for every element id the conversion tests outside its factor conditions.
void visitConversionIds(ConversionIdVisitor* visit, void* data);
// The conditions of the mitigating factors, in the order they are applied.
int mitigatingFactorCount();
const Condition& mitigatingFactorCondition(int index);

// Sets the option's status to the larger of its status and status.
void raiseOptionStatus(AppState* state, int option, std::int32_t status);
bool anyOptionStatus(const AppState* state, std::int32_t status);
// The lowest option whose status is Available, or 0.
int firstAvailableOption(const AppState* state);
// Whether the lookup gave product and regimen texts.
bool conversionFound(const AppState* state);

// The whole run on the global records: convertTherapy, then section 1 of the report laid out (it
// completes the statuses), the selector refilled with item 0 selected and, on the first run, the
// first available option selected.
void computeDoseConversion(std::int32_t option);
